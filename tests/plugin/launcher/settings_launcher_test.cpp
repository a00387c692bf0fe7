// QPCSetup: which settings editor it loads, that it calls the editor's export
// and unloads the editor again, and what it returns.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "child_process.h"
#include "import_patch.h"
#include "plugin_module.h"

namespace {
typedef LRESULT(WINAPI* SetupFn)(LPARAM);

// The two stand-in editors the build puts beside this program.
const char kWithExport[] = "fakes\\with_export\\Vandry.dll";
const char kWithoutExport[] = "fakes\\without_export\\Vandry.dll";
// Where the plug-in looks, in its order.
const char* const kPlaces[] = {"Plugins\\Vandry.dll", "Setup\\Vandry.dll", "Vandry.dll"};

std::string Variable(const char* name) {
    char value[MAX_PATH] = "";
    DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
    return length && length < sizeof value ? value : "";
}

// The path of a file in this program's folder.
std::string Beside(const char* relative) {
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder(path, length);
    return folder.substr(0, folder.find_last_of('\\') + 1) + relative;
}

class SettingsLauncher : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NE(plugin_.get(), nullptr);
        setup_ = plugin_.Entry<SetupFn>("QPCSetup");
        ASSERT_NE(setup_, nullptr);
        CreateDirectoryA(Beside("Plugins").c_str(), nullptr);
        CreateDirectoryA(Beside("Setup").c_str(), nullptr);
        RemoveEditors();
        for (const char* name :
             {"FAKE_VANDRY_ATTACHED", "FAKE_VANDRY_SETUP", "FAKE_VANDRY_DETACHED"})
            SetEnvironmentVariableA(name, nullptr);
    }
    void TearDown() override { RemoveEditors(); }

    void Place(const char* editor, const char* place) {
        ASSERT_TRUE(CopyFileA(Beside(editor).c_str(), Beside(place).c_str(), FALSE)) << place;
    }
    static void RemoveEditors() {
        for (const char* place : kPlaces)
            DeleteFileA(Beside(place).c_str());
    }

    // Runs QPCSetup and checks that no editor stays loaded afterwards.
    LRESULT RunSetup() {
        LRESULT result = setup_(0);
        EXPECT_EQ(GetModuleHandleA("Vandry.dll"), nullptr) << "the editor stayed loaded";
        return result;
    }

    PluginModule plugin_;
    SetupFn setup_ = nullptr;
};
} // namespace

TEST_F(SettingsLauncher, PluginsFolderWinsOverSetupAndOwnFolder) {
    Place(kWithExport, "Plugins\\Vandry.dll");
    Place(kWithExport, "Setup\\Vandry.dll");
    Place(kWithExport, "Vandry.dll");
    EXPECT_NE(RunSetup(), 0);
    EXPECT_EQ(Variable("FAKE_VANDRY_SETUP"), Beside("Plugins\\Vandry.dll"));
    EXPECT_EQ(Variable("FAKE_VANDRY_DETACHED"), Beside("Plugins\\Vandry.dll"));
}

TEST_F(SettingsLauncher, FallsBackToSetupThenToOwnFolder) {
    Place(kWithExport, "Setup\\Vandry.dll");
    Place(kWithExport, "Vandry.dll");
    EXPECT_NE(RunSetup(), 0);
    EXPECT_EQ(Variable("FAKE_VANDRY_SETUP"), Beside("Setup\\Vandry.dll"));

    DeleteFileA(Beside("Setup\\Vandry.dll").c_str());
    EXPECT_NE(RunSetup(), 0);
    EXPECT_EQ(Variable("FAKE_VANDRY_SETUP"), Beside("Vandry.dll"));
}

TEST_F(SettingsLauncher, NoEditorAnywhereReturnsZero) {
    EXPECT_EQ(RunSetup(), 0);
    EXPECT_EQ(Variable("FAKE_VANDRY_ATTACHED"), "");
}

TEST_F(SettingsLauncher, EditorWithoutExportIsUnloadedAtOnce) {
    // The first editor found is used even without its export; the one with
    // the export further down the search is never reached.
    Place(kWithoutExport, "Plugins\\Vandry.dll");
    Place(kWithExport, "Vandry.dll");
    EXPECT_NE(RunSetup(), 0);
    EXPECT_EQ(Variable("FAKE_VANDRY_ATTACHED"), Beside("Plugins\\Vandry.dll"));
    EXPECT_EQ(Variable("FAKE_VANDRY_DETACHED"), Beside("Plugins\\Vandry.dll"));
    EXPECT_EQ(Variable("FAKE_VANDRY_SETUP"), "");
}

// Planted libraries: a Vandry.dll in the current directory (a folder the user
// just saved an attachment to) and one in a folder on PATH are foreign code.
TEST_F(SettingsLauncher, EditorsInTheCurrentDirectoryOrOnPathAreNeverLoaded) {
    const std::string planted[] = {Beside("planted_cwd"), Beside("planted_path")};
    for (const std::string& folder : planted) {
        CreateDirectoryA(folder.c_str(), nullptr);
        ASSERT_TRUE(
            CopyFileA(Beside(kWithExport).c_str(), (folder + "\\Vandry.dll").c_str(), FALSE));
    }
    char savedDirectory[MAX_PATH] = "";
    GetCurrentDirectoryA(MAX_PATH, savedDirectory);
    std::string savedPath(32768, '\0');
    savedPath.resize(GetEnvironmentVariableA("PATH", &savedPath[0], 32768));
    SetCurrentDirectoryA(planted[0].c_str());
    SetEnvironmentVariableA("PATH", (planted[1] + ";" + savedPath).c_str());

    LRESULT result = RunSetup();

    SetCurrentDirectoryA(savedDirectory);
    SetEnvironmentVariableA("PATH", savedPath.c_str());
    EXPECT_EQ(result, 0);
    EXPECT_EQ(Variable("FAKE_VANDRY_ATTACHED"), "");
    for (const std::string& folder : planted) {
        DeleteFileA((folder + "\\Vandry.dll").c_str());
        RemoveDirectoryA(folder.c_str());
    }
}

namespace {
const wchar_t kChildVariable[] = L"TEVRIX_LAUNCHER_CHILD";

std::wstring OwnPathW() {
    std::wstring path(32768, L'\0');
    path.resize(GetModuleFileNameW(nullptr, &path[0], 32768));
    return path;
}

std::wstring FolderOf(const std::wstring& path) {
    return path.substr(0, path.find_last_of(L'\\') + 1);
}

std::wstring VariableW(const wchar_t* name) {
    std::wstring value(32768, L'\0');
    value.resize(GetEnvironmentVariableW(name, &value[0], 32768));
    return value;
}

// Runs this program's copy at exe with the child test alone; its exit code
// and output, or -1 when it could not start or did not end in time.
DWORD RunChildHost(const std::wstring& exe, std::string* output) {
    SetEnvironmentVariableW(kChildVariable, L"1");
    DWORD exitCode = RunChildProcess(
        exe, L"\"" + exe + L"\" --gtest_filter=SettingsLauncherAsHost.*", nullptr, 60000, output);
    SetEnvironmentVariableW(kChildVariable, nullptr);
    return exitCode;
}

// A copy of this stand-in host, the plug-in and an editor under Plugins in
// folder (created here, removed again when the object goes).
class HostCopy {
  public:
    explicit HostCopy(const std::wstring& folder) : folder_(folder) {
        std::wstring made;
        for (size_t start = 0; start < folder.size();) {
            size_t end = folder.find(L'\\', start);
            made = folder.substr(0, end == std::wstring::npos ? folder.size() : end);
            if (made.size() > 2)
                CreateDirectoryW(made.c_str(), nullptr);
            start = end == std::wstring::npos ? folder.size() : end + 1;
        }
        CreateDirectoryW((folder + L"\\Plugins").c_str(), nullptr);
        std::wstring own = FolderOf(OwnPathW());
        copied_ =
            CopyFileW(OwnPathW().c_str(), Exe().c_str(), FALSE) &&
            CopyFileW((own + L"Tevrix.dll").c_str(), (folder + L"\\Tevrix.dll").c_str(), FALSE) &&
            CopyFileW((own + L"fakes\\with_export\\Vandry.dll").c_str(),
                      (folder + L"\\Plugins\\Vandry.dll").c_str(), FALSE);
    }
    ~HostCopy() {
        for (const wchar_t* file : {L"\\Quorvan.exe", L"\\Tevrix.dll", L"\\Plugins\\Vandry.dll"})
            DeleteFileW((folder_ + file).c_str());
        RemoveDirectoryW((folder_ + L"\\Plugins").c_str());
        for (std::wstring folder = folder_; folder.size() > base_.size();
             folder = folder.substr(0, folder.find_last_of(L'\\')))
            RemoveDirectoryW(folder.c_str());
    }
    bool Copied() const { return copied_; }
    std::wstring Exe() const { return folder_ + L"\\Quorvan.exe"; }

  private:
    std::wstring folder_;
    std::wstring base_ = FolderOf(OwnPathW());
    bool copied_ = false;
};
} // namespace

// Runs only inside a copied host (see below): the plug-in beside it loads the
// editor from Plugins beside it.
TEST(SettingsLauncherAsHost, LoadsTheEditorBesideItself) {
    if (VariableW(kChildVariable).empty())
        GTEST_SKIP() << "runs in a copied host";
    PluginModule plugin;
    ASSERT_NE(plugin.get(), nullptr);
    EXPECT_NE(plugin.Entry<SetupFn>("QPCSetup")(0), 0);
    std::wstring expected = FolderOf(OwnPathW()) + L"Plugins\\Vandry.dll";
    EXPECT_TRUE(VariableW(L"FAKE_VANDRY_SETUP") == expected);
}

// The process's own path as a host in an unusual folder would have it.
std::wstring g_hostPath;

DWORD WINAPI ToldHostPath(HMODULE module, LPWSTR buffer, DWORD size) {
    if (module)
        return GetModuleFileNameW(module, buffer, size);
    DWORD length = static_cast<DWORD>(g_hostPath.size());
    if (length >= size)
        return 0;
    lstrcpyW(buffer, g_hostPath.c_str());
    return length;
}

// The file of the editor that QPCSetup loads for a host at hostExe, which the
// plug-in is told as the process's path (without a "\\?\" prefix).
std::wstring EditorLoadedForHostAt(const std::wstring& hostExe) {
    SetEnvironmentVariableW(L"FAKE_VANDRY_SETUP", nullptr);
    {
        PluginModule plugin;
        if (!plugin.get())
            return L"(the plug-in did not load)";
        g_hostPath = hostExe;
        ImportPatch told(plugin.get(), "KERNEL32.dll", "GetModuleFileNameW",
                         reinterpret_cast<void*>(ToldHostPath));
        EXPECT_TRUE(told.Patched());
        EXPECT_NE(plugin.Entry<SetupFn>("QPCSetup")(0), 0);
    }
    std::wstring loaded = VariableW(L"FAKE_VANDRY_SETUP");
    return loaded.compare(0, 4, L"\\\\?\\") == 0 ? loaded.substr(4) : loaded;
}

// A host folder whose name the ANSI code page cannot write (Japanese with
// Korean and an accent): the copied host runs from there.
TEST(SettingsLauncherHostFolders, TheEditorLoadsBesideAHostFolderOfAnyName) {
    HostCopy host(FolderOf(OwnPathW()) + L"ホスト 日本語 한국어 é");
    ASSERT_TRUE(host.Copied());
    std::string output;
    EXPECT_EQ(RunChildHost(host.Exe(), &output), 0u) << output;
    EXPECT_NE(output.find("[  PASSED  ] 1 test"), std::string::npos) << output;
}

// A host folder whose path passes MAX_PATH. Wine starts no program from
// there (CreateProcessW fails with ERROR_INVALID_NAME), so the plug-in is
// told that path for the process, and the editor lies below it.
TEST(SettingsLauncherHostFolders, TheEditorLoadsBesideAHostFolderPastMaxPath) {
    std::wstring folder = FolderOf(OwnPathW()) + L"ホスト";
    for (int level = 0; level < 3; ++level)
        folder += L"\\" + std::wstring(90, static_cast<wchar_t>(L'a' + level));
    ASSERT_GT(folder.size(), static_cast<size_t>(MAX_PATH));
    HostCopy host(folder);
    ASSERT_TRUE(host.Copied());
    EXPECT_TRUE(EditorLoadedForHostAt(host.Exe()) == folder + L"\\Plugins\\Vandry.dll");
}

// A host folder whose name ends in a dot beside one of the same name without
// it, each with an editor: the editor beside the host is loaded. Only a
// "\\?\" path names the first (any other form means the second), and Wine
// starts no program from there: the plug-in is told the host's path.
TEST(SettingsLauncherHostFolders, TheEditorLoadsBesideAHostFolderEndingInADot) {
    const std::wstring exact = L"\\\\?\\" + FolderOf(OwnPathW());
    const std::wstring folders[] = {exact + L"Host.", exact + L"Host"};
    for (const std::wstring& folder : folders) {
        CreateDirectoryW(folder.c_str(), nullptr);
        CreateDirectoryW((folder + L"\\Plugins").c_str(), nullptr);
        CopyFileW((exact + L"fakes\\with_export\\Vandry.dll").c_str(),
                  (folder + L"\\Plugins\\Vandry.dll").c_str(), FALSE);
    }
    std::wstring dotted = folders[0].substr(4);
    EXPECT_TRUE(EditorLoadedForHostAt(dotted + L"\\Quorvan.exe") ==
                dotted + L"\\Plugins\\Vandry.dll");
    for (const std::wstring& folder : folders) {
        DeleteFileW((folder + L"\\Plugins\\Vandry.dll").c_str());
        RemoveDirectoryW((folder + L"\\Plugins").c_str());
        RemoveDirectoryW(folder.c_str());
    }
}
