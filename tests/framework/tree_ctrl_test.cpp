// The tree-view wrapper against a real tree control.
#include <gtest/gtest.h>

#include "framework/tree_ctrl.h"

#include <cstring>
#include <memory>
#include <string>

namespace {
class TreeFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX classes{sizeof classes, ICC_TREEVIEW_CLASSES};
        InitCommonControlsEx(&classes);
        parent_ = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 300, 300, nullptr, nullptr,
                                  nullptr, nullptr);
        tree.m_hWnd = CreateWindowExA(0, WC_TREEVIEWA, "",
                                      WS_CHILD | WS_VISIBLE | TVS_HASLINES | TVS_EDITLABELS, 0, 0,
                                      300, 300, parent_, nullptr, nullptr, nullptr);
        ASSERT_NE(tree.m_hWnd, nullptr);
    }
    void TearDown() override { DestroyWindow(parent_); }

    CTreeCtrl tree;
    HWND parent_ = nullptr;
};

HBITMAP WhiteBitmap(int cx, int cy) {
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, cx, cy);
    ReleaseDC(nullptr, screen);
    return bitmap;
}
} // namespace

TEST_F(TreeFixture, InsertsInOrderAndNavigates) {
    HTREEITEM top = tree.InsertItem("Tevrix", 1, 1);
    HTREEITEM last = tree.InsertItem("last", 0, 0, top);
    HTREEITEM first = tree.InsertItem("first", 0, 0, top, TVI_FIRST);
    HTREEITEM middle = tree.InsertItem("middle", 2, 2, top, first);
    ASSERT_TRUE(top && last && first && middle);

    EXPECT_EQ(tree.GetRootItem(), top);
    EXPECT_EQ(tree.GetParentItem(top), nullptr);
    EXPECT_EQ(tree.GetChildItem(top), first);
    EXPECT_EQ(tree.GetNextSiblingItem(first), middle);
    EXPECT_EQ(tree.GetNextSiblingItem(middle), last);
    EXPECT_EQ(tree.GetNextSiblingItem(last), nullptr);
    EXPECT_EQ(tree.GetParentItem(middle), top);
    EXPECT_TRUE(tree.ItemHasChildren(top));
    EXPECT_FALSE(tree.ItemHasChildren(middle));

    int image = -1, selected = -1;
    EXPECT_TRUE(tree.GetItemImage(middle, image, selected));
    EXPECT_EQ(image, 2);
    EXPECT_EQ(selected, 2);
    EXPECT_TRUE(tree.SetItemImage(middle, 1, 1));
    tree.GetItemImage(middle, image, selected);
    EXPECT_EQ(image, 1);
}

TEST_F(TreeFixture, TextsAndDataOfAnyLength) {
    std::string title;
    for (int i = 0; i < 400; ++i)
        title += "題";
    HTREEITEM item = tree.InsertItem(title.c_str(), 0, 0);
    EXPECT_EQ(tree.GetItemText(item), title);
    EXPECT_TRUE(tree.SetItemText(item, ""));
    EXPECT_EQ(tree.GetItemText(item), "");

    static char text[] = "https://example.jp/";
    EXPECT_EQ(tree.GetItemData(item), 0u);
    EXPECT_TRUE(tree.SetItemData(item, reinterpret_cast<DWORD_PTR>(text)));
    EXPECT_EQ(tree.GetItemData(item), reinterpret_cast<DWORD_PTR>(text));
}

TEST_F(TreeFixture, SelectExpandDeleteAndDropTarget) {
    HTREEITEM top = tree.InsertItem("top", 1, 1);
    HTREEITEM folder = tree.InsertItem("folder", 1, 1, top);
    HTREEITEM inner = tree.InsertItem("inner", 0, 0, folder);
    HTREEITEM other = tree.InsertItem("other", 0, 0, top);

    EXPECT_TRUE(tree.SelectItem(inner)); // expands its parents to show it
    EXPECT_EQ(tree.GetSelectedItem(), inner);
    EXPECT_TRUE(
        tree.SendMessage(TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(folder), TVIS_EXPANDED) &
        TVIS_EXPANDED);
    tree.Expand(folder, TVE_COLLAPSE);
    EXPECT_FALSE(
        tree.SendMessage(TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(folder), TVIS_EXPANDED) &
        TVIS_EXPANDED);

    EXPECT_TRUE(tree.SelectDropTarget(other));
    EXPECT_EQ(tree.GetDropHilightItem(), other);
    tree.SelectDropTarget(nullptr);
    EXPECT_EQ(tree.GetDropHilightItem(), nullptr);

    EXPECT_TRUE(tree.DeleteItem(folder));
    EXPECT_EQ(tree.GetChildItem(top), other);
    EXPECT_EQ(tree.SendMessage(TVM_GETCOUNT), 2);
}

TEST_F(TreeFixture, HitTestFindsTheItemUnderAPoint) {
    HTREEITEM first = tree.InsertItem("first", 0, 0);
    HTREEITEM second = tree.InsertItem("second", 0, 0);
    RECT rect{};
    std::memcpy(&rect, &second, sizeof second); // TVM_GETITEMRECT takes the item in the rectangle
    ASSERT_TRUE(tree.SendMessage(TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&rect)));
    UINT flags = 0;
    POINT onSecond{rect.left + 2, (rect.top + rect.bottom) / 2};
    EXPECT_EQ(tree.HitTest(onSecond, &flags), second);
    EXPECT_TRUE(flags & TVHT_ONITEM);
    POINT below{rect.left + 2, rect.bottom + 200};
    EXPECT_EQ(tree.HitTest(below), nullptr);
    EXPECT_NE(first, second);
}

TEST_F(TreeFixture, ImageListsAndLabelEditing) {
    CImageList images;
    ASSERT_TRUE(images.Create(20, 18, ILC_COLOR24 | ILC_MASK, 3, 1));
    for (int i = 0; i < 3; ++i) {
        HBITMAP bitmap = WhiteBitmap(20, 18);
        EXPECT_EQ(images.Add(bitmap, RGB(255, 255, 255)), i);
        DeleteObject(bitmap);
    }
    EXPECT_EQ(images.GetImageCount(), 3);
    tree.SetImageList(&images, TVSIL_NORMAL);
    EXPECT_EQ(reinterpret_cast<HIMAGELIST>(tree.SendMessage(TVM_GETIMAGELIST, TVSIL_NORMAL)),
              images.GetSafeHandle());

    HTREEITEM item = tree.InsertItem("title", 0, 0);
    SetFocus(tree.m_hWnd);
    HWND edit = tree.EditLabel(item);
    EXPECT_NE(edit, nullptr);
    tree.SendMessage(TVM_ENDEDITLABELNOW, TRUE);

    std::unique_ptr<CImageList> drag(tree.CreateDragImage(item));
    EXPECT_NE(drag, nullptr);
    tree.SetImageList(nullptr, TVSIL_NORMAL);

    HIMAGELIST handle = images.Detach();
    EXPECT_EQ(images.GetSafeHandle(), nullptr);
    CImageList owner;
    EXPECT_TRUE(owner.Attach(handle));
    EXPECT_EQ(owner.GetImageCount(), 3);
}
