#include "settings_photos.h"

#include <commctrl.h>

#include <cstring>
#include <string>

#include "bookmark_export.h"
#include "menu_printer.h"
#include "plugin_loader.h"
#include "screen_capture.h"
#include "shared_menu_sample.h"

namespace {

const char* const SheetCaption = "Tevrix 設定";
const char* const HtmlDialogCaption = "HTMLファイルの挿入";
const char* const ExportFileName = "bookmarks-ja.html";
const size_t ExportBytes = 200 * 1024;
const UINT StepIntervalMs = 300;
const DWORD SheetDeadlineMs = 30000;
const int SampleEntryIndex = 1; // the second top-level entry: a text with line breaks
const int HtmlImportButton = 1012;
const int HtmlBrowseButton = 1014;
const int HtmlTitleField = 1003;
const int OpenDialogNameFields[] = {1148, 1152}; // Explorer layout, classic layout
const int SharedMenuPageIndex = 3;
const int Photos = 5;

struct SheetSession {
    int step;
    DWORD started;
    int photos;
    std::string exportPath;
    std::string proposedTitle;
} sheet;

std::string WindowText(HWND window) {
    char text[256] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

struct DialogSearch {
    const char* caption; // nullptr: any dialog but the sheet and the HTML dialog
    HWND found;
};

BOOL CALLBACK FindDialog(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<DialogSearch*>(param);
    char className[16] = {};
    GetClassNameA(window, className, sizeof className);
    if (!IsWindowVisible(window) || lstrcmpA(className, "#32770") != 0)
        return TRUE;
    std::string caption = WindowText(window);
    bool matches = search->caption ? caption == search->caption
                                   : caption != SheetCaption && caption != HtmlDialogCaption;
    if (matches) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND FindThreadDialog(const char* caption) {
    DialogSearch search = {caption, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), FindDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void Click(HWND dialog, int id) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

BOOL Photograph(HWND window, const char* name) {
    RECT area;
    GetWindowRect(window, &area);
    return SaveScreenAreaAsPng(area, (std::string(HostFolder()) + name).c_str());
}

HWND PageTree(HWND page) {
    return FindWindowExA(page, nullptr, WC_TREEVIEWA, nullptr);
}

// Selects a text entry of the menu tree so that the picture shows its text.
void SelectSampleEntry(HWND page) {
    HWND tree = PageTree(page);
    if (!tree)
        return;
    HTREEITEM item = TreeView_GetChild(tree, TreeView_GetRoot(tree));
    for (int i = 0; item && i < SampleEntryIndex; ++i)
        item = TreeView_GetNextSibling(tree, item);
    if (item) {
        SetFocus(tree);
        TreeView_SelectItem(tree, item);
    }
}

// Opens the submenu that the import added (the one after the selected
// entry) and selects its first entry whose address has a query, so that the
// picture shows titles and an address as imported.
void ShowImportedSubmenu(HWND page) {
    HWND tree = PageTree(page);
    if (!tree)
        return;
    HTREEITEM submenu = TreeView_GetNextSibling(tree, TreeView_GetSelection(tree));
    if (!submenu)
        return;
    TreeView_Expand(tree, submenu, TVE_EXPAND);
    int links = 0;
    HTREEITEM shown = nullptr;
    for (HTREEITEM item = TreeView_GetChild(tree, submenu); item;
         item = TreeView_GetNextSibling(tree, item)) {
        ++links;
        // The editor, loaded in this process, keeps an entry's text as its data.
        TVITEMA data = {};
        data.mask = TVIF_PARAM;
        data.hItem = item;
        TreeView_GetItem(tree, &data);
        const char* address = reinterpret_cast<const char*>(data.lParam);
        if (!shown && address && std::strchr(address, '&'))
            shown = item;
    }
    TreeView_SelectItem(tree, shown ? shown : submenu);
    TreeView_SelectSetFirstVisible(tree, submenu);
    PrintText("取り込んだリンク: " + std::to_string(links) + " 件 (「" + sheet.proposedTitle +
              "」)\n");
}

void ShowSharedSubmenu(HWND page) {
    HWND tree = PageTree(page);
    if (!tree)
        return;
    HTREEITEM submenu = TreeView_GetChild(tree, TreeView_GetRoot(tree));
    if (!submenu)
        return;
    TreeView_Expand(tree, submenu, TVE_EXPAND);
    if (HTREEITEM first = TreeView_GetChild(tree, submenu)) {
        SetFocus(tree);
        TreeView_SelectItem(tree, first);
    }
}

bool WriteExport(const std::string& path) {
    std::string bytes = JapaneseBookmarkExport(ExportBytes);
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == bytes.size();
}

void CALLBACK SheetStep(HWND, UINT, UINT_PTR, DWORD) {
    HWND window = FindThreadDialog(SheetCaption);
    if (!window) {
        if (GetTickCount() - sheet.started > SheetDeadlineMs)
            sheet.step = -1; // nothing to close: the sheet never came
        return;
    }
    if (GetTickCount() - sheet.started > SheetDeadlineMs) {
        // Whatever is open on top of the sheet goes first.
        if (HWND other = FindThreadDialog(nullptr))
            PostMessageA(other, WM_COMMAND, IDCANCEL, 0);
        else if (HWND html = FindThreadDialog(HtmlDialogCaption))
            PostMessageA(html, WM_COMMAND, IDCANCEL, 0);
        else
            PostMessageA(window, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
        return;
    }
    HWND page = PropSheet_GetCurrentPageHwnd(window);
    switch (sheet.step) {
    case 0:
        SelectSampleEntry(page);
        break;
    case 1:
        sheet.photos += Photograph(window, "settings-menu.png");
        PropSheet_SetCurSel(window, nullptr, 1);
        break;
    case 2:
        sheet.photos += Photograph(window, "settings-etc.png");
        PropSheet_SetCurSel(window, nullptr, 0);
        break;
    case 3: // "HTMLﾌｧｲﾙから挿入" with the entry still selected
        Click(page, HtmlImportButton);
        break;
    case 4: { // browse for the export, as a person would
        HWND html = FindThreadDialog(HtmlDialogCaption);
        if (!html)
            return;
        Click(html, HtmlBrowseButton);
        break;
    }
    case 5: {
        HWND chooser = FindThreadDialog(nullptr);
        if (!chooser)
            return;
        HWND name = nullptr;
        for (int id : OpenDialogNameFields)
            if (!name)
                name = GetDlgItem(chooser, id);
        if (!name)
            return;
        SetWindowTextA(name, sheet.exportPath.c_str());
        Click(chooser, IDOK);
        break;
    }
    case 6: { // the file's own title is proposed; OK imports it
        HWND html = FindThreadDialog(HtmlDialogCaption);
        if (!html || FindThreadDialog(nullptr))
            return;
        sheet.proposedTitle = WindowText(GetDlgItem(html, HtmlTitleField));
        Click(html, IDOK);
        break;
    }
    case 7:
        if (FindThreadDialog(HtmlDialogCaption))
            return;
        ShowImportedSubmenu(page);
        break;
    case 8:
        sheet.photos += Photograph(window, "settings-import.png");
        PropSheet_SetCurSel(window, nullptr, 2);
        break;
    case 9:
        sheet.photos += Photograph(window, "settings-backup.png");
        PropSheet_SetCurSel(window, nullptr, SharedMenuPageIndex);
        break;
    case 10: // the shared menu's first submenu open, its first entry selected
        ShowSharedSubmenu(page);
        break;
    case 11:
        sheet.photos += Photograph(window, "settings-shared.png");
        PropSheet_PressButton(window, PSBTN_CANCEL);
        break;
    default:
        return;
    }
    ++sheet.step;
}

} // namespace

BOOL PhotographSettingsSheet(void) {
    sheet = SheetSession{0, GetTickCount(), 0, std::string(HostFolder()) + ExportFileName, ""};
    if (!WriteExport(sheet.exportPath) || !WriteSharedMenuSample())
        return FALSE;
    UINT_PTR timer = SetTimer(nullptr, 0, StepIntervalMs, SheetStep);
    LRESULT loaded = Plugin.Setup(0);
    KillTimer(nullptr, timer);
    return loaded && sheet.photos == Photos;
}
