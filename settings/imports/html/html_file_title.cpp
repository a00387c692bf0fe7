#include "settings/imports/html/html_file_title.h"

#include "framework/stdio_file.h"
#include "settings/imports/html/html_title.h"

bool ReadHtmlFileTitle(const char* path, std::string& title) {
    CStdioFile file;
    if (!file.Open(path, CStdioFile::modeRead | CStdioFile::typeText))
        return false;
    HtmlTitleScanner scanner;
    std::string line;
    while (file.ReadString(line))
        if (scanner.AddLine(line))
            break;
    title = scanner.Title();
    return true;
}
