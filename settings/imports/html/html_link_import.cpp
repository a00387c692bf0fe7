#include "settings/imports/html/html_link_import.h"

#include "framework/stdio_file.h"
#include "settings/imports/html/byte_source.h"
#include "settings/imports/html/html_tags.h"
#include "settings/menu_page/url_page.h"

#include <vector>

namespace {
// The file's bytes as stored, read in large blocks.
class FileByteSource : public ByteSource {
  public:
    explicit FileByteSource(CStdioFile& file) : file_(file), buffer_(kBlockSize) {}

    int Next() override {
        if (next_ == filled_) {
            filled_ = file_.Read(buffer_.data(), static_cast<UINT>(buffer_.size()));
            next_ = 0;
            if (filled_ == 0)
                return kEnd;
        }
        return buffer_[next_++];
    }

  private:
    static const size_t kBlockSize = 64 * 1024;
    CStdioFile& file_;
    std::vector<unsigned char> buffer_;
    size_t filled_ = 0;
    size_t next_ = 0;
};
} // namespace

BOOL ImportHtmlLinks(CURLPage& page, const char* path, HTREEITEM parent) {
    CStdioFile file;
    if (!file.Open(path, CStdioFile::modeRead | CStdioFile::typeBinary))
        return FALSE;
    FileByteSource source(file);
    for (const HtmlLink& link : ScanHtmlLinks(source))
        page.InsertTextEntry(parent, TVI_LAST, link.title.c_str(), link.address.c_str());
    return TRUE;
}
