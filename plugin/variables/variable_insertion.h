// Insertion of a menu text (from the popup or the picker) with its variables
// filled in, when the store's "UseVariables" is on; the text goes in as
// stored when it is off.
#pragma once
#include "plugin/host/host_api.h"

// Inserts text into the compose window's editor like InsertIntoEditor, then
// tears the popups down. Escape in the questions, or memory running out,
// inserts nothing.
void InsertMenuText(ComposeWindowRef window, const char* text);
