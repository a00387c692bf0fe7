#include "picker_dialog.h"

#include <commctrl.h>
#include <stdlib.h>

#include "picker_match.h"
#include "picker_placement.h"
#include "plugin/host/plugin_state.h"
#include "plugin/resources/resource.h"

namespace {

const int kQueryCapacity = 1024;
// A row's submenu column names at most this many levels, the outermost first.
const int kShownLevels = 64;
const char kLevelSeparator[] = " > ";

struct PickerState {
    PickerIndex index;
    DWORD* order; // positions in index.entries of the rows shown
    DWORD shown;
    HWND owner;
    HWND query;
    HWND list;
    WNDPROC editProc;
    DWORD chosen;
};

PickerState* StateOf(HWND dialog) {
    return reinterpret_cast<PickerState*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

const SnapshotEntry* RowEntry(const PickerState* state, int row) {
    const PickerIndex* index = &state->index;
    return &index->snapshot->entries[index->entries[state->order[row]]];
}

int SelectedRow(const PickerState* state) {
    return static_cast<int>(
        SendMessageA(state->list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void ClearRowState(HWND list, UINT which) {
    LVITEMA item = {};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    int row = static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), which));
    if (row >= 0)
        SendMessageA(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
}

void SelectRow(PickerState* state, int row) {
    // Row by row: the list changes the state of every row one at a time, with
    // two notifications each, when told to clear them all at once.
    ClearRowState(state->list, LVNI_SELECTED);
    ClearRowState(state->list, LVNI_FOCUSED);
    LVITEMA item = {};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    if (row < 0 || static_cast<DWORD>(row) >= state->shown)
        return;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(state->list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
    SendMessageA(state->list, LVM_ENSUREVISIBLE, row, FALSE);
}

void Refilter(PickerState* state) {
    WCHAR query[kQueryCapacity];
    GetWindowTextW(state->query, query, kQueryCapacity);
    state->shown = FilterPickerEntries(&state->index, query, state->order);
    SendMessageA(state->list, LVM_SETITEMCOUNT, state->shown, 0);
    SelectRow(state, 0);
    InvalidateRect(state->list, nullptr, TRUE);
}

// Up and Down (and the page keys) move the list's selection while the
// typing goes on in the edit box.
void MoveSelection(PickerState* state, UINT key) {
    if (state->shown == 0)
        return;
    int page = static_cast<int>(SendMessageA(state->list, LVM_GETCOUNTPERPAGE, 0, 0));
    if (page < 1)
        page = 1;
    int row = SelectedRow(state);
    int last = static_cast<int>(state->shown) - 1;
    switch (key) {
    case VK_UP:
        row = row > 0 ? row - 1 : 0;
        break;
    case VK_DOWN:
        row = row < last ? row + 1 : last;
        break;
    case VK_PRIOR:
        row = row > page ? row - page : 0;
        break;
    default: // VK_NEXT
        row = row + page < last ? row + page : last;
        break;
    }
    SelectRow(state, row);
}

LRESULT CALLBACK QueryProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
    PickerState* state = StateOf(GetParent(edit));
    if (message == WM_KEYDOWN &&
        (wParam == VK_UP || wParam == VK_DOWN || wParam == VK_PRIOR || wParam == VK_NEXT)) {
        MoveSelection(state, static_cast<UINT>(wParam));
        return 0;
    }
    return CallWindowProcA(state->editProc, edit, message, wParam, lParam);
}

void Choose(HWND dialog, PickerState* state) {
    int row = SelectedRow(state);
    if (row < 0 || static_cast<DWORD>(row) >= state->shown) {
        MessageBeep(MB_OK);
        return;
    }
    state->chosen = state->order[row];
    EndDialog(dialog, IDOK);
}

// The names of the submenus holding the row's entry, outermost first.
void WriteSubmenus(const PickerState* state, int row, char* out, int capacity) {
    const PickerIndex* index = &state->index;
    DWORD levels[kShownLevels];
    int count = 0;
    for (DWORD at = index->parents[index->entries[state->order[row]]];
         at != kPickerTopLevel && count < kShownLevels; at = index->parents[at])
        levels[count++] = at;
    int used = 0;
    out[0] = 0;
    for (int level = count - 1; level >= 0 && used < capacity - 1; --level) {
        if (level != count - 1) {
            lstrcpynA(out + used, kLevelSeparator, capacity - used);
            used += lstrlenA(out + used);
        }
        lstrcpynA(out + used, index->snapshot->entries[levels[level]].title, capacity - used);
        used += lstrlenA(out + used);
    }
}

void FillRowText(const PickerState* state, int row, int column, char* out, int capacity) {
    if (capacity < 1)
        return;
    if (row < 0 || static_cast<DWORD>(row) >= state->shown) {
        out[0] = 0;
    } else if (column == 0) {
        lstrcpynA(out, RowEntry(state, row)->title, capacity);
    } else {
        WriteSubmenus(state, row, out, capacity);
    }
}

void AnswerDisplayInfo(const PickerState* state, NMHDR* header) {
    if (header->code == LVN_GETDISPINFOA) {
        LVITEMA* item = &reinterpret_cast<NMLVDISPINFOA*>(header)->item;
        if (item->mask & LVIF_TEXT)
            FillRowText(state, item->iItem, item->iSubItem, item->pszText, item->cchTextMax);
        return;
    }
    LVITEMW* item = &reinterpret_cast<NMLVDISPINFOW*>(header)->item;
    if (!(item->mask & LVIF_TEXT) || item->cchTextMax < 1)
        return;
    char text[1024];
    FillRowText(state, item->iItem, item->iSubItem, text, sizeof text);
    if (!MultiByteToWideChar(932, 0, text, -1, item->pszText, item->cchTextMax))
        item->pszText[0] = 0;
}

// The selected row is drawn in the selection's colours even while the focus
// is in the edit box, where the list would show it faint.
LRESULT DrawRow(const PickerState* state, NMLVCUSTOMDRAW* draw) {
    if (draw->nmcd.dwDrawStage == CDDS_PREPAINT)
        return CDRF_NOTIFYITEMDRAW;
    if (draw->nmcd.dwDrawStage != CDDS_ITEMPREPAINT)
        return CDRF_DODEFAULT;
    int row = static_cast<int>(draw->nmcd.dwItemSpec);
    if (SendMessageA(state->list, LVM_GETITEMSTATE, row, LVIS_SELECTED) & LVIS_SELECTED) {
        draw->clrText = GetSysColor(COLOR_HIGHLIGHTTEXT);
        draw->clrTextBk = GetSysColor(COLOR_HIGHLIGHT);
        draw->nmcd.uItemState &= ~CDIS_SELECTED;
    }
    return CDRF_DODEFAULT;
}

void AddColumn(HWND list, int position, const char* title, int width) {
    LVCOLUMNA column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = const_cast<char*>(title);
    column.cx = width;
    SendMessageA(list, LVM_INSERTCOLUMNA, position, reinterpret_cast<LPARAM>(&column));
}

void InitPicker(HWND dialog, PickerState* state) {
    SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(state));
    state->query = GetDlgItem(dialog, IDC_PICKER_QUERY);
    state->list = GetDlgItem(dialog, IDC_PICKER_LIST);
    SendMessageA(state->list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT,
                 LVS_EX_FULLROWSELECT);
    RECT client;
    GetClientRect(state->list, &client);
    int width = client.right - client.left - GetSystemMetrics(SM_CXVSCROLL);
    AddColumn(state->list, 0, "タイトル", width * 3 / 5);
    AddColumn(state->list, 1, "サブメニュー", width - width * 3 / 5);
    state->editProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(state->query, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(QueryProc)));
    Refilter(state);
    PlacePickerOverOwner(dialog, state->owner);
    SetFocus(state->query);
}

INT_PTR CALLBACK PickerProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    PickerState* state = StateOf(dialog);
    switch (message) {
    case WM_INITDIALOG:
        InitPicker(dialog, reinterpret_cast<PickerState*>(lParam));
        return FALSE; // the focus is set
    case WM_COMMAND:
        if (!state)
            return FALSE;
        if (LOWORD(wParam) == IDC_PICKER_QUERY && HIWORD(wParam) == EN_CHANGE)
            Refilter(state);
        else if (LOWORD(wParam) == IDOK)
            Choose(dialog, state);
        else if (LOWORD(wParam) == IDCANCEL)
            EndDialog(dialog, IDCANCEL);
        return TRUE;
    case WM_NOTIFY: {
        NMHDR* header = reinterpret_cast<NMHDR*>(lParam);
        if (!state || header->idFrom != IDC_PICKER_LIST)
            return FALSE;
        if (header->code == LVN_GETDISPINFOA || header->code == LVN_GETDISPINFOW)
            AnswerDisplayInfo(state, header);
        else if (header->code == NM_DBLCLK)
            Choose(dialog, state);
        else if (header->code == NM_CUSTOMDRAW)
            SetWindowLongPtrA(dialog, DWLP_MSGRESULT,
                              DrawRow(state, reinterpret_cast<NMLVCUSTOMDRAW*>(header)));
        return TRUE;
    }
    case WM_DESTROY:
        if (state && state->editProc)
            SetWindowLongPtrA(state->query, GWLP_WNDPROC,
                              reinterpret_cast<LONG_PTR>(state->editProc));
        return FALSE;
    }
    return FALSE;
}

HWND ComposeWindowOf(ComposeWindowRef window) {
    HWND editor = HostFunctions.SendGetEditor ? HostFunctions.SendGetEditor(window) : nullptr;
    return editor ? GetAncestor(editor, GA_ROOT) : GetActiveWindow();
}

} // namespace

bool RunPicker(ComposeWindowRef window, const MenuSnapshot* snapshot, DWORD textCount,
               DWORD* data) {
    INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&classes);
    PickerState state = {};
    state.owner = ComposeWindowOf(window);
    if (!BuildPickerIndex(snapshot, textCount, &state.index))
        return false;
    state.order = static_cast<DWORD*>(malloc((state.index.count + 1) * sizeof(DWORD)));
    INT_PTR result = -1;
    if (state.order)
        result = DialogBoxParamA(PluginInstance, MAKEINTRESOURCEA(IDD_PICKER), state.owner,
                                 PickerProc, reinterpret_cast<LPARAM>(&state));
    free(state.order);
    FreePickerIndex(&state.index);
    if (result != IDOK)
        return false;
    *data = state.chosen;
    return true;
}
