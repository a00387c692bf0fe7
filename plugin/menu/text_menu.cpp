// Builds the store's popup. Text entries are numbered depth first in the
// store's order, and the number of each is both the data value handed to the
// host with EntryCallback and its text's index in EntryTexts.
#include "text_menu.h"

#include "column_break.h"
#include "menu_cache.h"
#include "popups.h"
#include "plugin/host/plugin_state.h"
#include "plugin/picker/picker_menu.h"

namespace {

// Menus refuse a submenu that would nest more than about 30 levels below the
// menu holding it, and the host's own levels count too: a popup nested that
// deep would make the host refuse "文字列を挿入" or drop a whole branch. The
// popup and its submenus take at most this many levels; a submenu at the
// last level shows the entries of everything below it in one list.
const int kMaxMenuLevels = 20;

struct MenuBuild {
    HMENU menu;
    int runningHeight;
    DWORD* dataCounter;
    bool* stopped;
    DWORD separatorAt; // the snapshot index a separator goes before (the shared menu's)
};

const DWORD kNoSeparator = 0xFFFFFFFF;

BOOL AppendItem(HMENU menu, MENUITEMINFOA* item) {
    return InsertMenuItemA(menu, GetMenuItemCount(menu), TRUE, item);
}

// Appends one item at the end of the menu being built, starting a new column
// (without a dividing line) where the menu would outgrow the screen.
BOOL AppendBuiltItem(MenuBuild* build, MENUITEMINFOA* item) {
    if (AddItemStartsColumn(&build->runningHeight, MenuMetrics.itemHeight,
                            MenuMetrics.screenHeight))
        item->fType |= MFT_MENUBREAK;
    return AppendItem(build->menu, item);
}

void AddTextEntry(MenuBuild* build, const SnapshotEntry* entry) {
    // The text goes into the list before the host learns the data value, so
    // that a value the host holds always has its text. It is the snapshot's
    // own string, lent: the snapshot is replaced only at the next build,
    // which refills the list, or at QPCCleanUp, which empties it first.
    if (!TextListLend(&EntryTexts, entry->text)) {
        *build->stopped = true;
        return;
    }
    DWORD data = (*build->dataCounter)++;
    MENUITEMINFOA item = {};
    item.cbSize = sizeof item;
    item.fMask = MIIM_TYPE | MIIM_ID;
    item.fType = MFT_STRING;
    item.dwTypeData = entry->title;
    item.wID = HostFunctions.RegistCallback(EntryCallback, static_cast<LPARAM>(data));
    AppendBuiltItem(build, &item);
}

// A submenu shown inside the list of its parent: its title, grayed.
void AddHeading(MenuBuild* build, const SnapshotEntry* entry) {
    MENUITEMINFOA item = {};
    item.cbSize = sizeof item;
    item.fMask = MIIM_TYPE | MIIM_STATE;
    item.fType = MFT_STRING;
    item.fState = MFS_GRAYED;
    item.dwTypeData = entry->title;
    AppendBuiltItem(build, &item);
}

void AddLevel(MenuBuild* build, const MenuSnapshot* snapshot, DWORD* next, DWORD depth, int level);

// The line between the user's own entries and the team's shared menu.
void AddSeparator(MenuBuild* build) {
    MENUITEMINFOA item = {};
    item.cbSize = sizeof item;
    item.fMask = MIIM_TYPE;
    item.fType = MFT_SEPARATOR;
    build->runningHeight += MenuMetrics.itemHeight / 2;
    AppendItem(build->menu, &item);
}

void AddSubmenu(MenuBuild* build, const SnapshotEntry* entry, const MenuSnapshot* snapshot,
                DWORD* next, int level) {
    HMENU submenu = CreatePopupMenu();
    if (!submenu) {
        *build->stopped = true;
        return;
    }
    MenuBuild inner = {submenu, 0, build->dataCounter, build->stopped, kNoSeparator};
    AddLevel(&inner, snapshot, next, entry->depth + 1, level + 1);
    MENUITEMINFOA item = {};
    item.cbSize = sizeof item;
    item.fMask = MIIM_TYPE | MIIM_SUBMENU;
    item.fType = MFT_STRING;
    item.dwTypeData = entry->title;
    item.hSubMenu = submenu;
    // A submenu the menu refused is attached nowhere, so it is destroyed here.
    if (!AppendBuiltItem(build, &item))
        DestroyMenuTree(submenu);
}

// The entries below a submenu at the last level, in one list: text entries as
// they are, submenus as grayed headings before their own entries.
void AddFlattened(MenuBuild* build, const MenuSnapshot* snapshot, DWORD* next, DWORD depth) {
    while (!*build->stopped && *next < snapshot->count && snapshot->entries[*next].depth > depth) {
        const SnapshotEntry* entry = &snapshot->entries[(*next)++];
        if (entry->text)
            AddTextEntry(build, entry);
        else
            AddHeading(build, entry);
    }
}

// Appends the entries of one store level (those of the given depth from
// entries[*next] on) to the menu being built at the given menu level; the
// popup itself is level 1.
void AddLevel(MenuBuild* build, const MenuSnapshot* snapshot, DWORD* next, DWORD depth, int level) {
    while (!*build->stopped && *next < snapshot->count && snapshot->entries[*next].depth == depth) {
        if (*next == build->separatorAt)
            AddSeparator(build);
        const SnapshotEntry* entry = &snapshot->entries[(*next)++];
        if (entry->text) {
            AddTextEntry(build, entry);
        } else if (level < kMaxMenuLevels) {
            AddSubmenu(build, entry, snapshot, next, level);
        } else {
            AddHeading(build, entry);
            AddFlattened(build, snapshot, next, depth);
        }
    }
}

// The entries start below firstHeight pixels of items put in before them.
void AddSnapshot(const MenuSnapshot* snapshot, int firstHeight) {
    DWORD dataCounter = 0;
    bool stopped = false;
    MenuBuild build = {TextMenu, firstHeight, &dataCounter, &stopped, SharedMenuStart()};
    DWORD next = 0;
    AddLevel(&build, snapshot, &next, 0, 1);
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

void BuildTextMenu(void) {
    // Read first: the address popup's switch comes with the same read.
    const MenuSnapshot* snapshot = CurrentMenuSnapshot();
    TextMenu = CreatePopupMenu();
    TextListClear(&EntryTexts);
    if (!TextMenu)
        return;
    bool picker = snapshot && StoreUsesPicker();
    if (snapshot)
        AddSnapshot(snapshot, picker ? PickerItemsHeight() : 0);
    else
        AddUnavailableItem(TextMenu);
    if (picker)
        AddPickerItems(TextMenu);
    ShowSnapshotInPicker(picker ? snapshot : nullptr);
}
