// The text of a link or a TITLE element as a menu title, and a link's HREF as
// an address, both still in UTF-8.
#pragma once
#include <cstddef>
#include <string>

#include "character_references.h"

// The longest title kept, in UTF-8 bytes; longer ones are cut between two
// characters.
constexpr size_t kMaxTitleBytes = 1024;

// Collects the text of a link or a title piece by piece, without line breaks
// and with runs of blanks already folded, and stops collecting once it holds
// more than a title can keep.
class TitleText {
  public:
    // Attribute text keeps "&copy=" and the like as written.
    explicit TitleText(ReferenceContext context = ReferenceContext::kText) : context_(context) {}
    void Append(const std::string& text);
    // True once more text could not change the title.
    bool Full() const { return raw_.size() >= kMaxRawBytes; }
    // The title: references decoded, line breaks dropped, runs of blanks
    // (no-break spaces included) folded to one space, blanks at both ends and
    // control characters removed, cut to kMaxTitleBytes.
    std::string Title() const;

  private:
    // Room for the references of a full title, which take more bytes than
    // the characters they stand for.
    static const size_t kMaxRawBytes = 8 * kMaxTitleBytes;
    ReferenceContext context_;
    std::string raw_;
};

// The address an HREF value gives: references decoded, blanks and control
// characters at both ends removed, and tabs and line breaks inside dropped,
// as browsers take it.
std::string LinkAddress(const std::string& href);
