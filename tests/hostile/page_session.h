// The menu tree page alone in a modal sheet, with its load, save and tree
// open to the program: what the hostile-input tests and the benchmark drive
// directly, without going through buttons and dialogs.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "settings/menu_page/url_page.h"

class OpenUrlPage : public CURLPage {
  public:
    using CURLPage::LoadTree;
    using CURLPage::SaveTree;
    // Deletes every item; the page releases their strings.
    void ClearTree() { m_tree.DeleteAllItems(); }
    // Empties the tree and loads it afresh from the store.
    void Reload() {
        ClearTree();
        LoadTree();
    }
    CTreeCtrl& Tree() { return m_tree; }
};

// Opens a sheet holding one OpenUrlPage (which loads the store as it opens),
// runs work on the page inside the sheet's modal loop, then closes the sheet
// with Cancel, which writes nothing. False when the deadline forced it shut.
bool WithUrlPage(const std::function<void(OpenUrlPage& page)>& work, DWORD deadlineMs);

// A tree item with its subtree as the page holds it.
struct PageItem {
    std::string title;
    bool isText = false;
    std::string text;
    std::vector<PageItem> children;
};
PageItem ReadPageItem(OpenUrlPage& page, HTREEITEM item);
