#include "framework/image_list.h"

BOOL CImageList::Create(int cx, int cy, UINT flags, int initial, int grow) {
    DeleteImageList();
    m_hImageList = ::ImageList_Create(cx, cy, flags, initial, grow);
    return m_hImageList != nullptr;
}

int CImageList::Add(HBITMAP bitmap, COLORREF maskColor) {
    return ::ImageList_AddMasked(m_hImageList, bitmap, maskColor);
}

int CImageList::GetImageCount() const {
    return m_hImageList ? ::ImageList_GetImageCount(m_hImageList) : 0;
}

BOOL CImageList::Attach(HIMAGELIST list) {
    DeleteImageList();
    m_hImageList = list;
    return list != nullptr;
}

HIMAGELIST CImageList::Detach() {
    HIMAGELIST list = m_hImageList;
    m_hImageList = nullptr;
    return list;
}

BOOL CImageList::DeleteImageList() {
    if (!m_hImageList)
        return FALSE;
    BOOL destroyed = ::ImageList_Destroy(m_hImageList);
    m_hImageList = nullptr;
    return destroyed;
}

BOOL CImageList::BeginDrag(int image, POINT hotSpot) const {
    return ::ImageList_BeginDrag(m_hImageList, image, hotSpot.x, hotSpot.y);
}

void CImageList::EndDrag() {
    ::ImageList_EndDrag();
}

BOOL CImageList::DragEnter(HWND lockWindow, POINT point) {
    return ::ImageList_DragEnter(lockWindow, point.x, point.y);
}

BOOL CImageList::DragLeave(HWND lockWindow) {
    return ::ImageList_DragLeave(lockWindow);
}

BOOL CImageList::DragMove(POINT point) {
    return ::ImageList_DragMove(point.x, point.y);
}

BOOL CImageList::DragShowNolock(BOOL show) {
    return ::ImageList_DragShowNolock(show);
}
