// A host that lacks one of the host functions must not get the plug-in: the
// plug-in shows its load-failure message and refuses to load. The host runs as
// a child process, so that a box nobody closes cannot hang this program.
#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <string>

namespace {

const DWORD ChildTimeoutMs = 30000;

std::string Unhex(const std::string& hex) {
    std::string bytes;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    return bytes;
}

// Reads what the child writes while it runs and what is left once it has
// ended, without waiting for the end of the pipe: that comes only when every
// holder of the write end has closed it, and a background process of Wine that
// the child starts (its desktop) may hold it for as long as it lives.
std::string ReadWhileRunning(HANDLE readEnd, HANDLE process, DWORD* exitCode) {
    std::string output;
    DWORD started = GetTickCount();
    for (;;) {
        bool ended = WaitForSingleObject(process, 20) == WAIT_OBJECT_0;
        DWORD available = 0;
        char buffer[4096];
        while (PeekNamedPipe(readEnd, nullptr, 0, nullptr, &available, nullptr) && available) {
            DWORD got = 0;
            if (!ReadFile(readEnd, buffer, sizeof buffer < available ? sizeof buffer : available,
                          &got, nullptr) ||
                !got)
                break;
            output.append(buffer, got);
        }
        if (ended) {
            GetExitCodeProcess(process, exitCode);
            return output;
        }
        if (GetTickCount() - started > ChildTimeoutMs) {
            TerminateProcess(process, 99);
            WaitForSingleObject(process, 5000);
            return output;
        }
    }
}

// Runs the child and returns its "key=value" lines; exitCode is -1 on timeout.
std::map<std::string, std::string> RunChild(const char* folder, DWORD* exitCode) {
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    CreatePipe(&readEnd, &writeEnd, &inherit, 0);
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    PROCESS_INFORMATION process = {};
    std::string command = std::string(folder) + "\\Quorvan.exe";
    std::map<std::string, std::string> values;
    *exitCode = static_cast<DWORD>(-1);
    BOOL started = CreateProcessA(command.c_str(), nullptr, nullptr, nullptr, TRUE, 0, nullptr,
                                  folder, &startup, &process);
    CloseHandle(writeEnd);
    if (!started) {
        CloseHandle(readEnd);
        return values;
    }
    std::string output = ReadWhileRunning(readEnd, process.hProcess, exitCode);
    CloseHandle(readEnd);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    size_t start = 0;
    while (start < output.size()) {
        size_t end = output.find('\n', start);
        if (end == std::string::npos)
            end = output.size();
        std::string line = output.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        size_t equals = line.find('=');
        if (equals != std::string::npos)
            values[line.substr(0, equals)] = line.substr(equals + 1);
        start = end + 1;
    }
    return values;
}

TEST(PluginLoad, HostMissingOneFunctionIsRefusedWithMessage) {
    DWORD exitCode = 0;
    std::map<std::string, std::string> seen = RunChild("incomplete", &exitCode);
    ASSERT_EQ(exitCode, 0u) << "the child saw no message box (2) or hung (-1)";
    EXPECT_EQ(seen["loaded"], "0");
    EXPECT_EQ(seen["box"], "1");
    EXPECT_EQ(Unhex(seen["caption"]), "プラグインエラー");
    EXPECT_EQ(Unhex(seen["text"]), "プラグイン「Tevrix」でエラーが発生しました。\r\n"
                                   "Quorvan32とプラグインのバージョンを確認してください");
    EXPECT_EQ(seen["buttons"], "1");
    EXPECT_EQ(seen["button"], std::to_string(IDOK));
    EXPECT_EQ(seen["erroricon"], "1");
    EXPECT_EQ(seen["owned"], "0");
}

} // namespace
