// Reads HTML as a browser's tokenizer does, as far as the imports need it:
// text, start tags and end tags with their attributes, while comments,
// declarations and processing instructions are skipped. Quoted attribute
// values may hold ">"; the content of SCRIPT, STYLE and the like is not
// read as markup.
#pragma once
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "byte_source.h"

struct HtmlToken {
    enum Kind { kText, kStartTag, kEndTag };
    Kind kind = kText;
    // Tags: the name in lower case. Text: the element whose raw content it
    // is ("script", "title"), or "" for ordinary text.
    std::string name;
    // Text: its bytes; NUL bytes are left out. Ordinary text may come in
    // several pieces between two tags.
    std::string text;
    // Start tags: the attributes the imports read (href, alt, charset,
    // http-equiv, content), names in lower case, the first of each name
    // only, values as written (references not decoded).
    std::vector<std::pair<std::string, std::string>> attributes;

    // The value of the attribute, or nullptr when the tag has none.
    const std::string* Attribute(const char* name) const;
};

class HtmlTokenizer {
  public:
    explicit HtmlTokenizer(ByteSource& source) : source_(source) {}

    // The next token; false at the end of the input. A tag cut off by the
    // end of the input is no token.
    bool Next(HtmlToken& token);

    // Values longer than this are dropped with their attribute, so that a
    // tag of megabytes costs no memory.
    static const size_t kMaxValueBytes = 2 * 1024 * 1024;
    // Text is handed out in pieces of about this size.
    static const size_t kTextPieceBytes = 4096;

  private:
    int Get();
    void Unget(int byte);
    // After "<" and a letter (pushed back): the tag. False when the input
    // ends inside it.
    bool ReadTag(HtmlToken& token, bool endTag);
    void ReadAttributes(HtmlToken& token, bool keep, int& byte);
    // After "<!" or "<?": skips the comment or declaration.
    void SkipMarkupDeclaration();
    void SkipComment();
    void SkipToTagEnd();
    bool ReadRawText(HtmlToken& token);
    // True when the bytes after "</" end the raw element; they are pushed
    // back either way.
    bool AtRawTextEnd();

    ByteSource& source_;
    std::vector<int> pushedBack_;
    std::string rawElement_; // inside its content when not empty
};
