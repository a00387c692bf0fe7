// The plug-in's process-wide state: one instance per loaded plug-in, shared by
// the entry points, the menu builders and the callbacks. Everything runs on the
// host's thread, so nothing here is guarded.
#pragma once
#include "host_api.h"
#include "plugin/menu/text_list.h"

// Menu item height and screen height, taken afresh at the start of each menu
// build; the popups start a new column when their running height passes the
// screen height.
struct MenuMetricsData {
    int itemHeight;
    int screenHeight;
};

// The host functions the plug-in calls, bound by name at load (host_binding.cpp).
struct HostFunctionTable {
    QPARegistCallbackFn RegistCallback;
    QPASendGetEditorFn SendGetEditor;
    QPAGetMailboxFn GetMailbox;
};

extern HINSTANCE PluginInstance;
extern HostFunctionTable HostFunctions;
extern MenuMetricsData MenuMetrics;
extern HMENU TextMenu;
extern HMENU AddressMenu;
extern TextList EntryTexts;
extern TextList AddressTexts;

// Callbacks handed to the host with every menu entry; data is an index into
// EntryTexts or AddressTexts.
LRESULT WINAPI EntryCallback(ComposeWindowRef window, LPARAM data);
LRESULT WINAPI AddressCallback(ComposeWindowRef window, LPARAM data);

// Replaces the editor's selection with text, byte for byte and undoable, then
// tears the popups down whether or not anything was inserted.
void InsertIntoEditor(ComposeWindowRef window, const char* text);

// Destroys both popups with all their submenus; the text lists stay.
void DestroyPopups(void);

// Fills a fresh AddressMenu and AddressTexts from the host's address books.
void BuildAddressMenu(void);
