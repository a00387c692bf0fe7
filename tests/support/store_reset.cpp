#include "store_reset.h"

void ResetStore() { RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Ostrel"); }
