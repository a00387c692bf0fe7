// A host that lacks one of the host functions must not get the plug-in: the
// plug-in shows its load-failure message and refuses to load. The host runs as
// a child process, so that a box nobody closes cannot hang this program.
#include <gtest/gtest.h>
#include <windows.h>

#include <string.h>

#include <map>
#include <string>

#include "child_process.h"

namespace {

const DWORD ChildTimeoutMs = 30000;

std::string Unhex(const std::string& hex) {
    std::string bytes;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    return bytes;
}

// Runs the child and returns its "key=value" lines; exitCode is -1 on timeout.
std::map<std::string, std::string> RunChild(const char* folder, DWORD* exitCode) {
    std::string output;
    std::wstring wideFolder(folder, folder + strlen(folder));
    std::wstring exe = wideFolder + L"\\Quorvan.exe";
    *exitCode =
        RunChildProcess(exe, L"\"" + exe + L"\"", wideFolder.c_str(), ChildTimeoutMs, &output);
    std::map<std::string, std::string> values;
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
