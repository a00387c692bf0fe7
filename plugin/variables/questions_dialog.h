// The dialog that asks a text's questions before it is inserted: owned by the
// compose window, in front of it and on its monitor.
#pragma once
#include <windows.h>

#include "variable_expansion.h"

// Asks every question of the list in one dialog, each offering the answer
// given last time (while the mail client runs) or the text's default. True
// with every answer filled in when the user answers; false on Cancel or
// Escape, or when memory runs out.
bool AskQuestions(HWND editor, QuestionList* questions);
