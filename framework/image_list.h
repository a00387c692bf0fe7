// An image list (of the common controls), owned by the object unless detached.
#pragma once
#include <windows.h>
#include <commctrl.h>

class CImageList {
  public:
    CImageList() = default;
    ~CImageList() { DeleteImageList(); }
    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;

    // cx by cy images; flags as ImageList_Create (ILC_COLOR | ILC_MASK ...).
    BOOL Create(int cx, int cy, UINT flags, int initial, int grow);
    // Adds a bitmap; pixels of the mask colour become transparent. The index, or -1.
    int Add(HBITMAP bitmap, COLORREF maskColor);
    int GetImageCount() const;

    BOOL Attach(HIMAGELIST list);
    HIMAGELIST Detach();
    BOOL DeleteImageList();
    HIMAGELIST GetSafeHandle() const { return m_hImageList; }

    // Drag image: this list's image becomes the drag image with the hot spot given.
    BOOL BeginDrag(int image, POINT hotSpot) const;
    static void EndDrag();
    // Shows the drag image at a point of lockWindow, locking that window's updates.
    static BOOL DragEnter(HWND lockWindow, POINT point);
    static BOOL DragLeave(HWND lockWindow);
    static BOOL DragMove(POINT point);
    static BOOL DragShowNolock(BOOL show);

    HIMAGELIST m_hImageList = nullptr;
};
