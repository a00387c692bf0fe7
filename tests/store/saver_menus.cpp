#include "saver_menus.h"

namespace {
CMenuEntry Text(const std::string& title) {
    CMenuEntry entry;
    entry.title = title;
    entry.isText = true;
    entry.text = "text of " + title;
    return entry;
}

// topCount entries, every submenuEvery-th one a submenu of innerCount
// entries whose middle one is a submenu of nestedCount entries.
std::vector<CMenuEntry> Menu(const std::string& prefix, int topCount, int submenuEvery,
                             int innerCount, int nestedCount) {
    std::vector<CMenuEntry> top;
    for (int i = 0; i < topCount; ++i) {
        std::string title = prefix + std::to_string(i);
        if (i % submenuEvery != 1) {
            top.push_back(Text(title));
            continue;
        }
        CMenuEntry submenu;
        submenu.title = title;
        for (int j = 0; j < innerCount; ++j) {
            std::string innerTitle = title + "-" + std::to_string(j);
            if (j != innerCount / 2) {
                submenu.children.push_back(Text(innerTitle));
                continue;
            }
            CMenuEntry nested;
            nested.title = innerTitle;
            for (int k = 0; k < nestedCount; ++k)
                nested.children.push_back(Text(innerTitle + "-" + std::to_string(k)));
            submenu.children.push_back(nested);
        }
        top.push_back(submenu);
    }
    return top;
}
} // namespace

std::vector<CMenuEntry> SaverMenu(char which) {
    // A: 20 + 7 * (8 + 4) = 104 keys; B: 12 + 3 * (20 + 8) = 96 keys.
    return which == 'A' ? Menu("A", 20, 3, 8, 4) : Menu("B", 12, 4, 20, 8);
}

std::string DescribeEntries(const std::vector<CMenuEntry>& entries) {
    std::string description;
    for (const CMenuEntry& entry : entries) {
        if (!description.empty())
            description += "|";
        if (entry.isText)
            description += entry.title + "=" + entry.text;
        else
            description += entry.title + "{" + DescribeEntries(entry.children) + "}";
    }
    return description;
}
