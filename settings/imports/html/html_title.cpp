#include "html_title.h"

#include "cp932_text.h"

bool HtmlTitleScanner::AddLine(const std::string& rawLine) {
    std::string line = UpToNul(rawLine);
    size_t open = FindCp932(UpperCp932(line), "<TITLE>");
    if (open != std::string::npos) {
        title_ = line.substr(open + 7);
        if (CutAtClosingTag())
            return true;
        collecting_ = true;
        return false;
    }
    if (!collecting_)
        return false;
    title_ += line;
    return CutAtClosingTag();
}

bool HtmlTitleScanner::CutAtClosingTag() {
    size_t close = FindCp932(UpperCp932(title_), "</TITLE>");
    if (close == std::string::npos)
        return false;
    title_.resize(close);
    return true;
}
