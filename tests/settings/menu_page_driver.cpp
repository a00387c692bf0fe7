#include "menu_page_driver.h"

#include "modal_closer.h"

#include <cstring>

namespace {
// The rectangle of the item's title in the tree's client area.
RECT ItemRect(HWND tree, HTREEITEM item) {
    RECT rect{};
    std::memcpy(&rect, &item, sizeof item); // the message takes the item in the rectangle
    SendMessageA(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&rect));
    return rect;
}
} // namespace

HWND MenuPage(HWND sheet) {
    return reinterpret_cast<HWND>(SendMessageA(sheet, PSM_INDEXTOHWND, 0, 0));
}

HWND MenuTree(HWND sheet) {
    return GetDlgItem(MenuPage(sheet), kMenuTreeId);
}

ItemView ReadItem(HWND tree, HTREEITEM item) {
    ItemView view;
    view.handle = item;
    char text[1024] = "";
    TVITEMA query{};
    query.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM | TVIF_STATE;
    query.hItem = item;
    query.pszText = text;
    query.cchTextMax = sizeof text;
    query.stateMask = TVIS_EXPANDED;
    if (!SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&query)))
        return view;
    view.title = query.pszText;
    view.image = query.iImage;
    view.selectedImage = query.iSelectedImage;
    view.data = reinterpret_cast<const char*>(query.lParam);
    view.hasString = view.data != nullptr;
    if (view.data)
        view.text = view.data;
    view.expanded = (query.state & TVIS_EXPANDED) != 0;
    for (HTREEITEM child = TreeView_GetChild(tree, item); child;
         child = TreeView_GetNextSibling(tree, child))
        view.children.push_back(ReadItem(tree, child));
    return view;
}

ItemView ReadTree(HWND tree) {
    return ReadItem(tree, TreeView_GetRoot(tree));
}

HTREEITEM FindItem(HWND tree, const std::vector<std::string>& titles) {
    HTREEITEM item = TreeView_GetRoot(tree);
    for (const std::string& title : titles) {
        HTREEITEM child = TreeView_GetChild(tree, item);
        while (child && ReadItem(tree, child).title != title)
            child = TreeView_GetNextSibling(tree, child);
        if (!child)
            return nullptr;
        item = child;
    }
    return item;
}

void SelectItem(HWND tree, HTREEITEM item) {
    SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
}

HTREEITEM SelectedItem(HWND tree) {
    return TreeView_GetSelection(tree);
}

void TypeInStringBox(HWND sheet, const std::string& text) {
    HWND box = GetDlgItem(MenuPage(sheet), kStringBoxId);
    SendMessageA(box, EM_SETSEL, 0, -1);
    SendMessageA(box, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
}

std::string StringBoxText(HWND sheet) {
    char text[4096] = "";
    GetWindowTextA(GetDlgItem(MenuPage(sheet), kStringBoxId), text, sizeof text);
    return text;
}

bool ControlEnabled(HWND sheet, int id) {
    return IsWindowEnabled(GetDlgItem(MenuPage(sheet), id)) != FALSE;
}

bool EditTitle(HWND tree, HTREEITEM item, const std::string& title) {
    SetFocus(tree);
    auto edit = reinterpret_cast<HWND>(
        SendMessageA(tree, TVM_EDITLABELA, 0, reinterpret_cast<LPARAM>(item)));
    if (!edit)
        return false;
    SetWindowTextA(edit, title.c_str());
    SendMessageA(tree, TVM_ENDEDITLABELNOW, FALSE, 0);
    return true;
}

std::vector<MessageBoxSeen> AnswerMessageBoxes(HWND sheet, const std::function<void()>& action,
                                               int answer) {
    std::vector<MessageBoxSeen> seen;
    ModalCloser answering(
        [&] {
            HWND box = FindThreadWindow("#32770");
            if (!box || box == sheet)
                return;
            char caption[256] = "", text[1024] = "";
            GetWindowTextA(box, caption, sizeof caption);
            GetWindowTextA(GetDlgItem(box, 0xFFFF), text, sizeof text);
            seen.push_back({caption, text});
            SendMessageA(box, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(box, answer)));
        },
        50, 5000);
    action();
    return seen;
}

std::vector<MessageBoxSeen> ClickAndAnswer(HWND sheet, int buttonId, int answer) {
    // The click as the page receives it, also from a button that is disabled.
    return AnswerMessageBoxes(
        sheet,
        [&] {
            HWND page = MenuPage(sheet);
            SendMessageA(page, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(page, buttonId)));
        },
        answer);
}

POINT ItemPointInPage(HWND sheet, HTREEITEM item) {
    HWND tree = MenuTree(sheet);
    RECT rect = ItemRect(tree, item);
    POINT point{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    MapWindowPoints(tree, MenuPage(sheet), &point, 1);
    return point;
}

void BeginDrag(HWND sheet, HTREEITEM item) {
    HWND tree = MenuTree(sheet);
    RECT rect = ItemRect(tree, item);
    NMTREEVIEWA drag{};
    drag.hdr.hwndFrom = tree;
    drag.hdr.idFrom = kMenuTreeId;
    drag.hdr.code = TVN_BEGINDRAGA;
    drag.action = 0;
    drag.itemNew.hItem = item;
    drag.itemNew.mask = TVIF_HANDLE | TVIF_PARAM;
    drag.ptDrag = POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    SendMessageA(MenuPage(sheet), WM_NOTIFY, kMenuTreeId, reinterpret_cast<LPARAM>(&drag));
}

void MoveMouse(HWND sheet, POINT pagePoint) {
    SendMessageA(MenuPage(sheet), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(pagePoint.x, pagePoint.y));
}

void ReleaseButton(HWND sheet, POINT pagePoint) {
    SendMessageA(MenuPage(sheet), WM_LBUTTONUP, 0, MAKELPARAM(pagePoint.x, pagePoint.y));
}

void DragOnto(HWND sheet, HTREEITEM item, HTREEITEM target) {
    BeginDrag(sheet, item);
    POINT over = ItemPointInPage(sheet, target);
    MoveMouse(sheet, over);
    ReleaseButton(sheet, over);
}

std::vector<std::string> ChildTitles(const ItemView& item) {
    std::vector<std::string> titles;
    for (const ItemView& child : item.children)
        titles.push_back(child.title);
    return titles;
}
