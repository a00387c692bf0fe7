// Finding an entry on the menu page: Ctrl+F opens the system's Find dialog,
// F3 finds the next match. A match is an entry (text entry or submenu) whose
// title or text holds what was typed; the search walks the tree in order from
// the selection, in the dialog's direction, and wraps around at the end with
// a beep. The found entry is selected as a click would select it, so that a
// pending edit of the string box goes into the entry it was made in.
#include "settings/menu_page/url_page.h"

#include "framework/guard.h"
#include "settings/resources/resource.h"

#include <string>

namespace {
// The page whose keys the filter watches; one sheet runs at a time on the thread.
CURLPage* g_findPage = nullptr;
HHOOK g_findKeyFilter = nullptr;
// Set while the Find dialog's own keyboard handling runs, which calls the
// filter again for the same message.
bool g_inFindDialogKeys = false;
UINT g_findMessage = 0;

const char kNotFoundBefore[] = "「";
const char kNotFoundAfter[] = "」は見つかりませんでした。";
const char kCaption[] = "Tevrix";

std::wstring Widen(const char* text) {
    int length = ::MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (length <= 1)
        return std::wstring();
    std::wstring wide(static_cast<size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text, -1, &wide[0], length);
    wide.resize(static_cast<size_t>(length - 1));
    return wide;
}

std::wstring Lowered(std::wstring text) {
    if (!text.empty())
        ::CharLowerBuffW(&text[0], static_cast<DWORD>(text.size()));
    return text;
}

std::string WindowText(HWND window) {
    int length = ::GetWindowTextLengthA(window);
    if (length <= 0)
        return std::string();
    std::string text(static_cast<size_t>(length) + 1, '\0');
    int copied = ::GetWindowTextA(window, &text[0], length + 1);
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return text;
}

bool IsOnPage(HWND page, HWND window) {
    return window == page || ::IsChild(page, window);
}
} // namespace

UINT CURLPage::FindMessageId() {
    // Registered once per process, so a plain variable keeps it: a guarded
    // local static would leave the C++ runtime's per-thread record (an event
    // and a thread handle) in the host each time the editor is unloaded.
    if (!g_findMessage)
        g_findMessage = ::RegisterWindowMessageA(FINDMSGSTRINGA);
    return g_findMessage;
}

void CURLPage::StartFindKeys() {
    StopFindKeys();
    g_findPage = this;
    g_findKeyFilter =
        ::SetWindowsHookExA(WH_MSGFILTER, FindKeyFilter, nullptr, ::GetCurrentThreadId());
}

void CURLPage::StopFindKeys() {
    if (m_hFindDialog)
        ::DestroyWindow(m_hFindDialog);
    m_hFindDialog = nullptr;
    if (g_findPage != this)
        return;
    if (g_findKeyFilter)
        ::UnhookWindowsHookEx(g_findKeyFilter);
    g_findKeyFilter = nullptr;
    g_findPage = nullptr;
}

void CURLPage::OnDestroy() {
    // The Find dialog goes with the sheet.
    StopFindKeys();
    Default();
}

// The sheet's loop hands every message to the dialog manager, which calls this
// filter first. The Find dialog is no part of the sheet, so its own keys
// (Tab, Enter, Escape) are handled here; Ctrl+F and F3 are caught anywhere on
// the page.
LRESULT CALLBACK CURLPage::FindKeyFilter(int code, WPARAM wParam, LPARAM lParam) {
    auto* message = reinterpret_cast<MSG*>(lParam);
    CURLPage* page = g_findPage;
    if (code != MSGF_DIALOGBOX || !page || g_inFindDialogKeys)
        return ::CallNextHookEx(g_findKeyFilter, code, wParam, lParam);
    HWND dialog = page->m_hFindDialog;
    if (dialog && (message->hwnd == dialog || ::IsChild(dialog, message->hwnd))) {
        g_inFindDialogKeys = true;
        BOOL handled = ::IsDialogMessageA(dialog, message);
        g_inFindDialogKeys = false;
        return handled ? 1 : 0;
    }
    if (message->message == WM_KEYDOWN && IsOnPage(page->m_hWnd, message->hwnd) &&
        ::IsWindowVisible(page->m_hWnd)) {
        bool control = (::GetKeyState(VK_CONTROL) & 0x8000) != 0;
        if (message->wParam == 'F' && control) {
            AfxGuard(page->m_hWnd, [page] { page->OpenFindDialog(); });
            return 1;
        }
        if (message->wParam == VK_F3 && !control) {
            AfxGuard(page->m_hWnd, [page] { page->FindNextEntry(); });
            return 1;
        }
    }
    return ::CallNextHookEx(g_findKeyFilter, code, wParam, lParam);
}

void CURLPage::OpenFindDialog() {
    if (m_hFindDialog) {
        ::SetActiveWindow(m_hFindDialog);
        return;
    }
    m_find = FINDREPLACEA{};
    m_find.lStructSize = sizeof m_find;
    // The page gets the dialog's messages; the system makes the sheet its owner.
    m_find.hwndOwner = m_hWnd;
    m_find.Flags = m_findFlags | FR_HIDEWHOLEWORD;
    m_find.lpstrFindWhat = m_findWhat;
    m_find.wFindWhatLen = sizeof m_findWhat;
    m_hFindDialog = ::FindTextA(&m_find);
}

void CURLPage::OnFindMessage() {
    if (m_find.Flags & FR_DIALOGTERM) {
        m_hFindDialog = nullptr;
        return;
    }
    m_findFlags = m_find.Flags & (FR_DOWN | FR_MATCHCASE);
    if (m_find.Flags & FR_FINDNEXT)
        FindNextEntry();
}

bool CURLPage::ItemMatches(HTREEITEM item, const std::wstring& what, bool matchCase,
                           const std::string* pendingText) const {
    if (!m_tree.GetParentItem(item))
        return false; // the top item stands for the menu, it is no entry
    std::wstring title = Widen(m_tree.GetItemText(item).c_str());
    const char* text = ItemString(item);
    if (text && pendingText && item == m_tree.GetSelectedItem())
        text = pendingText->c_str();
    std::wstring wideText = text ? Widen(text) : std::wstring();
    if (!matchCase) {
        title = Lowered(title);
        wideText = Lowered(wideText);
    }
    return title.find(what) != std::wstring::npos || wideText.find(what) != std::wstring::npos;
}

HTREEITEM CURLPage::NextInTreeOrder(HTREEITEM item) const {
    if (HTREEITEM child = m_tree.GetChildItem(item))
        return child;
    for (HTREEITEM at = item; at; at = m_tree.GetParentItem(at))
        if (HTREEITEM next = m_tree.GetNextSiblingItem(at))
            return next;
    return nullptr;
}

HTREEITEM CURLPage::LastInSubtree(HTREEITEM item) const {
    for (;;) {
        HTREEITEM child = m_tree.GetChildItem(item);
        if (!child)
            return item;
        while (HTREEITEM next = m_tree.GetNextSiblingItem(child))
            child = next;
        item = child;
    }
}

HTREEITEM CURLPage::PreviousInTreeOrder(HTREEITEM item) const {
    if (HTREEITEM previous = m_tree.GetNextItem(item, TVGN_PREVIOUS))
        return LastInSubtree(previous);
    return m_tree.GetParentItem(item);
}

void CURLPage::FindNextEntry() {
    if (!m_findWhat[0]) {
        OpenFindDialog();
        return;
    }
    bool down = (m_findFlags & FR_DOWN) != 0;
    bool matchCase = (m_findFlags & FR_MATCHCASE) != 0;
    std::wstring what = Widen(m_findWhat);
    if (!matchCase)
        what = Lowered(what);
    HTREEITEM top = TopItem();
    HTREEITEM start = m_tree.GetSelectedItem();
    if (!start)
        start = top;
    // The selected entry's text is what the string box shows, edits included.
    std::string boxText;
    if (m_bEntryChanged)
        boxText = WindowText(GetDlgItem(IDC_ENTRY_STRING));
    const std::string* pending = m_bEntryChanged ? &boxText : nullptr;
    // Every item once, starting after the selection and ending with it.
    bool wrapped = false;
    HTREEITEM item = start;
    do {
        HTREEITEM next = down ? NextInTreeOrder(item) : PreviousInTreeOrder(item);
        if (!next) {
            next = down ? top : LastInSubtree(top);
            wrapped = true;
        }
        item = next;
        if (ItemMatches(item, what, matchCase, pending)) {
            if (wrapped)
                ::MessageBeep(MB_OK);
            // Selecting expands the submenus above the entry and scrolls it
            // into view; the selection change keeps a pending edit.
            m_tree.SelectItem(item);
            m_tree.SendMessage(TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(item));
            return;
        }
    } while (item != start);
    std::string message = kNotFoundBefore + std::string(m_findWhat) + kNotFoundAfter;
    HWND owner = m_hFindDialog ? m_hFindDialog : m_hWnd;
    ::MessageBoxA(owner, message.c_str(), kCaption, MB_OK | MB_ICONINFORMATION);
}
