// The entry points the host calls (QPCSetup and QPCVersionInfo live with the
// settings launcher and the version box).
#include "module_hold.h"
#include "plugin_state.h"
#include "plugin/address_book/address_cache.h"
#include "plugin/menu/column_break.h"
#include "plugin/menu/menu_cache.h"
#include "plugin/menu/text_menu.h"
#include "plugin/picker/picker_menu.h"
#include "plugin/variables/remembered_answers.h"
#include "plugin/reader/reader_thread.h"

namespace {

// Appends one item to the host's menu; the host's menu breaks its columns with
// a dividing line.
void AppendToHostMenu(HMENU hostMenu, UINT flags, bool startsColumn, UINT_PTR idOrPopup,
                      const char* text) {
    if (startsColumn)
        flags |= MF_MENUBARBREAK;
    AppendMenuA(hostMenu, flags, idOrPopup, text);
}

} // namespace

extern "C" {

LPCSTR WINAPI QPCGetPlugName(void) {
    return "Tevrix";
}

LRESULT WINAPI QPCStartUp(LPARAM) {
    ReleaseEndedModalLoops();
    StartReadingStore();
    return 1;
}

LRESULT WINAPI QPCCleanUp(void) {
    ReleaseEndedModalLoops();
    TextListClear(&EntryTexts);
    TextListClear(&AddressTexts);
    ShowSnapshotInPicker(nullptr);
    DestroyPopups();
    // A reader still inside a read past the wait keeps the cache it shares;
    // the next clean-up frees it.
    if (StopReader())
        FreeMenuCache();
    FreeAddressBookCache();
    ForgetAnswers();
    return 0;
}

LRESULT WINAPI QPCViewClose(LPARAM) {
    ReleaseEndedModalLoops();
    DestroyPopups();
    return 0;
}

void WINAPI QPCSendInitMenu(LPARAM, HMENU hostMenu, UINT kind) {
    ReleaseEndedModalLoops();
    if (kind != QPC_MENU_KIND_COMPOSE)
        return;
    MenuMetrics.itemHeight = GetSystemMetrics(SM_CYMENUSIZE);
    MenuMetrics.screenHeight = GetSystemMetrics(SM_CYSCREEN);
    const int itemHeight = MenuMetrics.itemHeight;
    const int screenHeight = MenuMetrics.screenHeight;
    DestroyPopups();

    int hostItems = GetMenuItemCount(hostMenu);
    int runningHeight = (hostItems > 0 ? hostItems : 0) * itemHeight;
    BuildTextMenu();

    bool breaks = AddItemStartsColumn(&runningHeight, itemHeight / 2, screenHeight);
    AppendToHostMenu(hostMenu, MF_SEPARATOR, breaks, 0, nullptr);
    breaks = AddItemStartsColumn(&runningHeight, itemHeight, screenHeight);
    if (TextMenu)
        AppendToHostMenu(hostMenu, MF_POPUP | MF_STRING, breaks,
                         reinterpret_cast<UINT_PTR>(TextMenu), "文字列を挿入");

    // Read with the text popup's snapshot.
    if (StoreUsesAddressBook()) {
        BuildAddressMenu();
        // Checked without adding: the address item is the last one appended.
        bool addressBreaks = screenHeight < runningHeight + itemHeight;
        if (AddressMenu)
            AppendToHostMenu(hostMenu, MF_POPUP | MF_STRING, addressBreaks,
                             reinterpret_cast<UINT_PTR>(AddressMenu), "ｱﾄﾞﾚｽ帳から挿入");
    }
}

} // extern "C"
