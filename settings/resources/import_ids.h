// Resource ids of the two import dialogs of the menu page.
#pragma once

#define IDD_FAVORITES_TITLE 103
#define IDD_HTML_INSERT 104

#define IDC_IMPORT_TITLE 1003    // the title field of both dialogs
#define IDC_HTML_FILE 1006       // the HTML file's path
#define IDC_OVERWRITE 1013       // "この名前で上書きする"
#define IDC_BROWSE_HTML_FILE 1014 // "参照"
