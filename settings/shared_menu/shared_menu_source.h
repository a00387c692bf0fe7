// Where a team's shared menu comes from, as the store keeps it: a path or an
// address ("SharedMenu") and the title of its popup ("SharedMenuTitle").
// Both absent means no shared menu.
#pragma once
#include <string>

extern const char kSharedMenuValue[];      // "SharedMenu"
extern const char kSharedMenuTitleValue[]; // "SharedMenuTitle"
extern const char kDefaultSharedTitle[];   // "共有", the title when none is stored

enum class SharedSourceKind {
    kNone,    // empty: no shared menu
    kPath,    // a full path: X:\... or \\server\share\...
    kAddress, // https://host/..., or http:// to this PC only
    kInvalid, // anything else: a relative path, http:// to another host, ...
};

// What the text names. Plain http:// is accepted only for 127.0.0.1 and
// localhost: a text changed on the way would go out in the user's mail.
SharedSourceKind ClassifySharedSource(const std::string& source);

// The stored values; empty when absent.
std::string StoredSharedSource();
std::string StoredSharedTitle();
// Writes both; an empty source removes both values (the feature is off), an
// empty title removes the title. False when a write failed.
bool StoreSharedMenu(const std::string& source, const std::string& title);

// The text without spaces, tabs or line breaks at either end.
std::string Trimmed(const std::string& text);
