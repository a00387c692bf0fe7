// The binary boundary between the mail client and the plug-in: the callback
// shape the plug-in hands to the host and the three host functions it calls.
// Every value that crosses is one machine word (32 bits in the product build).
#pragma once
#include <windows.h>

// Opaque value naming a compose window; the plug-in only hands it back to the
// host in QPASendGetEditor.
typedef UINT_PTR ComposeWindowRef;

// A menu callback: the host calls it with the compose window and the data value
// that was registered with it. The result carries no meaning.
typedef LRESULT(WINAPI* QPACallback)(ComposeWindowRef window, LPARAM data);

// The three host functions the plug-in calls.
typedef UINT(WINAPI* QPARegistCallbackFn)(QPACallback callback, LPARAM data);
typedef HWND(WINAPI* QPASendGetEditorFn)(ComposeWindowRef window);
typedef LPCSTR(WINAPI* QPAGetMailboxFn)(void);

// The menu kind of a compose window's menu build; the same number as the
// ordinal of QPCSendInitMenu.
#define QPC_MENU_KIND_COMPOSE 302
