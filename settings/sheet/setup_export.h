// The settings editor's only export: shows the settings sheet modally and
// returns when the user has closed it.
#pragma once
#include <windows.h>

extern "C" void WINAPI SetUpTevrix();

using SetUpTevrixProc = void(WINAPI*)();
