// Builds the store's popup. Text entries are numbered depth-first in the
// registry's enumeration order, and the number of each is both the data value
// handed to the host with EntryCallback and its text's index in EntryTexts.
#include "text_menu.h"

#include <stdlib.h>

#include "column_break.h"
#include "menu_store.h"
#include "plugin_state.h"
#include "popups.h"

namespace {

// Longest key name the registry allows, plus its NUL.
const DWORD MaxKeyNameLength = 256;
// Submenus nest no deeper than the registry's own key nesting; the bound keeps
// the recursion finite on any store.
const int MaxSubmenuDepth = 512;
int SubmenuDepth;

struct MenuBuild {
    HMENU menu;
    int runningHeight;
    DWORD* dataCounter;
    bool* stopped;
};

BOOL AppendItem(HMENU menu, MENUITEMINFOA* item) {
    return InsertMenuItemA(menu, GetMenuItemCount(menu), TRUE, item);
}

// One entry key: appends its item to the menu being built.
void AddEntry(MenuBuild* build, HKEY parent, const char* keyName) {
    HKEY entry = nullptr;
    if (RegOpenKeyExA(parent, keyName, 0, KEY_READ, &entry) != ERROR_SUCCESS)
        return; // enumerated but not openable: the entry is left out
    char* title = ReadStoreString(entry, nullptr);
    if (!title) {
        *build->stopped = true;
        RegCloseKey(entry);
        return;
    }
    MENUITEMINFOA item = {};
    item.cbSize = sizeof item;
    item.fMask = MIIM_TYPE;
    item.fType = MFT_STRING;
    item.dwTypeData = title;
    bool startsColumn = AddItemStartsColumn(&build->runningHeight, MenuMetrics.itemHeight,
                                            MenuMetrics.screenHeight);
    bool ready = false;
    if (ReadStoreNumber(entry, "Type") == 1) {
        HMENU submenu = BuildStoreSubmenu(entry, build->dataCounter, build->stopped);
        if (submenu) {
            item.fMask |= MIIM_SUBMENU;
            item.hSubMenu = submenu;
            ready = true;
        }
    } else {
        // The text goes into the list before the host learns the data value, so
        // that a value the host holds always has its text.
        char* text = ReadStoreString(entry, "URL");
        if (text && TextListAppend(&EntryTexts, text)) {
            DWORD data = (*build->dataCounter)++;
            item.fMask |= MIIM_ID;
            item.wID = HostFunctions.RegistCallback(EntryCallback, static_cast<LPARAM>(data));
            ready = true;
        } else {
            *build->stopped = true;
        }
        free(text);
    }
    if (ready) {
        if (startsColumn)
            item.fType |= MFT_MENUBREAK;
        // Menus refuse submenus nested beyond what they can show; such a
        // submenu is not attached anywhere, so it is destroyed here.
        if (!AppendItem(build->menu, &item) && item.hSubMenu)
            DestroyMenuTree(item.hSubMenu);
    }
    free(title);
    RegCloseKey(entry);
}

// Runs the entry step for every child key of menuKey, in enumeration order.
void AddEntries(MenuBuild* build, HKEY menuKey) {
    for (DWORD index = 0; !*build->stopped; ++index) {
        char name[MaxKeyNameLength];
        DWORD nameLength = MaxKeyNameLength;
        LONG result =
            RegEnumKeyExA(menuKey, index, name, &nameLength, nullptr, nullptr, nullptr, nullptr);
        if (result == ERROR_NO_MORE_ITEMS)
            break;
        if (result == ERROR_SUCCESS)
            AddEntry(build, menuKey, name);
        else if (result != ERROR_MORE_DATA)
            break;
    }
}

void AddUnavailableItem(HMENU menu) {
    MENUITEMINFOA item = {};
    item.cbSize = sizeof item;
    item.fMask = MIIM_TYPE | MIIM_STATE;
    item.fType = MFT_STRING;
    item.fState = MFS_GRAYED;
    item.dwTypeData = const_cast<char*>("無し");
    AppendItem(menu, &item);
}

} // namespace

HMENU BuildStoreSubmenu(HKEY entryKey, DWORD* dataCounter, bool* stopped) {
    HMENU submenu = CreatePopupMenu();
    if (!submenu) {
        *stopped = true;
        return nullptr;
    }
    if (SubmenuDepth < MaxSubmenuDepth) {
        ++SubmenuDepth;
        MenuBuild build = {submenu, 0, dataCounter, stopped};
        AddEntries(&build, entryKey);
        --SubmenuDepth;
    }
    return submenu;
}

void BuildTextMenu(void) {
    TextMenu = CreatePopupMenu();
    TextListClear(&EntryTexts);
    if (!TextMenu)
        return;
    HKEY root = OpenStore();
    HKEY menuKey = OpenMenuKey(root);
    if (!menuKey) {
        AddUnavailableItem(TextMenu);
    } else {
        DWORD dataCounter = 0;
        bool stopped = false;
        MenuBuild build = {TextMenu, 0, &dataCounter, &stopped};
        AddEntries(&build, menuKey);
        RegCloseKey(menuKey);
    }
    if (root)
        RegCloseKey(root);
}
