// Runs the settings sheet in this program (the editor's classes and
// resources are linked in) and reads and drives the menu page through its
// real controls, one action per timer tick inside the sheet's modal loop.
#pragma once
#include "sheet_driver.h"

#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

const int kMenuTreeId = 1010;
const int kStringBoxId = 1001;
const int kAddEntryId = 1002;
const int kAddSubmenuId = 1004;
const int kDeleteId = 1005;

// Runs CSettingSheet modally from the classes linked into this program
// (menu_sheet_in_process.cpp); false when it did not close by the actions.
// RunSettingSheet of sheet_driver.h runs the real Vandry.dll instead.
bool RunMenuSheet(const std::vector<SheetAction>& actions);

HWND MenuPage(HWND sheet);
HWND MenuTree(HWND sheet);

// A tree item as the page shows it: the item data is the entry's string,
// copied into text (data keeps its address, valid while the sheet is open).
struct ItemView {
    HTREEITEM handle = nullptr;
    std::string title;
    int image = -1;
    int selectedImage = -1;
    const char* data = nullptr;
    bool hasString = false;
    std::string text;
    bool expanded = false;
    std::vector<ItemView> children;
};

ItemView ReadItem(HWND tree, HTREEITEM item);
// The top item with everything beneath it.
ItemView ReadTree(HWND tree);
// The item reached from the top item by child titles; null when missing.
HTREEITEM FindItem(HWND tree, const std::vector<std::string>& titles);
void SelectItem(HWND tree, HTREEITEM item);
HTREEITEM SelectedItem(HWND tree);

// Replaces the box's text as the user's typing does (EN_CHANGE follows).
void TypeInStringBox(HWND sheet, const std::string& text);
std::string StringBoxText(HWND sheet);
bool ControlEnabled(HWND sheet, int id);

// Retitles an item through the tree's in-place editing. False when the tree
// refused to start editing.
bool EditTitle(HWND tree, HTREEITEM item, const std::string& title);

// Sends the page a button's click (whether or not the button is enabled)
// and answers the message box it opens with
// answer (IDYES, IDNO). The texts of every box shown, in order.
struct MessageBoxSeen {
    std::string caption;
    std::string text;
};
std::vector<MessageBoxSeen> ClickAndAnswer(HWND sheet, int buttonId, int answer);
// Runs action and answers every message box it opens over the sheet.
std::vector<MessageBoxSeen> AnswerMessageBoxes(HWND sheet, const std::function<void()>& action,
                                               int answer);

// Mouse and drag messages to the page, in the page's client coordinates.
POINT ItemPointInPage(HWND sheet, HTREEITEM item);
void BeginDrag(HWND sheet, HTREEITEM item);
void MoveMouse(HWND sheet, POINT pagePoint);
void ReleaseButton(HWND sheet, POINT pagePoint);
// Drags item onto target: begin, move over the target, release there.
void DragOnto(HWND sheet, HTREEITEM item, HTREEITEM target);

// The titles of the item's children, in order.
std::vector<std::string> ChildTitles(const ItemView& item);
