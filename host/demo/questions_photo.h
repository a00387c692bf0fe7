// The questions a text asks at its insertion, in the demo: a reply opening
// that asks for the customer's name and the form of address, inserted from
// the compose window's menu with the variables switched on, photographed with
// a name typed in, and cancelled. The store is left as it was found.
#pragma once
#include <windows.h>

// Returns TRUE when the questions showed and their photograph was saved at path.
BOOL PhotographQuestions(HWND compose, const char* path);
