// Builds menu items from the lines of an address book. Each menu keeps its own
// running height; an item that takes it past the screen height starts a new
// column (without a dividing line) and the height restarts at 0.
#include "address_book_menu.h"

#include "plugin/host/plugin_state.h"
#include "plugin/menu/column_break.h"
#include "plugin/menu/popups.h"

namespace {

// The book's items in order; stopped drops the rest of the book.
struct BookCursor {
    const ParsedBook* book;
    DWORD next;
    bool stopped;
};

const BookItem* NextItem(BookCursor* cursor) {
    if (cursor->stopped || cursor->next >= cursor->book->count)
        return nullptr;
    return &cursor->book->items[cursor->next++];
}

bool AppendItem(HMENU menu, MENUITEMINFOA* item) {
    item->cbSize = sizeof *item;
    return InsertMenuItemA(menu, static_cast<UINT>(GetMenuItemCount(menu)), TRUE, item) != FALSE;
}

void AppendEntryItem(HMENU menu, char* label, UINT commandId, bool breakColumn) {
    MENUITEMINFOA item = {};
    item.fMask = MIIM_ID | MIIM_TYPE;
    item.fType = breakColumn ? MFT_MENUBREAK : MFT_STRING;
    item.wID = commandId;
    item.dwTypeData = label;
    AppendItem(menu, &item);
}

bool AppendGroupItem(HMENU menu, char* label, HMENU submenu, bool breakColumn) {
    MENUITEMINFOA item = {};
    item.fMask = MIIM_SUBMENU | MIIM_TYPE;
    item.fType = breakColumn ? MFT_MENUBREAK : MFT_STRING;
    item.hSubMenu = submenu;
    item.dwTypeData = label;
    return AppendItem(menu, &item);
}

void AppendSeparatorItem(HMENU menu, bool breakColumn) {
    MENUITEMINFOA item = {};
    item.fMask = MIIM_TYPE;
    item.fType = MFT_SEPARATOR | (breakColumn ? MFT_MENUBREAK : 0);
    AppendItem(menu, &item);
}

// Adds height to the menu's running height; true when the item starts a new
// column.
bool TakesNewColumn(int& runningHeight, int height) {
    return AddItemStartsColumn(&runningHeight, height, MenuMetrics.screenHeight);
}

void AddEntry(HMENU menu, const BookItem* entry, DWORD& counter, int& runningHeight) {
    // The text goes in first so that an entry whose text could not be kept
    // takes no index and the indexes stay those of AddressTexts.
    if (TextListAppend(&AddressTexts, entry->text) == 0)
        return;
    DWORD index = counter++;
    UINT commandId = HostFunctions.RegistCallback(AddressCallback, static_cast<LPARAM>(index));
    bool breakColumn = TakesNewColumn(runningHeight, MenuMetrics.itemHeight);
    AppendEntryItem(menu, entry->label, commandId, breakColumn);
}

void ReadBookItems(HMENU menu, BookCursor* cursor, DWORD& counter, int depth);

// A group beyond the depth limit, or one whose popup cannot be had, drops the
// rest of the book.
void AddGroup(HMENU menu, BookCursor* cursor, const BookItem* group, DWORD& counter,
              int& runningHeight, int depth) {
    HMENU popup = depth < kMaxAddressGroupDepth ? CreatePopupMenu() : nullptr;
    if (!popup) {
        cursor->stopped = true;
        return;
    }
    ReadBookItems(popup, cursor, counter, depth + 1);
    bool breakColumn = TakesNewColumn(runningHeight, MenuMetrics.itemHeight);
    // A popup that no menu holds would outlive every tear-down.
    if (!AppendGroupItem(menu, group->label, popup, breakColumn))
        DestroyMenuTree(popup);
}

// The loop shared by a book's top level and its groups: adds items to menu
// until the end of the book or an "End group" line.
void ReadBookItems(HMENU menu, BookCursor* cursor, DWORD& counter, int depth) {
    int runningHeight = 0;
    while (const BookItem* item = NextItem(cursor)) {
        if (item->kind == BookLineEndGroup)
            break;
        if (item->kind == BookLineGroup)
            AddGroup(menu, cursor, item, counter, runningHeight, depth);
        else if (item->kind == BookLineSeparator)
            AppendSeparatorItem(menu, TakesNewColumn(runningHeight, MenuMetrics.itemHeight / 2));
        else if (item->kind == BookLineEntry)
            AddEntry(menu, item, counter, runningHeight);
    }
}

} // namespace

void BuildAddressFileMenu(HMENU menu, const ParsedBook* book, DWORD& counter) {
    BookCursor cursor = {book, 0, false};
    ReadBookItems(menu, &cursor, counter, 0);
}
