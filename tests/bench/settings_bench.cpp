// Every figure runs inside one open sheet per size, on the page's own
// operations: the load and save of the tree, and the imports into a fresh
// submenu that is removed again between runs.
#include "settings_bench.h"

#include <windows.h>

#include <string>

#include "bench_store.h"
#include "bench_timing.h"
#include "host/demo/bookmark_export.h"
#include "settings/backup/backup_file.h"
#include "settings/backup/menu_backup.h"
#include "settings/imports/favorites/favorites_scan.h"
#include "settings/imports/html/decoded_html_file.h"
#include "settings/imports/html/html_link_import.h"
#include "settings/imports/html/html_links.h"
#include "settings/imports/html/shift_jis_text.h"
#include "store_reset.h"
#include "tests/hostile/page_session.h"

#include <cstdio>

namespace {

const DWORD kSheetDeadlineMs = 600000;

std::string BenchFolder() {
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    return std::string(temp) + "tevrix-bench-files";
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

// An HTML bookmark file of entries links, one per list item.
std::string WriteHtmlFile(const std::string& folder, int entries) {
    std::string html = "<html><head><title>ブックマーク</title></head><body><dl>\r\n";
    for (int i = 0; i < entries; ++i)
        html += "<dt><a href=\"https://example.jp/page/" + std::to_string(i) + "\">リンク " +
                std::to_string(i) + "</a>\r\n";
    html += "</dl></body></html>\r\n";
    std::string path = folder + "\\links.html";
    WriteBytes(path, html);
    return path;
}

// A Favorites folder of entries shortcut files.
std::string WriteFavoritesFolder(const std::string& folder, int entries) {
    std::string favorites = folder + "\\favorites";
    CreateDirectoryA(favorites.c_str(), nullptr);
    for (int i = 0; i < entries; ++i)
        WriteBytes(favorites + "\\リンク " + std::to_string(i) + ".url",
                   "[InternetShortcut]\r\nURL=https://example.jp/page/" + std::to_string(i) +
                       "\r\n");
    return favorites;
}

std::string ReadBytes(const std::string& path) {
    std::string bytes;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD size = GetFileSize(file, nullptr);
    bytes.resize(size);
    DWORD read = 0;
    ReadFile(file, &bytes[0], size, &read, nullptr);
    CloseHandle(file);
    return bytes;
}

void RemoveFolder(const std::string& folder) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveFolder(folder + "\\" + name);
            else
                DeleteFileA((folder + "\\" + name).c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
}

// The save as it was before saves became all or nothing: delete "URL" with
// everything beneath it, then write the tree key by key in its place.
void SaveEntriesInPlace(OpenUrlPage& page, const CStoreKey& key, HTREEITEM first) {
    int number = 0;
    for (HTREEITEM item = first; item; item = page.Tree().GetNextSiblingItem(item)) {
        char name[32];
        std::snprintf(name, sizeof name, "URL%d", number++);
        CStoreKey entry = key.CreateSubKey(name);
        entry.WriteString(nullptr, page.Tree().GetItemText(item).c_str());
        if (const char* text = page.ItemString(item)) {
            entry.WriteString("URL", text);
            entry.WriteDword("Type", 0);
        } else {
            entry.WriteDword("Type", 1);
            SaveEntriesInPlace(page, entry, page.Tree().GetChildItem(item));
        }
    }
}

void SaveInPlace(OpenUrlPage& page) {
    CStoreRootKey root("Ostrel", "Tevrix");
    root.DeleteTree("URL");
    CStoreKey menu = root.CreateSubKey("URL");
    SaveEntriesInPlace(page, menu, page.Tree().GetChildItem(page.TopItem()));
}

// Two steps timed in turns, so that both see the same load of the machine:
// the medians of each and the median of the runs' own ratios.
void TakeTurns(int runs, const std::function<void()>& prepare, const std::function<void()>& first,
               const std::function<void()>& second, double* firstMs, double* secondMs,
               double* ratio) {
    std::vector<double> firsts, seconds, ratios;
    for (int run = 0; run < runs; ++run) {
        firsts.push_back(MedianMs(1, prepare, first));
        seconds.push_back(MedianMs(1, prepare, second));
        ratios.push_back(seconds.back() / firsts.back());
    }
    *firstMs = Median(firsts);
    *secondMs = Median(seconds);
    *ratio = Median(ratios);
}

// Times one import into a fresh submenu under the top item, removed after.
double MedianImportMs(OpenUrlPage& page, int runs,
                      const std::function<void(HTREEITEM submenu)>& import) {
    HTREEITEM submenu = nullptr;
    return MedianMs(
        runs,
        [&] {
            if (submenu)
                page.Tree().DeleteItem(submenu);
            submenu = page.InsertSubmenu(page.TopItem(), TVI_LAST, "import");
        },
        [&] { import(submenu); });
}

// Reads a file's links as the import does (decoding, parsing, conversion to
// Shift-JIS), without the tree.
size_t ReadLinksOnly(const std::string& path) {
    DecodedHtmlFile file;
    if (!file.Open(path.c_str()))
        return 0;
    size_t bytes = 0;
    for (const HtmlLink& link : ScanHtmlLinks(file))
        bytes += TitleToShiftJis(link.title).size() + AddressToShiftJis(link.address).size();
    return bytes;
}

} // namespace

void BenchSettings(std::vector<BenchRow>* rows) {
    BenchRow floor = {"Registry floor, in turns with LoadTree", {}, ""};
    BenchRow load = {"Menu page: LoadTree of N entries", {}, ""};
    BenchRow loadRatio = {"LoadTree / registry floor (ratio of the runs)", {}, "at most 1.2"};
    BenchRow oldSave = {"Save as before: delete URL, write N entries in place", {}, ""};
    BenchRow save = {"Menu page: SaveTree of N entries (all or nothing)", {}, ""};
    BenchRow saveRatio = {"SaveTree / save as before (ratio of the runs)", {}, "at most 1.5"};
    BenchRow html = {"HTML import of N links (ImportHtmlLinks)", {}, ""};
    BenchRow favorites = {"Favorites import of N files (ScanFavoritesFolder)", {}, ""};
    BenchRow parse = {"HTML links parsed from memory alone (ScanHtmlLinks)", {}, ""};
    BenchRow treeFloor = {"Tree floor: TVM_INSERTITEM of N items under one submenu", {}, ""};
    BenchRow exportImport = {
        "HTML import of a Japanese UTF-8 export of N KB (ImportHtmlLinks)", {}, ""};
    BenchRow exportRead = {"Same export: links read and converted, without the tree", {}, ""};
    BenchRow backupExport = {
        "Backup export of N entries: tree to file (ExportMenu)", {}, "under 1 s at 10,000"};
    BenchRow backupImport = {
        "Backup import of N entries: file to tree (LoadBackup)", {}, "under 1 s at 10,000"};
    std::string folder = BenchFolder();
    for (int s = 0; s < kSizeCount; ++s) {
        int n = kSizes[s];
        int runs = RunsFor(n);
        RemoveFolder(folder);
        CreateDirectoryA(folder.c_str(), nullptr);
        std::string htmlPath = WriteHtmlFile(folder, n);
        std::string favoritesFolder = WriteFavoritesFolder(folder, n);
        // The real-looking export of n KB: 10 MB at 10,000.
        std::string exportPath = folder + "\\export.html";
        WriteBytes(exportPath, JapaneseBookmarkExport(static_cast<size_t>(n) * 1024));
        WriteFlatStore(n);
        WithUrlPage(
            [&](OpenUrlPage& page) {
                TakeTurns(
                    runs, [&] { page.ClearTree(); }, ReadStoreFloor, [&] { page.LoadTree(); },
                    &floor.ms[s], &load.ms[s], &loadRatio.ms[s]);
                TakeTurns(
                    runs, nullptr, [&] { SaveInPlace(page); }, [&] { page.SaveTree(); },
                    &oldSave.ms[s], &save.ms[s], &saveRatio.ms[s]);
                html.ms[s] = MedianImportMs(page, runs, [&](HTREEITEM submenu) {
                    ImportHtmlLinks(page, htmlPath.c_str(), submenu);
                });
                favorites.ms[s] = MedianImportMs(page, runs, [&](HTREEITEM submenu) {
                    ScanFavoritesFolder(page, favoritesFolder, submenu);
                });
                exportImport.ms[s] = MedianImportMs(page, runs, [&](HTREEITEM submenu) {
                    ImportHtmlLinks(page, exportPath.c_str(), submenu);
                });
                treeFloor.ms[s] = MedianImportMs(page, runs, [&](HTREEITEM submenu) {
                    for (int i = 0; i < n; ++i)
                        page.Tree().InsertItem("リンク", 0, 0, submenu, TVI_LAST);
                });
                // The whole menu as the store holds it (the imports above
                // left their last submenu), to a file and back into a fresh
                // submenu.
                page.Reload();
                std::string backupPath = folder + "\\menu.json";
                backupExport.ms[s] = MedianMs(runs, nullptr, [&] {
                    std::string file;
                    int unconvertible = 0;
                    ExportMenu(page, file, unconvertible);
                    WriteFileReplacing(backupPath.c_str(), file);
                });
                HTREEITEM imported = nullptr;
                backupImport.ms[s] = MedianMs(
                    runs,
                    [&] {
                        if (imported)
                            page.Tree().DeleteItem(imported);
                        imported = nullptr;
                    },
                    [&] {
                        LoadedBackup backup;
                        LoadBackup(backupPath.c_str(), backup);
                        imported = AddMenuAsSubmenu(page, backup, "import", nullptr);
                    });
                if (imported)
                    page.Tree().DeleteItem(imported);
            },
            kSheetDeadlineMs);
        std::string bytes = ReadBytes(htmlPath);
        parse.ms[s] = MedianMs(runs, nullptr, [&] {
            MemoryByteSource source(bytes.data(), bytes.size());
            ScanHtmlLinks(source);
        });
        exportRead.ms[s] = MedianMs(runs, nullptr, [&] { ReadLinksOnly(exportPath); });
    }
    RemoveFolder(folder);
    ResetStore();
    rows->insert(rows->end(),
                 {floor, load, loadRatio, oldSave, save, saveRatio, html, parse, exportImport,
                  exportRead, treeFloor, favorites, backupExport, backupImport});
}
