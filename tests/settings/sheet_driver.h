// Runs the settings editor's sheet from the real Vandry.dll and drives it as a
// user would: one action per timer tick inside the sheet's modal loop.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

using SheetAction = std::function<void(HWND sheet)>;

// Loads Vandry.dll, calls SetUpTevrix, runs the actions in order (one per
// tick, once the sheet is open) and returns when the sheet has closed. False
// when the sheet did not close by itself before the deadline.
bool RunSettingSheet(const std::vector<SheetAction>& actions);

// Actions and queries on an open sheet.
void SelectPage(HWND sheet, int index);
HWND CurrentPage(HWND sheet);
std::string CurrentTabTitle(HWND sheet);
void PressSheetButton(HWND sheet, int button); // PSBTN_OK, PSBTN_APPLYNOW, PSBTN_CANCEL
bool ApplyEnabled(HWND sheet);
void ClickControl(HWND page, int id);
bool IsChecked(HWND page, int id);

// The store's "UseAddress", or -1 when it is absent.
long long StoredUseAddress();
void StoreUseAddress(DWORD value);
// A number value of the store's root; -1 when it is absent.
long long StoredRootNumber(const char* name);
void StoreRootNumber(const char* name, DWORD value);
