// Loading and saving the menu by the rules both libraries share
// (common/menu_store_rules.h).
#include "settings/store/menu_store.h"

#include "common/menu_store_rules.h"
#include "common/registry_key_deleted.h"
#include "settings/store/store_lock.h"
#include "settings/store/store_names.h"
#include "settings/store/store_watch.h"

#include <algorithm>
#include <cstdio>

namespace {
const char kTypeValue[] = "Type";
const char kTextValue[] = "URL";
const DWORD kTypeSubmenu = 1;
const DWORD kTypeText = 0;

// Key names in the order both libraries read a level in.
std::vector<std::string> OrderedSubKeyNames(const CStoreKey& key, bool& disturbed) {
    bool complete = true;
    std::vector<std::string> names = key.SubKeyNames(&complete);
    disturbed = disturbed || !complete;
    std::vector<menu_store::EntryKeyOrder> orders;
    orders.reserve(names.size());
    for (size_t i = 0; i < names.size(); ++i)
        orders.push_back(menu_store::EntryKeyOrderOf(names[i].data(), names[i].size(), i));
    std::sort(orders.begin(), orders.end(),
              [](const menu_store::EntryKeyOrder& a, const menu_store::EntryKeyOrder& b) {
                  return menu_store::CompareEntryKeys(a, b) < 0;
              });
    std::vector<std::string> ordered;
    ordered.reserve(names.size());
    for (const menu_store::EntryKeyOrder& order : orders)
        ordered.push_back(std::move(names[order.listed]));
    return ordered;
}

// disturbed is set by a listed key that cannot be opened, or one deleted
// while it was read: a save renaming and deleting under a reader without the
// lock, or (alone) a key whose name has no ANSI form.
void LoadEntries(const CStoreKey& key, std::vector<CMenuEntry>& entries, bool& disturbed) {
    // A subkey that cannot be opened reads as a text entry with an empty
    // title and text.
    for (const std::string& name : OrderedSubKeyNames(key, disturbed)) {
        CStoreKey entryKey = key.OpenSubKey(name.c_str(), FALSE);
        CMenuEntry entry;
        bool read = entryKey.ReadString(nullptr, entry.title, "");
        if (entryKey.GetDword(kTypeValue, kTypeText) == kTypeSubmenu) {
            LoadEntries(entryKey, entry.children, disturbed);
        } else {
            entry.isText = true;
            read = entryKey.ReadString(kTextValue, entry.text, "") && read;
        }
        if (!entryKey.GetHandle() || (!read && RegistryKeyDeleted(entryKey.GetHandle())))
            disturbed = true;
        entries.push_back(std::move(entry));
    }
}

// Each attempt waits for the lock anew: a save that disturbed one read has
// usually done its renames, and the next read finds its menu whole.
const int kLoadAttempts = 2;
// Every key and value of the entries; FALSE at the first that fails.
BOOL WriteEntries(const CStoreKey& key, const std::vector<CMenuEntry>& entries) {
    for (size_t number = 0; number < entries.size(); ++number) {
        const CMenuEntry& entry = entries[number];
        char name[32];
        std::snprintf(name, sizeof name, "URL%u", static_cast<unsigned>(number));
        CStoreKey entryKey = key.CreateSubKey(name);
        if (!entryKey.GetHandle() || !entryKey.WriteString(nullptr, entry.title.c_str()))
            return FALSE;
        BOOL written = entry.isText ? entryKey.WriteString(kTextValue, entry.text.c_str()) &&
                                          entryKey.WriteDword(kTypeValue, kTypeText)
                                    : entryKey.WriteDword(kTypeValue, kTypeSubmenu) &&
                                          WriteEntries(entryKey, entry.children);
        if (!written)
            return FALSE;
    }
    return TRUE;
}
} // namespace

CMenuStore::CMenuStore() : m_root(kStoreCompany, kStoreProduct) {}

BOOL CMenuStore::Load(std::vector<CMenuEntry>& entries) const {
    entries.clear();
    if (!m_root.GetHandle())
        return TRUE;
    for (int attempt = 0; attempt < kLoadAttempts; ++attempt) {
        // Without the lock (held elsewhere for too long) a save may rename
        // and delete the keys during the walk: the change notification,
        // armed before it, tells; where none can be armed, a key that
        // vanished under the walk does.
        CStoreLock lock(menu_store::kReaderLockWaitMs);
        CStoreChangeWatch watch(m_root);
        bool disturbed = false;
        bool menuKey = HasSubKey(menu_store::kMenuKey);
        switch (
            menu_store::ChooseMenuSource(menuKey, !menuKey && HasSubKey(menu_store::kRetiredKey))) {
        case menu_store::kFromMenuKey:
            LoadEntries(m_root.OpenSubKey(menu_store::kMenuKey, FALSE), entries, disturbed);
            break;
        case menu_store::kFromRetiredKey:
            LoadEntries(m_root.OpenSubKey(menu_store::kRetiredKey, FALSE), entries, disturbed);
            break;
        case menu_store::kNoMenu:
            break;
        }
        bool whole = watch.IsArmed() ? !watch.Changed() : lock.IsHeld() || !disturbed;
        if (whole)
            return TRUE;
        entries.clear();
    }
    return FALSE;
}

BOOL CMenuStore::Save(const std::vector<CMenuEntry>& entries) const {
    if (!m_root.GetHandle())
        return FALSE;
    CStoreLock lock(menu_store::kSaverLockWaitMs);
    if (!lock.IsHeld() || !FinishInterruptedSave())
        return FALSE;
    // The new menu goes in beside the old one, which readers go on finding.
    if (!m_root.DeleteTree(menu_store::kStagingKey))
        return FALSE;
    BOOL written = FALSE;
    {
        CStoreKey staging = m_root.CreateSubKey(menu_store::kStagingKey);
        written = staging.GetHandle() && WriteEntries(staging, entries);
    }
    if (!written) {
        m_root.DeleteTree(menu_store::kStagingKey);
        return FALSE;
    }
    // Two renames replace it: until the second, readers find the old menu
    // under "URL" or, after the first, under the retired key.
    bool hadMenu = HasSubKey(menu_store::kMenuKey);
    if (hadMenu && !m_root.RenameSubKey(menu_store::kMenuKey, menu_store::kRetiredKey)) {
        m_root.DeleteTree(menu_store::kStagingKey);
        return FALSE;
    }
    if (!m_root.RenameSubKey(menu_store::kStagingKey, menu_store::kMenuKey)) {
        if (hadMenu)
            m_root.RenameSubKey(menu_store::kRetiredKey, menu_store::kMenuKey);
        m_root.DeleteTree(menu_store::kStagingKey);
        return FALSE;
    }
    // The new menu is in place and saved. Whatever of the old one cannot be
    // deleted now, the next save deletes.
    m_root.DeleteTree(menu_store::kRetiredKey);
    return TRUE;
}

BOOL CMenuStore::HasSubKey(const char* name) const {
    return m_root.OpenSubKey(name, FALSE).GetHandle() != nullptr;
}

BOOL CMenuStore::FinishInterruptedSave() const {
    bool menuKey = HasSubKey(menu_store::kMenuKey);
    switch (menu_store::ChooseMenuSource(menuKey, !menuKey && HasSubKey(menu_store::kRetiredKey))) {
    case menu_store::kFromMenuKey:
        // Ended after its second rename: the old menu is only in the way.
        return m_root.DeleteTree(menu_store::kRetiredKey);
    case menu_store::kFromRetiredKey:
        // Ended between its renames: the old menu, which readers have been
        // finding, takes its name back.
        return m_root.RenameSubKey(menu_store::kRetiredKey, menu_store::kMenuKey);
    case menu_store::kNoMenu:
        break;
    }
    return TRUE;
}
