#include "store_reset.h"

// A running plug-in makes the empty menu key of a store it finds without one;
// made between the deletion's listing and its last step, the key makes that
// step fail. The deletion is then done again.
void ResetStore() {
    for (int attempt = 0; attempt < 20; ++attempt) {
        LONG result = RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Ostrel");
        if (result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND)
            return;
        Sleep(10);
    }
}
