#include "picker_menu.h"

#include <string.h>

#include "menu_store.h"
#include "picker_dialog.h"
#include "plugin_state.h"

namespace {

MenuSnapshot KeptSnapshot;

// The host calls this when the user chooses "検索して挿入...": the chosen
// entry goes in exactly as if it had been chosen from the menu.
LRESULT WINAPI PickerCallback(ComposeWindowRef window, LPARAM) {
    DWORD data = 0;
    if (RunPicker(window, SnapshotForPicker(), EntryTexts.count, &data))
        EntryCallback(window, static_cast<LPARAM>(data));
    return 0;
}

BOOL InsertFirst(HMENU popup, UINT position, MENUITEMINFOA* item) {
    return InsertMenuItemA(popup, position, TRUE, item);
}

} // namespace

bool StoreUsesPicker(HKEY root) {
    return root && ReadStoreNumber(root, "UsePicker") != 0;
}

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

void KeepSnapshotForPicker(MenuSnapshot* snapshot, bool keep) {
    FreeMenuSnapshot(&KeptSnapshot);
    if (keep) {
        KeptSnapshot = *snapshot;
        memset(snapshot, 0, sizeof *snapshot);
    } else if (snapshot) {
        FreeMenuSnapshot(snapshot);
    }
}

const MenuSnapshot* SnapshotForPicker(void) {
    return &KeptSnapshot;
}
