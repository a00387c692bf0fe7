// Steps on the page "バックアップ" of the real sheet (see import_driver.h):
// export to a file, import a file in either way, and the menu seen whole.
#pragma once
#include "tests/settings/import_driver.h"
#include "tests/settings/menu_page_driver.h"
#include "tests/settings/menu_store_io.h"

#include <initializer_list>
#include <string>
#include <vector>

const int kExportButton = 1015;
const int kImportButton = 1016;
const int kAsSubmenuChoice = 1017;
const int kReplaceChoice = 1018;
extern const char kImportCaption[]; // "メニューのインポート"

// Selects the page "バックアップ" and clicks one of its buttons.
Step ClickOnBackupPage(int id);
// Answers the import question: the whole menu replaced, or a new submenu.
Step AnswerImportQuestion(bool replace);
// Export to path; import from path, answering the question.
std::vector<Step> ExportTo(const std::string& path);
std::vector<Step> ImportFrom(const std::string& path, bool replace);
// Reads the tree as DescribeTree does.
Step ReadTreeInto(std::string* description, bool* applyEnabled = nullptr);
// The lists of steps one after the other.
std::vector<Step> Steps(std::initializer_list<std::vector<Step>> parts);

// The menu below item, "title#image=text" for an entry and
// "title#image{...}" for a submenu (shown open when image 2), "|" between.
std::string DescribeTree(const ItemView& item);
std::string DescribeTree(HWND sheet);
// The store's menu in the same form, without images.
std::string DescribeStore(const std::vector<StoreEntry>& entries);
std::string StoredMenu();
