// The process the kill tests end: saves the menus of saver_menus.h through
// the settings editor's store, as OK in its sheet does.
// Usage: menu_saver <A|B> <saves> <event>: sets the named event just before
// the first save, then saves that menu and the other one in turn. Exits with
// 0 when every save succeeded.
#include <windows.h>

#include <cstdlib>

#include "saver_menus.h"

int main(int argc, char** argv) {
    if (argc != 4)
        return 2;
    char which = argv[1][0];
    int saves = std::atoi(argv[2]);
    std::vector<CMenuEntry> menus[] = {SaverMenu(which), SaverMenu(which == 'A' ? 'B' : 'A')};
    HANDLE started = OpenEventA(EVENT_MODIFY_STATE, FALSE, argv[3]);
    if (!started)
        return 3;
    SetEvent(started);
    int failed = 0;
    for (int i = 0; i < saves; ++i)
        failed += CMenuStore().Save(menus[i % 2]) ? 0 : 1;
    CloseHandle(started);
    return failed ? 1 : 0;
}
