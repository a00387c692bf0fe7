// An HTML file read as UTF-8, whatever encoding it is written in: the
// encoding is found from its first bytes, and the file is converted block by
// block as it is read, so a file of any size needs little memory.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "framework/stdio_file.h"
#include "settings/imports/html/byte_source.h"
#include "settings/imports/html/html_encoding.h"

class DecodedHtmlFile : public ByteSource {
  public:
    // False when the file cannot be opened for reading.
    BOOL Open(const char* path);
    int Next() override;
    HtmlEncoding Encoding() const { return encoding_; }
    // The Windows code page that converts the file.
    UINT CodePage() const { return codePage_; }

  private:
    // Reads and converts the next block; false at the end of the file.
    bool Refill();
    // Converts complete characters of the file's encoding to UTF-8.
    void AppendUtf8(const unsigned char* bytes, size_t size);
    void AppendWide(const unsigned char* bytes, size_t size);

    CStdioFile file_;
    HtmlEncoding encoding_ = HtmlEncoding::kShiftJis;
    UINT codePage_ = kShiftJisCodePage;
    std::vector<unsigned char> raw_; // read, not yet converted
    std::vector<WCHAR> wide_;        // reused for each conversion
    std::string utf8_;               // converted, not yet handed out
    size_t next_ = 0;
    bool fileEnded_ = false;
};
