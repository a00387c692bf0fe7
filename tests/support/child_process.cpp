#include "child_process.h"

namespace {

void ReadAvailable(HANDLE readEnd, std::string* output) {
    DWORD available = 0;
    char buffer[4096];
    while (PeekNamedPipe(readEnd, nullptr, 0, nullptr, &available, nullptr) && available) {
        DWORD got = 0;
        if (!ReadFile(readEnd, buffer, sizeof buffer < available ? sizeof buffer : available, &got,
                      nullptr) ||
            !got)
            return;
        output->append(buffer, got);
    }
}

} // namespace


DWORD RunChildProcess(const std::wstring& exe, std::wstring commandLine, const wchar_t* folder,
                      DWORD timeoutMs, std::string* output) {
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0))
        return static_cast<DWORD>(-1);
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    PROCESS_INFORMATION process = {};
    BOOL started = CreateProcessW(exe.c_str(), &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr,
                                  folder, &startup, &process);
    CloseHandle(writeEnd);
    DWORD exitCode = static_cast<DWORD>(-1);
    if (started) {
        DWORD begun = GetTickCount();
        for (;;) {
            bool ended = WaitForSingleObject(process.hProcess, 20) == WAIT_OBJECT_0;
            ReadAvailable(readEnd, output);
            if (ended) {
                GetExitCodeProcess(process.hProcess, &exitCode);
                break;
            }
            if (GetTickCount() - begun > timeoutMs) {
                TerminateProcess(process.hProcess, 99);
                WaitForSingleObject(process.hProcess, 5000);
                break;
            }
        }
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    CloseHandle(readEnd);
    return exitCode;
}
