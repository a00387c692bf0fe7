// The process the kill tests end: saves the menus of saver_menus.h through
// the settings editor's store, as OK in its sheet does.
// Usage: menu_saver <A|B> <saves> <event> <counters> <pause ms>: sets the
// named event just before the first save, then saves that menu and the other
// one in turn, pausing after each, and counts the saves begun and returned in
// the named shared memory. Exits with 0 when every save succeeded.
#include <windows.h>

#include <cstdlib>

#include "saver_menus.h"

int main(int argc, char** argv) {
    if (argc != 6)
        return 2;
    char which = argv[1][0];
    int saves = std::atoi(argv[2]);
    DWORD pauseMs = static_cast<DWORD>(std::atoi(argv[5]));
    std::vector<CMenuEntry> menus[] = {SaverMenu(which), SaverMenu(which == 'A' ? 'B' : 'A')};
    HANDLE started = OpenEventA(EVENT_MODIFY_STATE, FALSE, argv[3]);
    HANDLE counter = OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, argv[4]);
    LONG* counts = counter ? static_cast<LONG*>(MapViewOfFile(counter, FILE_MAP_ALL_ACCESS, 0, 0,
                                                              2 * sizeof(LONG)))
                           : nullptr;
    if (!started || !counts)
        return 3;
    SetEvent(started);
    int failed = 0;
    for (int i = 0; i < saves; ++i) {
        InterlockedIncrement(&counts[0]);
        failed += CMenuStore().Save(menus[i % 2]) ? 0 : 1;
        InterlockedIncrement(&counts[1]);
        if (pauseMs)
            Sleep(pauseMs);
    }
    UnmapViewOfFile(counts);
    CloseHandle(counter);
    CloseHandle(started);
    return failed ? 1 : 0;
}
