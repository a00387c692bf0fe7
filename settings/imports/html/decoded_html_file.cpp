#include "settings/imports/html/decoded_html_file.h"

#include <algorithm>

namespace {
const size_t kBlockBytes = 64 * 1024;
const WCHAR kReplacementCharacter = 0xFFFD;

bool IsUtf16(HtmlEncoding encoding) {
    return encoding == HtmlEncoding::kUtf16Le || encoding == HtmlEncoding::kUtf16Be;
}

// The encoding of a file that declares none, from all of its bytes: a page
// whose start is ASCII or a lone ambiguous word can show what it is far
// below. The file is read once more on its own handle, block by block.
Charset GuessFromWholeFile(const char* path, const std::vector<unsigned char>& start,
                           bool startIsWholeFile) {
    JapaneseEvidence evidence;
    CStdioFile file;
    if (startIsWholeFile || !file.Open(path, CStdioFile::modeRead | CStdioFile::typeBinary)) {
        evidence.Add(start.data(), start.size());
        return UndeclaredCharset(evidence, !startIsWholeFile);
    }
    std::vector<unsigned char> block(kBlockBytes);
    while (UINT read = file.Read(block.data(), static_cast<UINT>(block.size())))
        evidence.Add(block.data(), read);
    return UndeclaredCharset(evidence, false);
}
} // namespace

BOOL DecodedHtmlFile::Open(const char* path) {
    if (!file_.Open(path, CStdioFile::modeRead | CStdioFile::typeBinary))
        return FALSE;
    raw_.resize(kEncodingPrescanBytes);
    size_t filled = 0;
    while (filled < raw_.size()) {
        UINT read = file_.Read(raw_.data() + filled, static_cast<UINT>(raw_.size() - filled));
        if (read == 0)
            break;
        filled += read;
    }
    raw_.resize(filled);
    fileEnded_ = filled < kEncodingPrescanBytes;
    DetectedEncoding detected = DetectHtmlEncoding(raw_.data(), raw_.size());
    encoding_ = detected.encoding;
    codePage_ = detected.codePage;
    // A declared encoding that this system has no code page for is taken as
    // no declaration; one that the bytes point to and the system lacks, as
    // Shift-JIS.
    bool declaredButMissing = !IsUtf16(encoding_) && !::IsValidCodePage(codePage_);
    if (detected.fromBytes || declaredButMissing) {
        Charset guessed = GuessFromWholeFile(path, raw_, fileEnded_);
        if (!::IsValidCodePage(guessed.codePage))
            guessed = Charset{};
        encoding_ = guessed.encoding;
        codePage_ = guessed.codePage;
    }
    raw_.erase(raw_.begin(), raw_.begin() + detected.byteOrderMarkLength);
    return TRUE;
}

int DecodedHtmlFile::Next() {
    while (next_ == utf8_.size()) {
        if (!Refill())
            return kEnd;
    }
    return static_cast<unsigned char>(utf8_[next_++]);
}

bool DecodedHtmlFile::Refill() {
    utf8_.clear();
    next_ = 0;
    if (!fileEnded_ && raw_.size() < kBlockBytes) {
        size_t kept = raw_.size();
        raw_.resize(kept + kBlockBytes);
        UINT read = file_.Read(raw_.data() + kept, static_cast<UINT>(kBlockBytes));
        raw_.resize(kept + read);
        fileEnded_ = read == 0;
    }
    if (raw_.empty())
        return false;
    // A character cut by the block's end waits for the rest of its bytes,
    // unless the file has no more.
    size_t complete =
        fileEnded_ ? raw_.size() : CompleteCharactersLength(encoding_, raw_.data(), raw_.size());
    AppendUtf8(raw_.data(), complete);
    raw_.erase(raw_.begin(), raw_.begin() + complete);
    return true;
}

void DecodedHtmlFile::AppendWide(const unsigned char* bytes, size_t size) {
    size_t start = wide_.size();
    if (IsUtf16(encoding_)) {
        bool little = encoding_ == HtmlEncoding::kUtf16Le;
        for (size_t i = 0; i + 1 < size; i += 2)
            wide_.push_back(little ? static_cast<WCHAR>(bytes[i] | (bytes[i + 1] << 8))
                                   : static_cast<WCHAR>((bytes[i] << 8) | bytes[i + 1]));
        if (size % 2)
            wide_.push_back(kReplacementCharacter); // an odd byte at the file's end
        return;
    }
    if (size == 0)
        return;
    int length = ::MultiByteToWideChar(codePage_, 0, reinterpret_cast<const char*>(bytes),
                                       static_cast<int>(size), nullptr, 0);
    wide_.resize(start + length);
    ::MultiByteToWideChar(codePage_, 0, reinterpret_cast<const char*>(bytes),
                          static_cast<int>(size), wide_.data() + start, length);
}

void DecodedHtmlFile::AppendUtf8(const unsigned char* bytes, size_t size) {
    wide_.clear();
    if (encoding_ != HtmlEncoding::kUtf8 && encoding_ != HtmlEncoding::kSingleByte &&
        !IsUtf16(encoding_)) {
        // Bytes that form no character each stand as U+FFFD, so that the
        // system's table cannot join them with the byte after them; the runs
        // between them are converted as they are.
        size_t start = 0;
        for (size_t position = 0; position < size;) {
            CharacterSpan span = CharacterAt(encoding_, bytes + position, size - position);
            size_t length = std::min(span.length, size - position);
            if (!span.convertible || length < span.length) {
                AppendWide(bytes + start, position - start);
                wide_.push_back(kReplacementCharacter);
                start = position + length;
            }
            position += length;
        }
        AppendWide(bytes + start, size - start);
    } else {
        AppendWide(bytes, size);
    }
    if (wide_.empty())
        return;
    int length = ::WideCharToMultiByte(CP_UTF8, 0, wide_.data(), static_cast<int>(wide_.size()),
                                       nullptr, 0, nullptr, nullptr);
    size_t start = utf8_.size();
    utf8_.resize(start + length);
    ::WideCharToMultiByte(CP_UTF8, 0, wide_.data(), static_cast<int>(wide_.size()), &utf8_[start],
                          length, nullptr, nullptr);
}
