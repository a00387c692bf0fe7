// The 34 functions the mail client exports to its plug-ins. Three of them work
// (callback registration, the compose window's editor, the mailbox folder); the
// others exist so that a plug-in can bind them, and answer 0.
#include "host_stub.h"

#include <map>
#include <string>
#include <vector>

namespace {
std::vector<host::Registration> g_registrations;
std::map<ComposeWindowRef, HWND> g_editors;
std::string g_mailbox = "C:\\Quorvan\\";
} // namespace

namespace host {

void SetMailbox(const char* folder) { g_mailbox = folder ? folder : ""; }

void SetEditor(ComposeWindowRef window, HWND editor) {
    if (editor)
        g_editors[window] = editor;
    else
        g_editors.erase(window);
}

size_t RegistrationCount() { return g_registrations.size(); }

const Registration* FindRegistration(UINT commandId) {
    if (commandId < kFirstCommandId || commandId - kFirstCommandId >= g_registrations.size())
        return nullptr;
    return &g_registrations[commandId - kFirstCommandId];
}

void ForgetRegistrations() { g_registrations.clear(); }

bool InvokeCommand(UINT commandId, ComposeWindowRef window) {
    const Registration* r = FindRegistration(commandId);
    if (!r)
        return false;
    r->callback(window, r->data);
    return true;
}

} // namespace host

extern "C" {

UINT WINAPI QPARegistCallback(QPACallback callback, LPARAM data) {
    g_registrations.push_back({callback, data});
    return host::kFirstCommandId + static_cast<UINT>(g_registrations.size() - 1);
}

HWND WINAPI QPASendGetEditor(ComposeWindowRef window) {
    auto it = g_editors.find(window);
    return it == g_editors.end() ? nullptr : it->second;
}

LPCSTR WINAPI QPAGetMailbox(void) { return g_mailbox.c_str(); }

// Bound by the plug-in but never called: present with the right argument size.
#define QPA_UNUSED0(name)                                                                          \
    LRESULT WINAPI name(void) { return 0; }
#define QPA_UNUSED1(name)                                                                          \
    LRESULT WINAPI name(LPARAM) { return 0; }
#define QPA_UNUSED2(name)                                                                          \
    LRESULT WINAPI name(LPARAM, LPARAM) { return 0; }
#define QPA_UNUSED3(name)                                                                          \
    LRESULT WINAPI name(LPARAM, LPARAM, LPARAM) { return 0; }
#define QPA_UNUSED4(name)                                                                          \
    LRESULT WINAPI name(LPARAM, LPARAM, LPARAM, LPARAM) { return 0; }

QPA_UNUSED3(QPASetTimer)
QPA_UNUSED1(QPAKillTimer)
QPA_UNUSED0(QPAIsBusy)
QPA_UNUSED1(QPAExecQuorvan)
QPA_UNUSED1(QPAGetAccount)
QPA_UNUSED1(QPAGetFolderName)
QPA_UNUSED3(QPAImportFile)
QPA_UNUSED4(QPASaveMail)
QPA_UNUSED2(QPAMoveMail)
QPA_UNUSED3(QPAMarkMail)
QPA_UNUSED1(QPADeleteMail)
QPA_UNUSED1(QPAFolderGetCurrentFolder)
QPA_UNUSED1(QPAFolderGetCurrentEntry)
QPA_UNUSED2(QPAFolderGetSelectEntry)
QPA_UNUSED2(QPAFolderChangePassword)
QPA_UNUSED2(QPAFolderMailTo)
QPA_UNUSED2(QPAFolderReply)
QPA_UNUSED2(QPAFolderForward)
QPA_UNUSED3(QPAFolderOpenMail)
QPA_UNUSED2(QPASendGetText)
QPA_UNUSED1(QPASendGetHeader)
QPA_UNUSED2(QPASendSetText)
QPA_UNUSED2(QPASendSetHeader)
QPA_UNUSED1(QPAViewGetText)
QPA_UNUSED1(QPAViewGetHeader)
QPA_UNUSED2(QPAViewSetText)
QPA_UNUSED1(QPAViewGetPath)
QPA_UNUSED1(QPAViewGetEditor)
QPA_UNUSED2(QPAViewChangeMail)
QPA_UNUSED3(QPASjisToJis)
QPA_UNUSED3(QPAJisToSjis)

} // extern "C"
