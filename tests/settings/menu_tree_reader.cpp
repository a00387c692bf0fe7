#include "menu_tree_reader.h"

#include "sheet_driver.h"

namespace {
const int kMenuTreeId = 1010;

struct ItemView {
    std::string title;
    const char* text; // null for a submenu
    int image;
    int selectedImage;
};

ItemView ReadItem(HWND tree, HTREEITEM item) {
    char title[1024] = "";
    TVITEMA view{};
    view.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    view.hItem = item;
    view.pszText = title;
    view.cchTextMax = sizeof title;
    SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&view));
    return {title, reinterpret_cast<const char*>(view.lParam), view.iImage, view.iSelectedImage};
}

HTREEITEM Next(HWND tree, HTREEITEM item, UINT code) {
    return reinterpret_cast<HTREEITEM>(
        SendMessageA(tree, TVM_GETNEXTITEM, code, reinterpret_cast<LPARAM>(item)));
}
} // namespace

HWND MenuTree(HWND sheet) {
    return GetDlgItem(CurrentPage(sheet), kMenuTreeId);
}

HTREEITEM TopItem(HWND tree) {
    return Next(tree, nullptr, TVGN_ROOT);
}

std::string DescribeMenu(HWND tree, HTREEITEM parent) {
    if (!parent)
        parent = TopItem(tree);
    std::string description;
    for (HTREEITEM child = Next(tree, parent, TVGN_CHILD); child;
         child = Next(tree, child, TVGN_NEXT)) {
        if (!description.empty())
            description += "|";
        ItemView view = ReadItem(tree, child);
        if (view.text)
            description += view.title + "=" + view.text;
        else
            description += view.title + "{" + DescribeMenu(tree, child) + "}";
    }
    return description;
}

HTREEITEM FindMenuItem(HWND tree, const std::vector<std::string>& titles) {
    HTREEITEM item = TopItem(tree);
    for (const std::string& title : titles) {
        HTREEITEM child = Next(tree, item, TVGN_CHILD);
        while (child && ReadItem(tree, child).title != title)
            child = Next(tree, child, TVGN_NEXT);
        if (!child)
            return nullptr;
        item = child;
    }
    return item;
}

bool ImagesMatchKinds(HWND tree, HTREEITEM parent) {
    for (HTREEITEM child = Next(tree, parent, TVGN_CHILD); child;
         child = Next(tree, child, TVGN_NEXT)) {
        ItemView view = ReadItem(tree, child);
        if (view.image != view.selectedImage)
            return false;
        if (view.text ? view.image != 0 : (view.image != 1 && view.image != 2))
            return false;
        if (!ImagesMatchKinds(tree, child))
            return false;
    }
    return true;
}

void SelectMenuItem(HWND tree, HTREEITEM item) {
    SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
}
