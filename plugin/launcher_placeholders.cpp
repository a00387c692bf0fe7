// Placeholders for the settings launcher and the version box until they exist.
#include <windows.h>

extern "C" {
LRESULT WINAPI QPCSetup(LPARAM) {
    return 0;
}
INT_PTR WINAPI QPCVersionInfo(HWND) {
    return 0;
}
}
