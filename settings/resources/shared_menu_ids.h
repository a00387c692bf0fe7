// Resource ids of the page "共有メニュー" and of the backup page's
// "共有メニューとして書き出す".
#pragma once

#define IDD_SHARED_MENU_PAGE 1200

#define IDC_SHARED_SOURCE 1201 // the path or address
#define IDC_SHARED_BROWSE 1202 // "参照..."
#define IDC_SHARED_TITLE 1203  // the popup's title
#define IDC_SHARED_STATE 1204  // what the plug-in last made of it, in words
#define IDC_SHARED_TREE 1205   // the shared menu, read-only
#define IDC_SHARED_COPY 1206   // "自分のメニューにコピー"

#define IDC_EXPORT_SHARED 1210 // on the backup page: "共有メニューとして書き出す"
