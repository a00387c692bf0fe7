// Binds the 34 functions the host exports to its plug-ins. Only three are ever
// called, but a host that lacks any of them is not the host this plug-in was
// built for, so every name must resolve.
#include "host_binding.h"

#include "plugin_state.h"
#include "common/proc_cast.h"

HostFunctionTable HostFunctions;

namespace {

HMODULE HostModule;

// The host's exports, in the order they are resolved.
const char* const HostFunctionNames[] = {
    "_QPARegistCallback@8",
    "_QPASetTimer@12",
    "_QPAKillTimer@4",
    "_QPAIsBusy@0",
    "_QPAExecQuorvan@4",
    "_QPAGetMailbox@0",
    "_QPAGetAccount@4",
    "_QPAGetFolderName@4",
    "_QPAImportFile@12",
    "_QPASaveMail@16",
    "_QPAMoveMail@8",
    "_QPAMarkMail@12",
    "_QPADeleteMail@4",
    "_QPAFolderGetCurrentFolder@4",
    "_QPAFolderGetCurrentEntry@4",
    "_QPAFolderGetSelectEntry@8",
    "_QPAFolderChangePassword@8",
    "_QPAFolderMailTo@8",
    "_QPAFolderReply@8",
    "_QPAFolderForward@8",
    "_QPAFolderOpenMail@12",
    "_QPASendGetText@8",
    "_QPASendGetHeader@4",
    "_QPASendSetText@8",
    "_QPASendSetHeader@8",
    "_QPASendGetEditor@4",
    "_QPAViewGetText@4",
    "_QPAViewGetHeader@4",
    "_QPAViewSetText@8",
    "_QPAViewGetPath@4",
    "_QPAViewGetEditor@4",
    "_QPAViewChangeMail@8",
    "_QPASjisToJis@12",
    "_QPAJisToSjis@12",
};
const int HostFunctionCount = sizeof HostFunctionNames / sizeof HostFunctionNames[0];

// Rows of the three functions that are called.
const int RegistCallbackRow = 0;
const int GetMailboxRow = 5;
const int SendGetEditorRow = 25;

FARPROC BoundFunctions[HostFunctionCount];

void ForgetFunctions(void) {
    for (int row = 0; row < HostFunctionCount; ++row)
        BoundFunctions[row] = nullptr;
    HostFunctions = HostFunctionTable();
}

} // namespace

BOOL BindHost(void) {
    if (HostModule)
        return TRUE;
    // The host's own executable, already mapped in the process: a reference
    // on that module, never a file of that name loaded from the current
    // directory or PATH.
    HMODULE host = nullptr;
    if (!GetModuleHandleExA(0, "Quorvan.exe", &host))
        return FALSE;
    for (int row = 0; row < HostFunctionCount; ++row) {
        BoundFunctions[row] = GetProcAddress(host, HostFunctionNames[row]);
        if (!BoundFunctions[row]) {
            FreeLibrary(host);
            ForgetFunctions();
            return FALSE;
        }
    }
    HostModule = host;
    HostFunctions.RegistCallback = ProcAs<QPARegistCallbackFn>(BoundFunctions[RegistCallbackRow]);
    HostFunctions.SendGetEditor = ProcAs<QPASendGetEditorFn>(BoundFunctions[SendGetEditorRow]);
    HostFunctions.GetMailbox = ProcAs<QPAGetMailboxFn>(BoundFunctions[GetMailboxRow]);
    return TRUE;
}

void UnbindHost(void) {
    if (!HostModule)
        return;
    FreeLibrary(HostModule);
    HostModule = nullptr;
    ForgetFunctions();
}
