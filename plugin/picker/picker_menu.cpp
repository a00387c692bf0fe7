#include "picker_menu.h"

#include "picker_dialog.h"
#include "plugin/host/module_hold.h"
#include "plugin/host/plugin_state.h"
#include "plugin/variables/variable_insertion.h"

namespace {

const MenuSnapshot* ShownSnapshot = nullptr;

// The host calls this when the user chooses "検索して挿入...": the chosen
// entry goes in exactly as if it had been chosen from the menu. The picker
// lists a copy of the menu: while it is open, the host's other windows stay
// usable, and a menu built for one of them may read the store afresh and
// replace the cache's snapshot and the entry texts.
LRESULT WINAPI PickerCallback(ComposeWindowRef window, LPARAM) {
    MenuSnapshot shown = {};
    if (!ShownSnapshot || !CopyMenuSnapshot(ShownSnapshot, &shown))
        return 0;
    DWORD data = 0;
    HoldPluginForModalLoop();
    bool chosen = RunPicker(window, &shown, EntryTexts.count, &data);
    EndModalLoop();
    if (chosen)
        InsertMenuText(window, SnapshotTextAt(&shown, data));
    FreeMenuSnapshot(&shown);
    return 0;
}

BOOL InsertFirst(HMENU popup, UINT position, MENUITEMINFOA* item) {
    return InsertMenuItemA(popup, position, TRUE, item);
}

} // namespace

int PickerItemsHeight(void) {
    return MenuMetrics.itemHeight + MenuMetrics.itemHeight / 2;
}

void AddPickerItems(HMENU popup) {
    MENUITEMINFOA item = {};
    item.cbSize = sizeof item;
    item.fMask = MIIM_TYPE | MIIM_ID;
    item.fType = MFT_STRING;
    item.dwTypeData = const_cast<char*>("検索して挿入...");
    item.wID = HostFunctions.RegistCallback(PickerCallback, 0);
    if (!InsertFirst(popup, 0, &item))
        return;
    MENUITEMINFOA separator = {};
    separator.cbSize = sizeof separator;
    separator.fMask = MIIM_TYPE;
    separator.fType = MFT_SEPARATOR;
    InsertFirst(popup, 1, &separator);
}

void ShowSnapshotInPicker(const MenuSnapshot* snapshot) {
    ShownSnapshot = snapshot;
}
