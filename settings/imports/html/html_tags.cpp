#include "html_tags.h"

#include "cp932_text.h"

bool ReadTag(ByteSource& source, std::string& tag, std::string& text) {
    tag.clear();
    text.clear();
    bool inside = false;
    for (int byte = source.Next(); byte != ByteSource::kEnd; byte = source.Next()) {
        if (byte == '\n' || byte == '\r')
            continue;
        if (byte == '>')
            return true;
        if (byte == '<') {
            inside = true;
            continue;
        }
        (inside ? tag : text).push_back(static_cast<char>(byte));
    }
    return false;
}

namespace {
// The tag as its NUL-terminated copy reads it, without leading blanks.
std::string TrimmedTag(const std::string& tag) {
    std::string trimmed = UpToNul(tag);
    size_t start = trimmed.find_first_not_of(" \t\v\f");
    return start == std::string::npos ? std::string() : trimmed.substr(start);
}
} // namespace

bool IsLinkTag(const std::string& tag) {
    std::string trimmed = TrimmedTag(tag);
    if (trimmed.empty() || (trimmed[0] != 'A' && trimmed[0] != 'a'))
        return false;
    return FindCp932(trimmed, "://") != std::string::npos;
}

std::string FirstQuotedValue(const std::string& tag) {
    std::string terminated = UpToNul(tag);
    size_t open = FindCp932(terminated, "\"");
    if (open == std::string::npos)
        return std::string();
    size_t close = FindCp932(terminated, "\"", open + 1);
    if (close == std::string::npos)
        return std::string();
    return terminated.substr(open + 1, close - open - 1);
}

std::vector<HtmlLink> ScanHtmlLinks(ByteSource& source) {
    std::vector<HtmlLink> links;
    std::string tag;
    std::string text;
    bool more = ReadTag(source, tag, text);
    while (more) {
        if (IsLinkTag(tag)) {
            HtmlLink link;
            link.address = FirstQuotedValue(TrimmedTag(tag));
            // The title ends at the next tag, which is consumed unexamined;
            // at the end of the input the title is what was read so far.
            std::string closingTag;
            ReadTag(source, closingTag, link.title);
            link.title = UpToNul(link.title);
            links.push_back(link);
        }
        more = ReadTag(source, tag, text);
    }
    return links;
}
