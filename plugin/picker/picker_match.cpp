#include "picker_match.h"

#include <stdlib.h>
#include <string.h>

namespace {

const DWORD kStoreCodePage = 932;
const LCID kJapanese = MAKELCID(MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT), SORT_DEFAULT);
// Full width turns half-width kana (with their sound marks) and ASCII into
// their full-width forms, so both widths meet in one.
const DWORD kFoldFlags = LCMAP_FULLWIDTH | LCMAP_HIRAGANA | LCMAP_LOWERCASE;
// A query holds at most this many words; the words after them are ignored,
// so a longer query lists every entry that holds its first ones.
const int kMaxWords = 32;
const int kMaxQuery = 1024;

bool IsBlank(WCHAR c) {
    return c == L' ' || c == L'\t' || c == 0x3000;
}

// Index of the entry whose subtree holds entries[i]: a stack of the submenus
// open at each depth, walked in the snapshot's depth-first order.
bool FindParents(const MenuSnapshot* snapshot, DWORD* parents) {
    DWORD count = snapshot->count;
    DWORD* open = static_cast<DWORD*>(malloc((count + 1) * sizeof(DWORD)));
    if (!open)
        return false;
    DWORD openCount = 0;
    for (DWORD i = 0; i < count; ++i) {
        DWORD depth = snapshot->entries[i].depth;
        if (openCount > depth)
            openCount = depth;
        parents[i] = openCount > 0 && openCount == depth ? open[openCount - 1] : kPickerTopLevel;
        if (!snapshot->entries[i].text)
            open[openCount++] = i;
    }
    free(open);
    return true;
}

// Converts a store string to UTF-16 and folds it into *cursor; false when it
// does not fit the room left.
bool FoldStoreString(const char* text, WCHAR** cursor, size_t* room, WCHAR* wide,
                     int wideCapacity) {
    int length = MultiByteToWideChar(kStoreCodePage, 0, text, -1, wide, wideCapacity);
    if (length <= 0) {
        wide[0] = 0; // longer than any menu title or text can usefully be
        length = 1;
    }
    int folded = FoldForMatch(wide, length - 1, *cursor, static_cast<int>(*room));
    if (folded < 0)
        return false;
    *cursor += folded + 1;
    *room -= folded + 1;
    return true;
}

bool Contains(const WCHAR* haystack, const WCHAR* word) {
    WCHAR first = word[0];
    for (; *haystack; ++haystack) {
        if (*haystack != first)
            continue;
        int i = 1;
        while (word[i] && haystack[i] == word[i])
            ++i;
        if (!word[i])
            return true;
    }
    return false;
}

bool InSubmenus(const PickerIndex* index, DWORD entry, const WCHAR* word) {
    for (DWORD at = index->parents[entry]; at != kPickerTopLevel; at = index->parents[at])
        if (Contains(index->foldedTitles[at], word))
            return true;
    return false;
}

} // namespace

int FoldForMatch(const WCHAR* text, int length, WCHAR* out, int capacity) {
    if (length < 0)
        length = lstrlenW(text);
    if (capacity < 1)
        return -1;
    if (length == 0) {
        out[0] = 0;
        return 0;
    }
    int folded = LCMapStringW(kJapanese, kFoldFlags, text, length, out, capacity - 1);
    if (folded <= 0)
        return -1;
    out[folded] = 0;
    return folded;
}

bool BuildPickerIndex(const MenuSnapshot* snapshot, DWORD textCount, PickerIndex* index) {
    memset(index, 0, sizeof *index);
    index->snapshot = snapshot;
    DWORD count = snapshot->count;
    size_t room = 0;
    size_t longest = 0;
    DWORD texts = 0;
    for (DWORD i = 0; i < count; ++i) {
        const SnapshotEntry* entry = &snapshot->entries[i];
        size_t title = strlen(entry->title), text = entry->text ? strlen(entry->text) : 0;
        // Folding never lengthens a string: each byte gives at most one character.
        room += title + 1 + (entry->text ? text + 1 : 0);
        if (title > longest)
            longest = title;
        if (text > longest)
            longest = text;
        if (entry->text && texts < textCount)
            ++texts;
    }
    index->entries = static_cast<DWORD*>(malloc((texts + 1) * sizeof(DWORD)));
    index->scratch = static_cast<DWORD*>(malloc((texts + 1) * sizeof(DWORD)));
    index->parents = static_cast<DWORD*>(malloc((count + 1) * sizeof(DWORD)));
    index->foldedTitles = static_cast<WCHAR**>(calloc(count + 1, sizeof(WCHAR*)));
    index->foldedTexts = static_cast<WCHAR**>(calloc(count + 1, sizeof(WCHAR*)));
    index->foldedBlock = static_cast<WCHAR*>(malloc((room + 1) * sizeof(WCHAR)));
    WCHAR* wide = static_cast<WCHAR*>(malloc((longest + 1) * sizeof(WCHAR)));
    bool built = index->entries && index->scratch && index->parents && index->foldedTitles &&
                 index->foldedTexts && index->foldedBlock && wide &&
                 FindParents(snapshot, index->parents);
    WCHAR* cursor = index->foldedBlock;
    int wideCapacity = static_cast<int>(longest + 1);
    for (DWORD i = 0; built && i < count; ++i) {
        const SnapshotEntry* entry = &snapshot->entries[i];
        index->foldedTitles[i] = cursor;
        built = FoldStoreString(entry->title, &cursor, &room, wide, wideCapacity);
        if (built && entry->text) {
            index->foldedTexts[i] = cursor;
            built = FoldStoreString(entry->text, &cursor, &room, wide, wideCapacity);
            if (index->count < texts)
                index->entries[index->count++] = i;
        }
    }
    free(wide);
    if (!built)
        FreePickerIndex(index);
    return built;
}

void FreePickerIndex(PickerIndex* index) {
    free(index->entries);
    free(index->scratch);
    free(index->parents);
    free(index->foldedTitles);
    free(index->foldedTexts);
    free(index->foldedBlock);
    memset(index, 0, sizeof *index);
}

DWORD FilterPickerEntries(const PickerIndex* index, const WCHAR* query, DWORD* order) {
    WCHAR folded[kMaxQuery];
    int length = lstrlenW(query);
    if (length >= kMaxQuery)
        length = kMaxQuery - 1;
    if (FoldForMatch(query, length, folded, kMaxQuery) < 0)
        folded[0] = 0;
    // The words, each ended in place (the last one kept as well: it must not
    // run on into the words that are ignored).
    const WCHAR* words[kMaxWords];
    int wordCount = 0;
    for (WCHAR* at = folded; *at && wordCount < kMaxWords;) {
        while (IsBlank(*at))
            *at++ = 0;
        if (!*at)
            break;
        words[wordCount++] = at;
        while (*at && !IsBlank(*at))
            ++at;
        if (*at)
            *at++ = 0;
    }

    DWORD first = 0, second = 0;
    for (DWORD position = 0; position < index->count; ++position) {
        DWORD entry = index->entries[position];
        const WCHAR* title = index->foldedTitles[entry];
        const WCHAR* text = index->foldedTexts[entry];
        bool inTitle = true, matches = true;
        for (int w = 0; matches && w < wordCount; ++w) {
            if (Contains(title, words[w]))
                continue;
            inTitle = false;
            matches = Contains(text, words[w]) || InSubmenus(index, entry, words[w]);
        }
        if (inTitle)
            order[first++] = position;
        else if (matches)
            index->scratch[second++] = position;
    }
    memcpy(order + first, index->scratch, second * sizeof(DWORD));
    return first + second;
}
