// "共有メニューとして書き出す": the user's whole menu, as the page "メニュー"
// holds it, written over the team's shared file so that no reader ever sees
// half of it, and never over another maintainer's write without asking.
#pragma once
#include "settings/menu_page/url_page.h"
#include "settings/shared_menu/shared_file_stamp.h"

#include <string>

// source: the shared menu's path as the page "共有メニュー" holds it. Tells
// the user in boxes owned by owner whatever stops the write.
void ExportSharedMenu(CURLPage& menuPage, const std::string& source, SharedFileStamp& stamp,
                      HWND owner);
