// Builds menu items from the lines of an address book. Each menu keeps its own
// running height; an item that takes it past the screen height starts a new
// column (without a dividing line) and the height restarts at 0.
#include "address_book_menu.h"

#include "book_lines.h"
#include "column_break.h"
#include "plugin_state.h"

#include <stdlib.h>
#include <string.h>

namespace {

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

// The span's end inside the line, made the end of a string.
char* TerminateSpan(char* line, const BookSpan& span) {
    char* begin = line + (span.begin - line);
    begin[span.length] = '\0';
    return begin;
}

void AddEntry(HMENU menu, char* line, const BookLine& parsed, DWORD& counter, int& runningHeight) {
    char* label = TerminateSpan(line, parsed.label);
    char* text = TerminateSpan(line, parsed.text);
    // The text goes in first so that an entry whose text could not be kept
    // takes no index and the indexes stay those of AddressTexts.
    if (TextListAppend(&AddressTexts, text) == 0)
        return;
    DWORD index = counter++;
    UINT commandId = HostFunctions.RegistCallback(AddressCallback, static_cast<LPARAM>(index));
    bool breakColumn = TakesNewColumn(runningHeight, MenuMetrics.itemHeight);
    AppendEntryItem(menu, label, commandId, breakColumn);
}

// A group beyond the depth limit, or one whose popup cannot be had, drops the
// rest of the file.
void AddGroup(HMENU menu, BookReader* file, char* line, const BookLine& parsed, DWORD& counter,
              int& runningHeight, int depth) {
    HMENU popup = depth < kMaxAddressGroupDepth ? CreatePopupMenu() : nullptr;
    if (!popup) {
        BookReaderStop(file);
        return;
    }
    BuildAddressGroup(popup, file, counter, depth + 1);
    char* label = TerminateSpan(line, parsed.label);
    bool breakColumn = TakesNewColumn(runningHeight, MenuMetrics.itemHeight);
    // A popup that no menu holds would outlive every tear-down.
    if (!AppendGroupItem(menu, label, popup, breakColumn))
        DestroyMenu(popup);
}

// The loop shared by a file's top level and its groups: reads lines into menu
// until the end of the file or an "End group" line.
void ReadBookItems(HMENU menu, BookReader* file, DWORD& counter, int depth) {
    int runningHeight = 0;
    while (char* line = ReadBookLine(file)) {
        BookLine parsed = ParseBookLine(line, strlen(line));
        bool endOfLevel = parsed.kind == BookLineEndGroup;
        if (parsed.kind == BookLineGroup)
            AddGroup(menu, file, line, parsed, counter, runningHeight, depth);
        else if (parsed.kind == BookLineSeparator)
            AppendSeparatorItem(menu, TakesNewColumn(runningHeight, MenuMetrics.itemHeight / 2));
        else if (parsed.kind == BookLineEntry)
            AddEntry(menu, line, parsed, counter, runningHeight);
        free(line);
        if (endOfLevel)
            break;
    }
}

} // namespace

HMENU BuildAddressGroup(HMENU popup, BookReader* file, DWORD& counter, int depth) {
    ReadBookItems(popup, file, counter, depth);
    return popup;
}

void BuildAddressFileMenu(HMENU menu, const char* path, DWORD& counter) {
    HANDLE handle =
        CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return;
    BookReader file;
    BookReaderInit(&file, handle);
    ReadBookItems(menu, &file, counter, 0);
    BookReaderRelease(&file);
    CloseHandle(handle);
}
