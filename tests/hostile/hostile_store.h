// A menu store that no settings editor would write: values of the wrong kind,
// oversized values, a very wide and a very deep menu, and a key that is
// enumerated but cannot be opened. Both libraries must read it without harm.
#pragma once
#include <windows.h>

#include <string>

namespace hostile {

const int kWideEntries = 10000;
const int kNestingDepth = 200;

// About 1 MB of Shift-JIS text in lines ended by CR LF.
const std::string& MegabyteText();

// The top-level entries of the hostile store in the order readers take them
// (URL0 to URL7 by number, then other names), by title. The unopenable key's
// ANSI name is no number, so it comes last, though the registry lists it
// between "titles" and "wide" (at kUnopenableListed).
enum TopEntry {
    kTypeString,      // "Type" is the string "1" and the key has a child: a text entry
    kTypeBinary,      // "Type" is 4 binary bytes 01 00 00 00: the number 1, a submenu
    kTypeShortBinary, // "Type" is the single binary byte 01: no 4-byte number, a text entry
    kUrlNumber,       // "URL" is the number 0x34333231: its bytes read as "1234"
    kMegabyte,        // "URL" is MegabyteText()
    kTitles,          // title "NUL" + NUL + "inside", text "before" + NUL + "after"
    kWide,            // kWideEntries text entries "item<i>" with texts "text<i>"
    kDeep,            // kNestingDepth nested submenus "level<d>", a text entry at the bottom
    kUnopenable,      // enumerated under a name the ANSI functions cannot open
    kTopEntryCount
};
const int kUnopenableListed = 6;

// Writes the hostile menu below HKCU\Software\Ostrel\Tevrix\URL, which must not
// exist yet.
void WriteHostileStore();

// Path of the deepest submenu below the root, the one holding "bottom".
std::string DeepestMenuPath();

} // namespace hostile
