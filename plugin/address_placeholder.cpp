// Placeholder for the address-book popup until it exists: an empty popup and
// no texts.
#include "plugin_state.h"

void BuildAddressMenu(void) {
    AddressMenu = CreateMenu();
    TextListClear(&AddressTexts);
}
