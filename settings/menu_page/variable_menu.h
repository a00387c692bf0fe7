// The menu of the button "変数..." beside the string box: every variable a
// text can hold, with its Japanese name and, where it has one, today's value
// as the plug-in would insert it, and the syntax that choosing it inserts.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

struct VariableChoice {
    std::string label;  // "日付 (2026/12/08)"
    std::string syntax; // "{{date}}"
};

std::vector<VariableChoice> VariableChoices(const SYSTEMTIME& now);

// Shows the choices as a popup menu at the given screen point, owned by
// owner; the chosen syntax, or empty when the menu was closed.
std::string ChooseVariable(HWND owner, POINT at, const SYSTEMTIME& now);
