// Resource ids of the settings editor.
#pragma once

#define IDS_SHEET_CAPTION 1007

#define IDD_URL_PAGE 1008
#define IDD_ETC_PAGE 1009

// "その他" page
#define IDC_USE_ADDRESS 1007
#define IDC_USE_PICKER 1013
#define IDC_USE_VARIABLES 1100

// "メニュー" page
#define IDC_ENTRY_STRING 1001
#define IDC_ADD_ENTRY 1002
#define IDC_ADD_SUBMENU 1004
#define IDC_DELETE_ITEM 1005
#define IDC_MENU_TREE 1010
#define IDC_INSERT_FAVORITES 1011
#define IDC_INSERT_HTML 1012
#define IDC_INSERT_VARIABLE 1101

// Images of the menu tree's items
#define IDB_FOLDER_OPEN 132
#define IDB_TEXT_ENTRY 134
#define IDB_FOLDER_CLOSED 136
