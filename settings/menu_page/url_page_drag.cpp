// Moving an item with its subtree by dragging it onto another item: the
// subtree is copied to the drop place and the original deleted.
#include "settings/menu_page/url_page.h"

#include <utility>
#include <vector>

void CURLPage::OnTreeBeginDrag(NMHDR* header, LRESULT*) {
    auto* drag = reinterpret_cast<NMTREEVIEWA*>(header);
    if (m_bDragging) {
        // The previous drag never saw its button release; end it first.
        EndDragImage();
        ::ReleaseCapture();
        m_bDragging = FALSE;
        m_tree.SelectDropTarget(nullptr);
    }
    m_hDragItem = m_tree.HitTest(drag->ptDrag);
    m_hDropItem = nullptr;
    if (!m_hDragItem || !m_tree.GetParentItem(m_hDragItem)) {
        m_hDragItem = nullptr;
        return;
    }
    m_bDragging = TRUE;
    // Without a usable drag image the item still moves, just with no picture.
    m_pDragImage = m_tree.CreateDragImage(m_hDragItem);
    if (m_pDragImage &&
        (m_pDragImage->GetImageCount() < 1 || !m_pDragImage->BeginDrag(0, POINT{0, 0}))) {
        delete m_pDragImage;
        m_pDragImage = nullptr;
    }
    if (m_pDragImage) {
        POINT point = drag->ptDrag;
        ::MapWindowPoints(m_tree.m_hWnd, m_hWnd, &point, 1);
        CImageList::DragShowNolock(TRUE);
        CImageList::DragMove(point);
        CImageList::DragEnter(m_hWnd, point);
    }
    ::SetCapture(m_hWnd);
}

void CURLPage::OnMouseMove(UINT, CPoint point) {
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
        EndDragImage();
        // Refused: no target, the item itself, its parent (it would only move
        // to the end), and its own descendants (the copy would land inside
        // the subtree being copied).
        HTREEITEM drop = m_hDropItem;
        if (drop && drop != m_hDragItem && drop != m_tree.GetParentItem(m_hDragItem) &&
            !IsInSubtree(drop, m_hDragItem)) {
            CopyItem(m_hDragItem, drop);
            m_tree.DeleteItem(m_hDragItem);
            MarkChanged();
        }
        ::ReleaseCapture();
        m_bDragging = FALSE;
        m_tree.SelectDropTarget(nullptr);
    }
    Default();
}

void CURLPage::EndDragImage() {
    if (!m_pDragImage)
        return;
    CImageList::DragLeave(m_hWnd);
    CImageList::EndDrag();
    delete m_pDragImage;
    m_pDragImage = nullptr;
}

void CURLPage::CopyItem(HTREEITEM source, HTREEITEM target) {
    // After a text entry or a collapsed submenu, beside it; into an expanded
    // submenu as its last child. The top item has no parent to stand beside,
    // so a drop onto it always appends to the top-level menu.
    int targetImage = 0, targetSelected = 0;
    m_tree.GetItemImage(target, targetImage, targetSelected);
    HTREEITEM parent = m_tree.GetParentItem(target);
    HTREEITEM after = target;
    if (targetImage == 2 || !parent) {
        parent = target;
        after = TVI_LAST;
    }
    HTREEITEM copy = InsertCopyOf(source, parent, after);
    HTREEITEM firstChild = m_tree.GetChildItem(source);
    if (copy && firstChild)
        CopyChildren(firstChild, copy);
}

void CURLPage::CopyChildren(HTREEITEM first, HTREEITEM newParent) {
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
        HTREEITEM child = m_tree.GetChildItem(source);
        if (copy && child)
            runs.emplace_back(child, copy);
    }
}
