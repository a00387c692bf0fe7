// The menu store's rules that the plug-in and the settings editor share: the
// keys a save passes through, which key a reader takes the menu from, and the
// order of the entries of one menu level. Pure logic on byte strings without
// windows.h, so that both libraries and the fuzzer include the same text.
//
// A save never changes the key named "URL" in place. It writes the new menu
// under the staging key, renames "URL" to the retired key, renames the staging
// key to "URL", and then deletes the retired key. Each rename is atomic, so a
// save ended at any point leaves either "URL" (a whole menu: the old one
// before the second rename, the new one after it) or, between the two
// renames, no "URL" and the whole old menu under the retired key. Readers
// never look at the staging key, and the next save finishes or undoes what an
// interrupted one left behind.
#pragma once
#include <stddef.h>
#include <string.h>

namespace menu_store {

// The top-level menu, where every version of both libraries finds it.
constexpr char kMenuKey[] = "URL";
// Where a save writes the new menu before it replaces the old one.
constexpr char kStagingKey[] = "URL.New";
// Where the old menu waits between the two renames of a save.
constexpr char kRetiredKey[] = "URL.Old";

// Readers and savers of the menu take this named mutex, so that no reader
// walks a menu while a save in another process renames or deletes it. A save
// ended mid-way abandons it, and the next taker goes on. A reader that cannot
// have it in time reads anyway, but the keys alone do not make that read
// whole: the save may rename "URL" and delete it under the walk, which then
// finds part of a menu. Such a reader arms the registry's change notification
// on the store before its walk and takes the walk as whole only when nothing
// changed by its end (where no notification can be armed: when every listed
// key could be opened and read). Otherwise it reads again, or keeps to what
// it last read whole, or refuses; it never shows or saves the part.
constexpr char kLockName[] = "Tevrix.MenuStore.Lock";
constexpr unsigned kReaderLockWaitMs = 5000;
constexpr unsigned kSaverLockWaitMs = 15000;

enum MenuSource {
    kFromMenuKey,    // "URL": the menu
    kFromRetiredKey, // no "URL": a save ended between its renames; the old menu
    kNoMenu,         // a store that was never saved
};

inline MenuSource ChooseMenuSource(bool menuKeyExists, bool retiredKeyExists) {
    if (menuKeyExists)
        return kFromMenuKey;
    return retiredKeyExists ? kFromRetiredKey : kNoMenu;
}

// One entry key's place in its menu level. Keys named "URL" and a decimal
// number ("url3" too: key names are case-insensitive) come first, by that
// number; a number of any length compares as digits, so nothing overflows,
// and "URL007" is 7. Keys with other names follow. Ties keep the order in
// which the registry listed the keys.
struct EntryKeyOrder {
    bool numbered;
    const char* digits; // the number without its leading zeros
    size_t digitCount;
    size_t listed; // position in the registry's listing
};

inline EntryKeyOrder EntryKeyOrderOf(const char* name, size_t length, size_t listed) {
    EntryKeyOrder order = {false, name, 0, listed};
    const char prefix[] = "url";
    if (length <= 3)
        return order;
    for (size_t i = 0; i < 3; ++i) {
        char c = name[i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c != prefix[i])
            return order;
    }
    // Every byte after the prefix must be an ASCII digit. No Shift-JIS trail
    // byte falls in '0'..'9', so a double-byte character never passes.
    for (size_t i = 3; i < length; ++i) {
        if (name[i] < '0' || name[i] > '9')
            return order;
    }
    size_t first = 3;
    while (first + 1 < length && name[first] == '0')
        ++first;
    order.numbered = true;
    order.digits = name + first;
    order.digitCount = length - first;
    return order;
}

// Negative when a comes first. A total order: no two keys compare equal.
inline int CompareEntryKeys(const EntryKeyOrder& a, const EntryKeyOrder& b) {
    if (a.numbered != b.numbered)
        return a.numbered ? -1 : 1;
    if (a.numbered) {
        if (a.digitCount != b.digitCount)
            return a.digitCount < b.digitCount ? -1 : 1;
        int digits = memcmp(a.digits, b.digits, a.digitCount);
        if (digits != 0)
            return digits;
    }
    if (a.listed != b.listed)
        return a.listed < b.listed ? -1 : 1;
    return 0;
}

} // namespace menu_store
