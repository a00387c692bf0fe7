#include "menu_description.h"

std::string DescribeMenu(const ItemView& item) {
    std::string description;
    for (const ItemView& child : item.children) {
        if (!description.empty())
            description += "|";
        if (child.hasString)
            description += child.title + "=" + child.text;
        else
            description += child.title + "{" + DescribeMenu(child) + "}";
    }
    return description;
}

std::string DescribeMenu(HWND sheet) {
    return DescribeMenu(ReadTree(MenuTree(sheet)));
}

std::string DescribeMenu(const std::vector<StoreEntry>& entries) {
    std::string description;
    for (const StoreEntry& entry : entries) {
        if (!description.empty())
            description += "|";
        if (entry.type == 1)
            description += entry.title + "{" + DescribeMenu(entry.children) + "}";
        else
            description += entry.title + "=" + entry.text;
    }
    return description;
}

bool ImagesMatchKinds(const ItemView& item) {
    for (const ItemView& child : item.children) {
        if (child.image != child.selectedImage)
            return false;
        if (child.hasString ? child.image != 0 : (child.image != 1 && child.image != 2))
            return false;
        if (!ImagesMatchKinds(child))
            return false;
    }
    return true;
}
