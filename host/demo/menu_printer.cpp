#include "menu_printer.h"

#include <vector>

std::string ToUtf8(const std::string& cp932) {
    if (cp932.empty())
        return "";
    int wide =
        MultiByteToWideChar(932, 0, cp932.data(), static_cast<int>(cp932.size()), nullptr, 0);
    std::vector<wchar_t> unicode(wide);
    MultiByteToWideChar(932, 0, cp932.data(), static_cast<int>(cp932.size()), unicode.data(), wide);
    int bytes = WideCharToMultiByte(CP_UTF8, 0, unicode.data(), wide, nullptr, 0, nullptr, nullptr);
    std::string utf8(bytes, '\0');
    WideCharToMultiByte(CP_UTF8, 0, unicode.data(), wide, &utf8[0], bytes, nullptr, nullptr);
    return utf8;
}

void PrintUtf8(const std::string& utf8) {
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), utf8.data(), static_cast<DWORD>(utf8.size()),
              &written, nullptr);
}

void PrintText(const std::string& cp932) {
    PrintUtf8(ToUtf8(cp932));
}

void PrintMenuTree(HMENU menu, int first, int depth) {
    int count = GetMenuItemCount(menu);
    std::string indent(depth * 2, ' ');
    for (int position = first; position < count; ++position) {
        char text[512] = {};
        MENUITEMINFOA item = {};
        item.cbSize = sizeof item;
        item.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
        item.dwTypeData = text;
        item.cch = sizeof text;
        GetMenuItemInfoA(menu, position, TRUE, &item);
        // Built in Shift-JIS like the menu texts, converted once when printed.
        std::string line = indent;
        if (item.fType & MFT_MENUBARBREAK)
            line += "【新しい列・区切り線あり】";
        else if (item.fType & MFT_MENUBREAK)
            line += "【新しい列】";
        if (item.fType & MFT_SEPARATOR)
            line += "────────";
        else
            line += std::string("「") + text + "」";
        if (item.hSubMenu)
            line += " >";
        else if (!(item.fType & MFT_SEPARATOR) && item.wID)
            line += " [コマンド " + std::to_string(item.wID) + "]";
        if ((item.fState & MFS_GRAYED) && !(item.fType & MFT_SEPARATOR))
            line += " (灰色)";
        PrintText(line + "\n");
        if (item.hSubMenu)
            PrintMenuTree(item.hSubMenu, 0, depth + 1);
    }
}
