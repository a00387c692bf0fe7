// The menu tree page's load from and save to the menu store.
#include "settings/menu_page/url_page.h"

#include "settings/store/store_names.h"

#include <cstdio>

namespace {
const char kMenuKey[] = "URL";
const char kTypeValue[] = "Type";
const char kTextValue[] = "URL";
const DWORD kTypeSubmenu = 1;
const DWORD kTypeText = 0;
const char kTopTitle[] = "Tevrix";
} // namespace

void CURLPage::LoadTree() {
    CStoreRootKey root(kStoreCompany, kStoreProduct);
    CStoreKey menu = root.OpenSubKey(kMenuKey, FALSE);
    HTREEITEM top = InsertSubmenu(TVI_ROOT, TVI_LAST, kTopTitle);
    if (menu.GetHandle())
        LoadSubmenu(menu, top);
    // The expanding rule shows the open folder; without children nothing expands.
    m_tree.Expand(top, TVE_EXPAND);
}

void CURLPage::LoadSubmenu(const CStoreKey& key, HTREEITEM parent) {
    // Enumeration order, not the numbers in the names. A subkey that cannot be
    // opened reads as a text entry with empty title and text.
    int count = key.CountSubKeys();
    for (int i = 0; i < count; ++i) {
        CStoreKey entry = key.GetSubKey(static_cast<DWORD>(i));
        std::string title;
        entry.ReadString(nullptr, title, "");
        if (entry.GetDword(kTypeValue, kTypeText) == kTypeSubmenu) {
            HTREEITEM submenu = InsertSubmenu(parent, TVI_LAST, title.c_str());
            if (submenu)
                LoadSubmenu(entry, submenu);
        } else {
            std::string text;
            entry.ReadString(kTextValue, text, "");
            InsertTextEntry(parent, TVI_LAST, title.c_str(), text.c_str());
        }
    }
}

void CURLPage::SaveTree() {
    // The whole menu is replaced; nothing of the old one survives.
    CStoreRootKey root(kStoreCompany, kStoreProduct);
    root.DeleteTree(kMenuKey);
    CStoreKey menu = root.CreateSubKey(kMenuKey);
    if (menu.GetHandle())
        SaveSubmenu(menu, m_tree.GetChildItem(TopItem()));
}

void CURLPage::SaveSubmenu(const CStoreKey& key, HTREEITEM first) {
    int number = 0;
    for (HTREEITEM item = first; item; item = m_tree.GetNextSiblingItem(item)) {
        char name[32];
        std::snprintf(name, sizeof name, "URL%d", number++);
        CStoreKey entry = key.CreateSubKey(name);
        if (!entry.GetHandle())
            continue; // nothing beneath a key that could not be made
        entry.WriteString(nullptr, m_tree.GetItemText(item).c_str());
        if (const char* text = ItemString(item)) {
            entry.WriteString(kTextValue, text);
            entry.WriteDword(kTypeValue, kTypeText);
        } else {
            entry.WriteDword(kTypeValue, kTypeSubmenu);
            SaveSubmenu(entry, m_tree.GetChildItem(item));
        }
    }
}
