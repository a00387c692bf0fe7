#include "resource_text.h"

void SetItemTextFromResource(HWND dialog, int controlId, HINSTANCE module, UINT stringId) {
    HWND control = GetDlgItem(dialog, controlId);
    if (!control)
        return;
    char text[RESOURCE_TEXT_BUFFER];
    text[0] = '\0';
    LoadStringA(module, stringId, text, sizeof text);
    SetWindowTextA(control, text);
}
