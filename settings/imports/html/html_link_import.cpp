#include "settings/imports/html/html_link_import.h"

#include "settings/imports/html/decoded_html_file.h"
#include "settings/imports/html/html_links.h"
#include "settings/imports/html/shift_jis_text.h"
#include "settings/menu_page/url_page.h"

HtmlImportResult ImportHtmlLinks(CURLPage& page, const char* path, HTREEITEM parent) {
    DecodedHtmlFile file;
    if (!file.Open(path))
        return HtmlImportResult::kCannotOpen;
    for (const HtmlLink& link : ScanHtmlLinks(file)) {
        if (!page.InsertTextEntry(parent, TVI_LAST, TitleToShiftJis(link.title).c_str(),
                                  AddressToShiftJis(link.address).c_str()))
            return HtmlImportResult::kCannotInsert;
    }
    return HtmlImportResult::kImported;
}
