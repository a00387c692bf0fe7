// The stand-in mail client's side of the plug-in boundary, for the demo host
// and the plug-in's test programs: what the host records and how a program
// drives it.
#pragma once
#include "../plugin/host/host_api.h"

namespace host {

// Command ids handed out by QPARegistCallback start here and run on by one.
const UINT kFirstCommandId = 40000;

struct Registration {
    QPACallback callback;
    LPARAM data;
};

// The mailbox folder QPAGetMailbox returns; it should end in a backslash.
void SetMailbox(const char* folder);

// Which editor QPASendGetEditor returns for a compose window (null removes it).
void SetEditor(ComposeWindowRef window, HWND editor);

// Every callback registered so far, in the order of their command ids.
size_t RegistrationCount();
const Registration* FindRegistration(UINT commandId);
void ForgetRegistrations();

// Calls the callback registered under commandId as the host does when the user
// chooses that menu item; false when the id was never handed out.
bool InvokeCommand(UINT commandId, ComposeWindowRef window);

} // namespace host
