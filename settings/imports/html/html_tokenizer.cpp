#include "html_tokenizer.h"

#include <cstring>
#include <iterator>

namespace {
const size_t kMaxNameBytes = 32;
const char kReplacementUtf8[] = "\xEF\xBF\xBD";

// Elements whose content is text up to their own end tag.
const char* const kRawTextElements[] = {"script", "style",  "title",   "textarea",
                                        "xmp",    "iframe", "noembed", "noframes"};
const char* const kKeptAttributes[] = {"href", "alt", "charset", "http-equiv", "content"};

bool IsSpace(int byte) {
    return byte == ' ' || byte == '\t' || byte == '\n' || byte == '\r' || byte == '\f';
}

bool IsAsciiLetter(int byte) {
    return (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z');
}

char Lower(int byte) {
    return static_cast<char>(byte >= 'A' && byte <= 'Z' ? byte - 'A' + 'a' : byte);
}

bool IsOneOf(const std::string& name, const char* const* names, size_t count) {
    for (size_t i = 0; i < count; ++i)
        if (name == names[i])
            return true;
    return false;
}

// One attribute as it is read: kept only when wanted and not too long.
struct AttributeReader {
    std::string name;
    std::string value;
    bool wanted = false; // the values of other attributes are not stored
    bool overlong = false;

    void AddValueByte(int byte) {
        if (!wanted || overlong)
            return;
        if (value.size() >= HtmlTokenizer::kMaxValueBytes) {
            overlong = true;
            value.clear();
            value.shrink_to_fit();
            return;
        }
        if (byte == 0)
            value += kReplacementUtf8;
        else
            value.push_back(static_cast<char>(byte));
    }
};
} // namespace

const std::string* HtmlToken::Attribute(const char* wanted) const {
    for (const auto& attribute : attributes)
        if (attribute.first == wanted)
            return &attribute.second;
    return nullptr;
}

int HtmlTokenizer::Get() {
    if (!pushedBack_.empty()) {
        int byte = pushedBack_.back();
        pushedBack_.pop_back();
        return byte;
    }
    return source_.Next();
}

void HtmlTokenizer::Unget(int byte) {
    if (byte != ByteSource::kEnd)
        pushedBack_.push_back(byte);
}

bool HtmlTokenizer::Next(HtmlToken& token) {
    token.kind = HtmlToken::kText;
    token.name.clear();
    token.text.clear();
    token.attributes.clear();
    if (!rawElement_.empty()) {
        if (ReadRawText(token))
            return true;
        token.name.clear();
    }
    for (;;) {
        int byte = Get();
        if (byte == ByteSource::kEnd)
            return !token.text.empty();
        if (byte != '<') {
            if (byte != 0)
                token.text.push_back(static_cast<char>(byte));
            if (token.text.size() >= kTextPieceBytes)
                return true;
            continue;
        }
        int next = Get();
        if (IsAsciiLetter(next) || next == '/') {
            int after = next == '/' ? Get() : next;
            if (next == '/' && !IsAsciiLetter(after)) {
                // "</>" is nothing; "</" and anything else a bogus comment.
                if (after == ByteSource::kEnd) {
                    token.text += "</";
                } else if (after != '>') {
                    Unget(after);
                    SkipToTagEnd();
                }
                continue;
            }
            if (!token.text.empty()) {
                // The text before the tag first; the tag comes next time.
                Unget(after);
                if (next == '/')
                    Unget('/');
                Unget('<');
                return true;
            }
            Unget(after);
            if (ReadTag(token, next == '/'))
                return true;
            token.name.clear();
            token.attributes.clear();
            continue;
        }
        if (next == '!' || next == '?') {
            if (next == '!')
                SkipMarkupDeclaration();
            else
                SkipToTagEnd();
            continue;
        }
        // A "<" that starts nothing is text.
        token.text.push_back('<');
        Unget(next);
    }
}

bool HtmlTokenizer::ReadTag(HtmlToken& token, bool endTag) {
    token.kind = endTag ? HtmlToken::kEndTag : HtmlToken::kStartTag;
    int byte = Get();
    while (byte != ByteSource::kEnd && !IsSpace(byte) && byte != '/' && byte != '>') {
        if (token.name.size() <= kMaxNameBytes && byte != 0)
            token.name.push_back(Lower(byte));
        byte = Get();
    }
    ReadAttributes(token, !endTag, byte);
    if (byte == ByteSource::kEnd)
        return false;
    if (!endTag && IsOneOf(token.name, kRawTextElements, std::size(kRawTextElements)))
        rawElement_ = token.name;
    return true;
}

// Reads from byte (the first after the name) to the ">" that ends the tag,
// which is left in byte; kEnd when the input ends first.
void HtmlTokenizer::ReadAttributes(HtmlToken& token, bool keep, int& byte) {
    for (;;) {
        while (IsSpace(byte) || byte == '/')
            byte = Get();
        if (byte == ByteSource::kEnd || byte == '>')
            return;
        AttributeReader attribute;
        // The name: a leading "=" belongs to it.
        do {
            if (attribute.name.size() <= kMaxNameBytes && byte != 0)
                attribute.name.push_back(Lower(byte));
            byte = Get();
        } while (byte != ByteSource::kEnd && !IsSpace(byte) && byte != '/' && byte != '>' &&
                 byte != '=');
        while (IsSpace(byte))
            byte = Get();
        attribute.wanted = keep &&
                           IsOneOf(attribute.name, kKeptAttributes, std::size(kKeptAttributes)) &&
                           !token.Attribute(attribute.name.c_str());
        if (byte == '=') {
            byte = Get();
            while (IsSpace(byte))
                byte = Get();
            if (byte == '"' || byte == '\'') {
                int quote = byte;
                for (byte = Get(); byte != ByteSource::kEnd && byte != quote; byte = Get())
                    attribute.AddValueByte(byte);
                if (byte == ByteSource::kEnd)
                    return;
                byte = Get();
            } else {
                while (byte != ByteSource::kEnd && !IsSpace(byte) && byte != '>') {
                    attribute.AddValueByte(byte);
                    byte = Get();
                }
            }
        }
        if (attribute.wanted && !attribute.overlong)
            token.attributes.emplace_back(std::move(attribute.name), std::move(attribute.value));
    }
}

void HtmlTokenizer::SkipMarkupDeclaration() {
    int first = Get();
    if (first == '-') {
        int second = Get();
        if (second == '-') {
            SkipComment();
            return;
        }
        Unget(second);
    }
    Unget(first);
    SkipToTagEnd(); // a declaration such as DOCTYPE, or a bogus comment
}

void HtmlTokenizer::SkipComment() {
    // "<!-->" and "<!--->" end where they start.
    int dashes = 0;
    int byte = Get();
    if (byte == '>')
        return;
    if (byte == '-') {
        int next = Get();
        if (next == '>')
            return;
        Unget(next);
        dashes = 1;
    } else {
        Unget(byte);
    }
    // Then up to "-->" or "--!>", or the end of the input.
    while ((byte = Get()) != ByteSource::kEnd) {
        if (byte == '-') {
            ++dashes;
            continue;
        }
        if (byte == '>' && dashes >= 2)
            return;
        if (byte == '!' && dashes >= 2) {
            int next = Get();
            if (next == '>')
                return;
            Unget(next);
        }
        dashes = 0;
    }
}

void HtmlTokenizer::SkipToTagEnd() {
    int byte;
    do
        byte = Get();
    while (byte != ByteSource::kEnd && byte != '>');
}

bool HtmlTokenizer::ReadRawText(HtmlToken& token) {
    token.name = rawElement_;
    for (;;) {
        int byte = Get();
        if (byte == ByteSource::kEnd) {
            rawElement_.clear();
            return !token.text.empty();
        }
        if (byte == '<') {
            int next = Get();
            if (next == '/' && AtRawTextEnd()) {
                Unget('/');
                Unget('<');
                rawElement_.clear();
                return !token.text.empty();
            }
            Unget(next);
        }
        if (byte != 0)
            token.text.push_back(static_cast<char>(byte));
        if (token.text.size() >= kTextPieceBytes)
            return true;
    }
}

bool HtmlTokenizer::AtRawTextEnd() {
    std::vector<int> read;
    bool matches = true;
    for (char wanted : rawElement_) {
        int byte = Get();
        read.push_back(byte);
        if (byte == ByteSource::kEnd || Lower(byte) != wanted) {
            matches = false;
            break;
        }
    }
    if (matches) {
        int after = Get();
        read.push_back(after);
        matches = IsSpace(after) || after == '/' || after == '>';
    }
    for (auto byte = read.rbegin(); byte != read.rend(); ++byte)
        Unget(*byte);
    return matches;
}
