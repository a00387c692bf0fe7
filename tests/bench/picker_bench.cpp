// The picker is opened through the host's command, as the user opens it from
// the compose window, and typed into key by key; every step is sent, so each
// timing holds the whole work of the window up to its repaint.
#include "picker_bench.h"

#include <windows.h>

#include <commctrl.h>

#include "bench_store.h"
#include "bench_timing.h"
#include "host/host_stub.h"
#include "plugin/picker/picker_match.h"
#include "store_reset.h"
#include "tests/plugin/plugin_harness.h"

namespace {

const int kQueryId = 1010;
const int kListId = 1011;
const int kKeystrokes = 10;

struct PickerTiming {
    double started;
    double openMs;
    std::vector<double> keystrokeMs;
    std::vector<double> repaintMs;
} g_timing;

BOOL CALLBACK FindPicker(HWND window, LPARAM param) {
    if (IsWindowVisible(window) && GetDlgItem(window, kListId)) {
        *reinterpret_cast<HWND*>(param) = window;
        return FALSE;
    }
    return TRUE;
}

// The first timer tick comes once the picker is up and painted: a timer
// message is made only when nothing else waits.
void CALLBACK MeasureOpenPicker(HWND, UINT, UINT_PTR, DWORD) {
    HWND picker = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindPicker, reinterpret_cast<LPARAM>(&picker));
    if (!picker || g_timing.openMs >= 0)
        return;
    g_timing.openMs = NowMs() - g_timing.started;
    HWND query = GetDlgItem(picker, kQueryId);
    HWND list = GetDlgItem(picker, kListId);
    // "z" matches no entry, so every entry is searched through; backspace
    // lists them all again.
    for (int i = 0; i < kKeystrokes; ++i) {
        double start = NowMs();
        SendMessageA(query, WM_CHAR, i % 2 == 0 ? 'z' : VK_BACK, 1);
        UpdateWindow(list);
        g_timing.keystrokeMs.push_back(NowMs() - start);
    }
    // The floor under a keystroke: the list's own repaint, with nothing changed.
    for (int i = 0; i < kKeystrokes; ++i) {
        double start = NowMs();
        InvalidateRect(list, nullptr, TRUE);
        UpdateWindow(list);
        g_timing.repaintMs.push_back(NowMs() - start);
    }
    PostMessageA(picker, WM_COMMAND, IDCANCEL, 0);
}

void RunPickerOnce(UINT pickerId, ComposeEditor& editor) {
    g_timing.openMs = -1;
    UINT_PTR timer = SetTimer(nullptr, 0, 1, MeasureOpenPicker);
    g_timing.started = NowMs();
    editor.Choose(pickerId);
    KillTimer(nullptr, timer);
}

// The matching alone, over a snapshot like the store's: folding every entry
// once, and one query that matches none, so that every entry is searched.
void BenchMatching(int n, double* foldMs, double* filterMs) {
    std::vector<std::string> titles, texts;
    for (int i = 0; i < n; ++i) {
        titles.push_back("エントリ " + std::to_string(i));
        texts.push_back("https://example.jp/page/" + std::to_string(i));
    }
    std::vector<SnapshotEntry> entries;
    for (int i = 0; i < n; ++i)
        entries.push_back({&titles[i][0], &texts[i][0], 0});
    MenuSnapshot snapshot = {entries.data(), static_cast<DWORD>(n), static_cast<DWORD>(n), false};
    PickerIndex index = {};
    *foldMs = MedianMs(
        RunsFor(n), [&] { FreePickerIndex(&index); },
        [&] { BuildPickerIndex(&snapshot, static_cast<DWORD>(n), &index); });
    std::vector<DWORD> order(index.count + 1);
    *filterMs = MedianMs(RunsFor(n), nullptr,
                         [&] { FilterPickerEntries(&index, L"ページ zz", order.data()); });
    FreePickerIndex(&index);
}

} // namespace

void BenchPicker(std::vector<BenchRow>* rows) {
    BenchRow open = {"Picker: open over N entries (shown and painted)", {}, "10,000 under 150 ms"};
    BenchRow keystroke = {"Picker: one keystroke's filtering over N entries, list repainted",
                          {},
                          "10,000 under 30 ms"};
    BenchRow repaint = {"Picker floor: repainting its list of N entries, nothing changed", {}, ""};
    BenchRow fold = {"Picker matching: fold N entries as the picker opens", {}, ""};
    BenchRow filter = {"Picker matching: one query over N entries, alone", {}, ""};
    ComposeEditor editor;
    for (int s = 0; s < kSizeCount; ++s) {
        int n = kSizes[s];
        BenchMatching(n, &fold.ms[s], &filter.ms[s]);
        WriteFlatStore(n);
        HKEY root = nullptr;
        RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Ostrel\\Tevrix", 0, nullptr, 0,
                        KEY_ALL_ACCESS, nullptr, &root, nullptr);
        DWORD on = 1;
        RegSetValueExA(root, "UsePicker", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&on),
                       sizeof on);
        RegCloseKey(root);
        host::ForgetRegistrations();
        HMENU menu = BuildComposeMenu(1);
        UINT pickerId = ReadMenu(TextPopup(menu))[0].id;
        std::vector<double> opens;
        g_timing.keystrokeMs.clear();
        g_timing.repaintMs.clear();
        for (int run = 0; run < RunsFor(n); ++run) {
            RunPickerOnce(pickerId, editor);
            if (g_timing.openMs >= 0)
                opens.push_back(g_timing.openMs);
        }
        open.ms[s] = opens.empty() ? -1 : Median(opens);
        keystroke.ms[s] = g_timing.keystrokeMs.empty() ? -1 : Median(g_timing.keystrokeMs);
        repaint.ms[s] = g_timing.repaintMs.empty() ? -1 : Median(g_timing.repaintMs);
        Plugin().CleanUp();
        DestroyMenu(menu);
    }
    ResetStore();
    rows->insert(rows->end(), {open, keystroke, repaint, fold, filter});
}
