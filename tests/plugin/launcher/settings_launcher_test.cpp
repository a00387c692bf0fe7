// QPCSetup: which settings editor it loads, that it calls the editor's export
// and unloads the editor again, and what it returns.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

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
