#include "settings/imports/html/html_file_title.h"

#include "settings/imports/html/decoded_html_file.h"
#include "settings/imports/html/html_title.h"
#include "settings/imports/html/shift_jis_text.h"

bool ReadHtmlFileTitle(const char* path, std::string& title) {
    DecodedHtmlFile file;
    if (!file.Open(path))
        return false;
    title = TitleToShiftJis(ReadHtmlTitle(file));
    return true;
}
