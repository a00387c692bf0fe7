// Finds the title of an HTML file, to propose it as a submenu's title: the text
// of its TITLE element, in any letter case, possibly spread over lines.
#pragma once
#include <string>

class HtmlTitleScanner {
  public:
    // Takes the file's next line, without its line end; a NUL byte ends the
    // line as the file reader's NUL-terminated copy would. Returns true when
    // the closing tag has been found and no more lines are needed.
    bool AddLine(const std::string& line);

    // The title so far: "" before any "<TITLE>", then everything after it up to
    // "</TITLE>", lines joined with no separator. Not trimmed.
    const std::string& Title() const { return title_; }

  private:
    // Cuts the title at "</TITLE>"; true when it was there.
    bool CutAtClosingTag();

    std::string title_;
    bool collecting_ = false;
};
