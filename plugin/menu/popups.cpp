// Tear-down of the plug-in's popups. Destroying a menu also destroys the
// submenus it holds, but the walk destroys them explicitly, deepest first, so
// that every popup the plug-in created is gone whatever the platform does.
#include "popups.h"

#include "plugin/host/plugin_state.h"

void DestroyMenuTree(HMENU menu) {
    int count = GetMenuItemCount(menu);
    for (int position = 0; position < count; ++position) {
        HMENU submenu = GetSubMenu(menu, position);
        if (submenu)
            DestroyMenuTree(submenu);
    }
    DestroyMenu(menu);
}

namespace {

void DestroyPopup(HMENU* popup) {
    if (!*popup)
        return;
    DestroyMenuTree(*popup);
    *popup = nullptr;
}

} // namespace

void DestroyPopups(void) {
    DestroyPopup(&TextMenu);
    DestroyPopup(&AddressMenu);
}
