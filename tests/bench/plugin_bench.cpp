// The plug-in is driven through its entry points, as the mail client drives
// it; the floors do the same registry and menu work with plain API loops.
#include "plugin_bench.h"

#include <windows.h>

#include <stdio.h>

#include <string>

#include "bench_store.h"
#include "bench_timing.h"
#include "host/host_stub.h"
#include "plugin/menu/text_list.h"
#include "store_reset.h"
#include "tests/plugin/plugin_harness.h"

namespace {

void SetNumber(HKEY key, const char* name, DWORD value) {
    RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

// The menu floor: the system's cost of appending items one by one to a popup.
void InsertMenuItemsFloor(int entries) {
    HMENU popup = CreatePopupMenu();
    for (int i = 0; i < entries; ++i) {
        std::string title = "エントリ " + std::to_string(i);
        MENUITEMINFOA item = {};
        item.cbSize = sizeof item;
        item.fMask = MIIM_ID | MIIM_TYPE;
        item.fType = MFT_STRING;
        item.wID = 40000 + i;
        item.dwTypeData = &title[0];
        InsertMenuItemA(popup, GetMenuItemCount(popup), TRUE, &item);
    }
    DestroyMenu(popup);
}

// The bare-menu floor of a grouped store: the same popups and titles, made
// with CreatePopupMenu and AppendMenuA alone. The popups are destroyed
// untimed, as the plug-in's are.
HMENU g_floorMenu;

void DropFloorMenu() {
    if (g_floorMenu)
        DestroyMenu(g_floorMenu);
    g_floorMenu = nullptr;
}

void GroupedMenuFloor(int entries) {
    g_floorMenu = CreatePopupMenu();
    for (int g = 0; g * 100 < entries; ++g) {
        HMENU group = CreatePopupMenu();
        for (int i = g * 100; i < entries && i < (g + 1) * 100; ++i)
            AppendMenuA(group, MF_STRING, 40000 + i, ("エントリ " + std::to_string(i)).c_str());
        AppendMenuA(g_floorMenu, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(group),
                    ("グループ " + std::to_string(g)).c_str());
    }
}

// The address popup's floor: one popup of the book's labels.
void AddressMenuFloor(int entries) {
    g_floorMenu = CreatePopupMenu();
    for (int i = 0; i < entries; ++i)
        AppendMenuA(g_floorMenu, MF_STRING, 40000 + i, ("宛先 " + std::to_string(i)).c_str());
}

// Bytes in use on every heap of the process.
SIZE_T HeapBytesInUse() {
    HANDLE heaps[64];
    DWORD count = GetProcessHeaps(64, heaps);
    SIZE_T used = 0;
    for (DWORD h = 0; h < count && h < 64; ++h) {
        PROCESS_HEAP_ENTRY entry = {};
        HeapLock(heaps[h]);
        while (HeapWalk(heaps[h], &entry)) {
            if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY)
                used += entry.cbData;
        }
        HeapUnlock(heaps[h]);
    }
    return used;
}

// The host's menu of one compose window; the plug-in owns what it appends.
HMENU g_hostMenu;

void DropHostMenu() {
    if (!g_hostMenu)
        return;
    while (GetMenuItemCount(g_hostMenu) > 0)
        RemoveMenu(g_hostMenu, 0, MF_BYPOSITION);
    DestroyMenu(g_hostMenu);
    g_hostMenu = nullptr;
}

// Before each timed build: the previous view is closed (its popups go) and
// the host makes a fresh menu.
void PrepareBuild() {
    Plugin().ViewClose(0);
    DropHostMenu();
    host::ForgetRegistrations();
    g_hostMenu = CreatePopupMenu();
    AppendMenuA(g_hostMenu, MF_STRING, 100, "host item");
}

// A first build: the plug-in has let go of everything it kept.
void PrepareFirstBuild() {
    PrepareBuild();
    Plugin().CleanUp();
}

void Build() {
    Plugin().SendInitMenu(0, g_hostMenu, QPC_MENU_KIND_COMPOSE);
}

void FinishBuilds() {
    Plugin().CleanUp();
    DropHostMenu();
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

// A mailbox whose default address book holds entries entries, and a store
// whose own menu is empty with the address-book popup switched on.
std::string PrepareAddressBook(int entries) {
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    std::string mailbox = std::string(temp) + "tevrix-bench-mailbox\\";
    CreateDirectoryA(mailbox.c_str(), nullptr);
    WriteBytes(mailbox + "Mailbox.ini", "[Property]\r\nAddressFile=*\r\n");
    std::string book;
    for (int i = 0; i < entries; ++i)
        book += "宛先 " + std::to_string(i) + ": 宛先 " + std::to_string(i) + " <user" +
                std::to_string(i) + "@example.jp>\r\n";
    WriteBytes(mailbox + "Address", book);
    // Dated a minute ago: a file written in the last seconds is read at every
    // build.
    for (const char* name : {"Mailbox.ini", "Address"}) {
        HANDLE file = CreateFileA((mailbox + name).c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        FILETIME written;
        GetSystemTimeAsFileTime(&written);
        ULARGE_INTEGER time = {{written.dwLowDateTime, written.dwHighDateTime}};
        time.QuadPart -= 600000000ULL;
        written = {time.LowPart, time.HighPart};
        SetFileTime(file, nullptr, nullptr, &written);
        CloseHandle(file);
    }
    host::SetMailbox(mailbox.c_str());
    WriteFlatStore(0);
    HKEY root = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Ostrel\\Tevrix", 0, nullptr, 0, KEY_ALL_ACCESS,
                    nullptr, &root, nullptr);
    SetNumber(root, "UseAddress", 1);
    RegCloseKey(root);
    return mailbox;
}

void AppendTexts(int entries) {
    TextList list = {};
    for (int i = 0; i < entries; ++i)
        TextListAppend(&list, "https://example.jp/page/");
    TextListClear(&list);
}

} // namespace

void BenchPlugin(std::vector<BenchRow>* rows) {
    BenchRow floor = {"Registry floor: enumerate and read N entries", {}, ""};
    BenchRow build = {"QPCSendInitMenu, first build, store of N entries", {}, ""};
    BenchRow ratio = {
        "First build / registry floor (ratio of the runs, not ms)", {}, "at most 1.3"};
    BenchRow menuFloor = {"Menu floor: InsertMenuItemA of N items into one popup", {}, ""};
    BenchRow texts = {"TextList: append N texts", {}, ""};
    BenchRow groupedFloor = {
        "Bare-menu floor: CreatePopupMenu and AppendMenuA, N titles in submenus of 100", {}, ""};
    BenchRow again = {"QPCSendInitMenu again, the same store unchanged", {}, ""};
    BenchRow againRatio = {
        "Repeated build / bare-menu floor (ratio of the runs, not ms)", {}, "at most 1.2"};
    BenchRow kept = {"Heap held after a build and QPCViewClose (KB, not ms)", {}, ""};
    BenchRow addressFloor = {"Bare-menu floor: AppendMenuA of N labels into one popup", {}, ""};
    BenchRow address = {
        "QPCSendInitMenu again, empty store + address book of N entries", {}, "10,000 under 50 ms"};
    BenchRow addressRatio = {
        "Repeated address popup / bare-menu floor (ratio of the runs, not ms)", {}, "at most 1.2"};
    for (int s = 0; s < kSizeCount; ++s) {
        int n = kSizes[s];
        int runs = RunsFor(n);
        WriteFlatStore(n);
        // The floor and the build take turns, so that both see the same load
        // of the machine; the ratio is the median of the runs' own ratios.
        std::vector<double> floorMs, buildMs, ratios;
        for (int run = 0; run < runs; ++run) {
            floorMs.push_back(MedianMs(1, nullptr, ReadStoreFloor));
            buildMs.push_back(MedianMs(1, PrepareFirstBuild, Build));
            ratios.push_back(buildMs.back() / floorMs.back());
        }
        FinishBuilds();
        floor.ms[s] = Median(floorMs);
        build.ms[s] = Median(buildMs);
        ratio.ms[s] = Median(ratios);
        menuFloor.ms[s] = MedianMs(runs, nullptr, [n] { InsertMenuItemsFloor(n); });
        texts.ms[s] = MedianMs(runs, nullptr, [n] { AppendTexts(n); });

        // The repeated build against the same popups made bare.
        WriteGroupedStore(n);
        PrepareFirstBuild();
        Build();
        std::vector<double> bareMs, againMs;
        ratios.clear();
        for (int run = 0; run < runs; ++run) {
            bareMs.push_back(MedianMs(1, DropFloorMenu, [n] { GroupedMenuFloor(n); }));
            againMs.push_back(MedianMs(1, PrepareBuild, Build));
            ratios.push_back(againMs.back() / bareMs.back());
        }
        DropFloorMenu();
        groupedFloor.ms[s] = Median(bareMs);
        again.ms[s] = Median(againMs);
        againRatio.ms[s] = Median(ratios);
        // What the plug-in holds between builds: the kept snapshot and the
        // entry texts.
        PrepareFirstBuild();
        SIZE_T before = HeapBytesInUse();
        Build();
        Plugin().ViewClose(0);
        DropHostMenu();
        host::ForgetRegistrations();
        kept.ms[s] = static_cast<double>(HeapBytesInUse() - before) / 1024.0;
        FinishBuilds();

        std::string mailbox = PrepareAddressBook(n);
        PrepareFirstBuild();
        Build();
        std::vector<double> addressBareMs, addressMs;
        ratios.clear();
        for (int run = 0; run < runs; ++run) {
            addressBareMs.push_back(MedianMs(1, DropFloorMenu, [n] { AddressMenuFloor(n); }));
            addressMs.push_back(MedianMs(1, PrepareBuild, Build));
            ratios.push_back(addressMs.back() / addressBareMs.back());
        }
        DropFloorMenu();
        addressFloor.ms[s] = Median(addressBareMs);
        address.ms[s] = Median(addressMs);
        addressRatio.ms[s] = Median(ratios);
        FinishBuilds();
        DeleteFileA((mailbox + "Mailbox.ini").c_str());
        DeleteFileA((mailbox + "Address").c_str());
        RemoveDirectoryA(mailbox.c_str());
    }
    ResetStore();
    rows->insert(rows->end(), {floor, build, ratio, menuFloor, texts, groupedFloor, again,
                               againRatio, kept, addressFloor, address, addressRatio});
}

namespace {

// After QPCStartUp: the reader has read the store once it lets go of the
// store's lock, which it holds while it walks.
void StartUpAndLetTheReaderFinish() {
    PrepareFirstBuild();
    Plugin().StartUp(0);
    Sleep(50);
    HANDLE lock = CreateMutexA(nullptr, FALSE, "Tevrix.MenuStore.Lock");
    WaitForSingleObject(lock, 60000);
    ReleaseMutex(lock);
    CloseHandle(lock);
    Sleep(20);
}

// A shared source that takes the reader's connection and never answers.
DWORD WINAPI SilentPipe(void* stop) {
    HANDLE pipe = CreateNamedPipeA("\\\\.\\pipe\\tevrix-bench-silent", PIPE_ACCESS_DUPLEX,
                                   PIPE_TYPE_BYTE | PIPE_WAIT, 1, 4096, 4096, 0, nullptr);
    ConnectNamedPipe(pipe, nullptr);
    WaitForSingleObject(stop, 120000);
    DisconnectNamedPipe(pipe);
    CloseHandle(pipe);
    return 0;
}

} // namespace

void BenchReader(std::vector<BenchRow>* rows) {
    BenchRow groupedFloor = {
        "Bare-menu floor: CreatePopupMenu and AppendMenuA, N titles in submenus of 100", {}, ""};
    BenchRow started = {"First build after QPCStartUp, the reader done", {}, ""};
    BenchRow startedRatio = {
        "First build after QPCStartUp / bare-menu floor (ratio of the runs)", {}, "at most 1.2"};
    BenchRow again = {"QPCSendInitMenu again, the same store unchanged", {}, ""};
    BenchRow againRatio = {
        "Repeated build / bare-menu floor (ratio of the runs, not ms)", {}, "at most 1.2"};
    BenchRow silent = {
        "QPCSendInitMenu again while the shared source does not answer", {}, "under 50 ms"};
    for (int s = 0; s < kSizeCount; ++s) {
        int n = kSizes[s];
        int runs = RunsFor(n);
        WriteGroupedStore(n);
        std::vector<double> bareMs, startedMs, startedRatios, againMs, againRatios;
        for (int run = 0; run < runs; ++run) {
            bareMs.push_back(MedianMs(1, DropFloorMenu, [n] { GroupedMenuFloor(n); }));
            startedMs.push_back(MedianMs(1, StartUpAndLetTheReaderFinish, Build));
            startedRatios.push_back(startedMs.back() / bareMs.back());
            againMs.push_back(MedianMs(1, PrepareBuild, Build));
            againRatios.push_back(againMs.back() / bareMs.back());
        }
        DropFloorMenu();
        groupedFloor.ms[s] = Median(bareMs);
        started.ms[s] = Median(startedMs);
        startedRatio.ms[s] = Median(startedRatios);
        again.ms[s] = Median(againMs);
        againRatio.ms[s] = Median(againRatios);

        // The same builds while the reader waits for a source that never
        // answers.
        HANDLE stop = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        HANDLE server = CreateThread(nullptr, 0, SilentPipe, stop, 0, nullptr);
        Sleep(100);
        HKEY root = nullptr;
        RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Ostrel\\Tevrix", 0, nullptr, 0,
                        KEY_ALL_ACCESS, nullptr, &root, nullptr);
        const char source[] = "\\\\.\\pipe\\tevrix-bench-silent";
        RegSetValueExA(root, "SharedMenu", 0, REG_SZ, reinterpret_cast<const BYTE*>(source),
                       sizeof source - 1);
        RegCloseKey(root);
        PrepareBuild();
        Build(); // reads the store; the reader then connects to the pipe
        Sleep(300);
        silent.ms[s] = MedianMs(runs, PrepareBuild, Build);
        SetEvent(stop);
        WaitForSingleObject(server, 30000);
        CloseHandle(server);
        CloseHandle(stop);
        FinishBuilds();
    }
    ResetStore();
    rows->insert(rows->end(), {groupedFloor, started, startedRatio, again, againRatio, silent});
}

void BenchMenuInsertion() {
    // Where the system's menu insertion gets dear: the cost of one append by
    // the number of items the popup already holds.
    const int kBand = 1000;
    const int kBands = 10;
    std::vector<double> perItem[kBands];
    for (int run = 0; run < 3; ++run) {
        HMENU popup = CreatePopupMenu();
        for (int band = 0; band < kBands; ++band) {
            double start = NowMs();
            for (int i = 0; i < kBand; ++i) {
                std::string title = "エントリ " + std::to_string(band * kBand + i);
                MENUITEMINFOA item = {};
                item.cbSize = sizeof item;
                item.fMask = MIIM_ID | MIIM_TYPE;
                item.fType = MFT_STRING;
                item.wID = 40000 + i;
                item.dwTypeData = &title[0];
                InsertMenuItemA(popup, GetMenuItemCount(popup), TRUE, &item);
            }
            perItem[band].push_back(1000.0 * (NowMs() - start) / kBand);
        }
        DestroyMenu(popup);
    }
    printf("\n| Items already in the popup | InsertMenuItemA, median us per item |\n|---|---:|\n");
    for (int band = 0; band < kBands; ++band)
        printf("| %d to %d | %.1f |\n", band * kBand, (band + 1) * kBand - 1,
               Median(perItem[band]));
    fflush(stdout);
}
