// The user's menu in the store: loaded whole, and saved all or nothing.
#pragma once
#include "settings/store/store_key.h"

#include <string>
#include <vector>

// One entry of the menu: a text entry with its text, or a submenu with its
// entries.
struct CMenuEntry {
    std::string title;
    bool isText = false;
    std::string text;
    std::vector<CMenuEntry> children;
};

class CMenuStore {
  public:
    // Opens (creating where missing) HKCU\Software\Ostrel\Tevrix.
    CMenuStore();

    // The menu's entries, each level in the order of the numbers in the key
    // names. A store that cannot be opened, or holds no menu, gives none.
    // FALSE, with no entries, when no whole menu could be read: a save of
    // another process kept the lock and renamed or deleted the keys during
    // every attempt.
    BOOL Load(std::vector<CMenuEntry>& entries) const;

    // Replaces the menu by entries, saved as URL0, URL1 ... in their order.
    // FALSE when it could not be saved; the store then still holds the whole
    // old menu. Readers find the whole old or the whole new menu at every
    // moment, also when the process ends part-way.
    BOOL Save(const std::vector<CMenuEntry>& entries) const;

  private:
    BOOL HasSubKey(const char* name) const;
    // Completes or undoes what a save that ended part-way left behind.
    BOOL FinishInterruptedSave() const;

    CStoreRootKey m_root;
};
