// Two menus of about a hundred keys each, different in every title, text and
// shape, that the saving process writes and the tests expect to find whole.
#pragma once
#include "settings/store/menu_store.h"

#include <string>
#include <vector>

// 'A' or 'B'.
std::vector<CMenuEntry> SaverMenu(char which);

// "title=text" for a text entry and "title{...}" for a submenu, separated by
// "|": the form the plug-in's and the editor's menus are described in.
std::string DescribeEntries(const std::vector<CMenuEntry>& entries);
