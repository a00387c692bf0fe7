// Insertion of a chosen entry's text into the compose window's editor.
#include "plugin/host/plugin_state.h"
#include "plugin/variables/variable_insertion.h"

void InsertIntoEditor(ComposeWindowRef window, const char* text) {
    HWND editor = HostFunctions.SendGetEditor ? HostFunctions.SendGetEditor(window) : nullptr;
    if (editor && text)
        SendMessageA(editor, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text));
    DestroyPopups();
}

namespace {

// The host passes back only values it was given, but a value beyond the list
// (or a negative one) finds no text and inserts nothing.
const char* TextAt(const TextList* list, LPARAM data) {
    if (data < 0)
        return nullptr;
    return TextListAt(list, static_cast<DWORD>(data));
}

} // namespace

LRESULT WINAPI EntryCallback(ComposeWindowRef window, LPARAM data) {
    InsertMenuText(window, TextAt(&EntryTexts, data));
    return 0;
}

LRESULT WINAPI AddressCallback(ComposeWindowRef window, LPARAM data) {
    InsertIntoEditor(window, TextAt(&AddressTexts, data));
    return 0;
}
