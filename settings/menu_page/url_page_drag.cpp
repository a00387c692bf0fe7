// Moving an item with its subtree by dragging it onto another item: the
// subtree is copied to the drop place and the original deleted once the copy
// stands whole. A drag ends without moving anything when the page loses the
// mouse capture (another window took it, Alt+Tab, a box opened), when it is
// cancelled (WM_CANCELMODE, Escape), and when the dragged item or the drop
// target is deleted: a late click must never move an item unasked, nor
// delete one whose copy could not be made.
#include "settings/menu_page/url_page.h"

#include "framework/guard.h"

#include <utility>
#include <vector>

namespace {
// The page whose drag Escape ends, and the filter that sees the key. One drag
// at a time runs on the thread, inside the sheet's modal loop.
CURLPage* g_draggingPage = nullptr;
HHOOK g_dragKeyFilter = nullptr;
} // namespace

LRESULT CALLBACK CURLPage::DragKeyFilter(int code, WPARAM wParam, LPARAM lParam) {
    // The sheet's loop hands every message to the dialog manager, which calls
    // this filter first and would otherwise turn Escape into the sheet's Cancel.
    auto* message = reinterpret_cast<MSG*>(lParam);
    if (code == MSGF_DIALOGBOX && g_draggingPage && message->message == WM_KEYDOWN &&
        message->wParam == VK_ESCAPE) {
        CURLPage* page = g_draggingPage;
        AfxGuard(page->m_hWnd, [page] { page->StopDragging(); });
        return 1;
    }
    return ::CallNextHookEx(g_dragKeyFilter, code, wParam, lParam);
}

void CURLPage::OnTreeBeginDrag(NMHDR* header, LRESULT*) {
    auto* drag = reinterpret_cast<NMTREEVIEWA*>(header);
    // A drag that never saw its end is over before the next one starts.
    StopDragging();
    HTREEITEM item = m_tree.HitTest(drag->ptDrag);
    if (!item || !m_tree.GetParentItem(item))
        return; // the top item stays where it is

    // Without a usable drag image the item still moves, just with no picture.
    // The image is made before any drag state, which a failure here must not leave behind.
    m_pDragImage = m_tree.CreateDragImage(item);
    if (m_pDragImage &&
        (m_pDragImage->GetImageCount() < 1 || !m_pDragImage->BeginDrag(0, POINT{0, 0}))) {
        delete m_pDragImage;
        m_pDragImage = nullptr;
    }
    m_hDragItem = item;
    m_hDropItem = nullptr;
    m_bDragging = TRUE;
    if (m_pDragImage) {
        POINT point = drag->ptDrag;
        ::MapWindowPoints(m_tree.m_hWnd, m_hWnd, &point, 1);
        CImageList::DragShowNolock(TRUE);
        CImageList::DragMove(point);
        CImageList::DragEnter(m_hWnd, point);
    }
    g_draggingPage = this;
    g_dragKeyFilter =
        ::SetWindowsHookExA(WH_MSGFILTER, DragKeyFilter, nullptr, ::GetCurrentThreadId());
    ::SetCapture(m_hWnd);
    if (::GetCapture() != m_hWnd)
        StopDragging(); // without the capture the drop would never be seen
}

bool CURLPage::SheetTakesInput() const {
    return ::IsWindowEnabled(::GetAncestor(m_hWnd, GA_ROOT)) != FALSE;
}

void CURLPage::OnMouseMove(UINT, CPoint point) {
    if (m_bDragging && !SheetTakesInput())
        StopDragging();
    if (m_bDragging) {
        if (m_pDragImage)
            CImageList::DragMove(point);
        POINT inTree = point;
        ::MapWindowPoints(m_hWnd, m_tree.m_hWnd, &inTree, 1);
        // Over no item the last target stays.
        if (HTREEITEM item = m_tree.HitTest(inTree)) {
            m_hDropItem = item;
            if (m_pDragImage)
                CImageList::DragLeave(m_hWnd);
            m_tree.SelectDropTarget(item);
            if (m_pDragImage)
                CImageList::DragEnter(m_hWnd, point);
        }
    }
    Default();
}

void CURLPage::OnLButtonUp(UINT, CPoint) {
    if (m_bDragging) {
        HTREEITEM dragged = m_hDragItem;
        HTREEITEM drop = m_hDropItem;
        // The drag is over before anything moves, so that deleting the
        // original below does not meet a drag under way.
        StopDragging();
        // Refused: a click that answers a box open over the sheet, no target,
        // the item itself, its parent (it would only move to the end), and
        // its own descendants (the copy would land inside the subtree being
        // copied).
        if (SheetTakesInput() && drop && drop != dragged && drop != m_tree.GetParentItem(dragged) &&
            !IsInSubtree(drop, dragged))
            MoveItem(dragged, drop);
    }
    Default();
}

void CURLPage::OnCaptureChanged(HWND newCapture) {
    if (m_bDragging && newCapture != m_hWnd)
        StopDragging();
    Default();
}

void CURLPage::OnCancelMode() {
    StopDragging();
    Default();
}

void CURLPage::MoveItem(HTREEITEM item, HTREEITEM target) {
    // Text typed into the box belongs to the selected entry; when that entry
    // is about to be copied, the copy must carry the text.
    HTREEITEM selected = m_tree.GetSelectedItem();
    if (selected && IsInSubtree(selected, item))
        CommitPendingEdit(selected);
    HTREEITEM copy = CopyItem(item, target);
    if (!copy)
        return; // the original stays where it was
    // The dragged entry stays selected, now as its copy.
    if (selected == item)
        m_tree.SelectItem(copy);
    m_tree.DeleteItem(item);
    MarkChanged();
}

void CURLPage::StopDragging() {
    // Cleared first: releasing the capture reports WM_CAPTURECHANGED back here.
    bool wasDragging = m_bDragging != FALSE;
    m_bDragging = FALSE;
    m_hDragItem = nullptr;
    m_hDropItem = nullptr;
    if (g_draggingPage == this) {
        if (g_dragKeyFilter)
            ::UnhookWindowsHookEx(g_dragKeyFilter);
        g_dragKeyFilter = nullptr;
        g_draggingPage = nullptr;
    }
    EndDragImage();
    if (m_hWnd && ::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    if (wasDragging && ::IsWindow(m_tree.m_hWnd))
        m_tree.SelectDropTarget(nullptr);
}

void CURLPage::EndDragImage() {
    if (!m_pDragImage)
        return;
    CImageList::DragLeave(m_hWnd);
    CImageList::EndDrag();
    delete m_pDragImage;
    m_pDragImage = nullptr;
}

HTREEITEM CURLPage::CopyItem(HTREEITEM source, HTREEITEM target) {
    // After a text entry or a collapsed submenu, beside it; into an expanded
    // submenu as its last child. The top item has no parent to stand beside,
    // so a drop onto it always appends to the top-level menu.
    int targetImage = 0, targetSelected = 0;
    if (!m_tree.GetItemImage(target, targetImage, targetSelected))
        return nullptr; // the target is gone
    HTREEITEM parent = m_tree.GetParentItem(target);
    HTREEITEM after = target;
    if (targetImage == 2 || !parent) {
        parent = target;
        after = TVI_LAST;
    }
    HTREEITEM copy = InsertCopyOf(source, parent, after);
    if (!copy)
        return nullptr;
    // A copy is whole or not there at all.
    bool whole = false;
    try {
        whole = CopyChildren(m_tree.GetChildItem(source), copy);
    } catch (...) {
        m_tree.DeleteItem(copy);
        throw;
    }
    if (!whole) {
        m_tree.DeleteItem(copy);
        return nullptr;
    }
    return copy;
}

bool CURLPage::CopyChildren(HTREEITEM first, HTREEITEM newParent) {
    // Depth first with a stack of its own, so that no nesting depth of the
    // store can exhaust the thread's stack. Each entry: the next source item
    // of a run of siblings, and the copy that receives that run.
    std::vector<std::pair<HTREEITEM, HTREEITEM>> runs;
    runs.emplace_back(first, newParent);
    while (!runs.empty()) {
        HTREEITEM source = runs.back().first;
        HTREEITEM parent = runs.back().second;
        if (!source) {
            runs.pop_back();
            continue;
        }
        runs.back().first = m_tree.GetNextSiblingItem(source);
        HTREEITEM copy = InsertCopyOf(source, parent, TVI_LAST);
        if (!copy)
            return false;
        if (HTREEITEM child = m_tree.GetChildItem(source))
            runs.emplace_back(child, copy);
    }
    return true;
}
