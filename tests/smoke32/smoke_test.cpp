// The product's essential paths in one process, with the DLLs laid out as the
// mail client installs them (Plugins\Tevrix.dll, Plugins\Vandry.dll): load and
// binding, the entry points by ordinal as the host finds them, a menu build
// with a submenu, insertions through the callbacks the host calls, the
// address-book popup, and the settings sheet opened and closed through
// QPCSetup. Built for both targets; run from the 32-bit build under 32-bit
// Wine, it is where a wrong calling convention or a 64-bit assumption shows.
// The tests run in order and share the one loaded plug-in.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "host/host_stub.h"
#include "modal_closer.h"
#include "common/proc_cast.h"
#include "smoke_layout.h"
#include "store_reset.h"
#include "tests/plugin/plugin_harness.h"

namespace {

// Entry points as the host takes them: by ordinal.
struct ByOrdinal {
    LPCSTR(WINAPI* GetPlugName)(void);
    LRESULT(WINAPI* StartUp)(LPARAM);
    LRESULT(WINAPI* CleanUp)(void);
    LRESULT(WINAPI* Setup)(LPARAM);
    LRESULT(WINAPI* ViewClose)(LPARAM);
    void(WINAPI* SendInitMenu)(LPARAM, HMENU, UINT);
};

// Modal windows under a 32-bit Wine that runs under an emulator open slowly.
const DWORD kModalDeadlineMs = 180000;

class Smoke : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        ResetStore();
        host::ForgetRegistrations();
        // A refused load shows a message box from inside LoadLibrary: close it.
        ModalCloser closer(
            [] {
                if (HWND box = FindThreadWindow("#32770")) {
                    loadRefused_ = true;
                    PostMessageA(box, WM_COMMAND, IDOK, 0);
                }
            },
            50, kModalDeadlineMs);
        plugin_ = LoadLibraryA(BesideProgram("Plugins\\Tevrix.dll").c_str());
    }
    static void TearDownTestSuite() {
        if (plugin_)
            FreeLibrary(plugin_);
        plugin_ = nullptr;
        ResetStore();
    }
    void SetUp() override { ASSERT_NE(plugin_, nullptr) << "Plugins\\Tevrix.dll did not load"; }

    template <typename Function> static Function Ordinal(WORD ordinal) {
        return GetProcAs<Function>(plugin_, MAKEINTRESOURCEA(ordinal));
    }
    static ByOrdinal Entries() {
        ByOrdinal e{};
        e.GetPlugName = Ordinal<decltype(e.GetPlugName)>(1);
        e.StartUp = Ordinal<decltype(e.StartUp)>(3);
        e.CleanUp = Ordinal<decltype(e.CleanUp)>(4);
        e.Setup = Ordinal<decltype(e.Setup)>(5);
        e.ViewClose = Ordinal<decltype(e.ViewClose)>(201);
        e.SendInitMenu = Ordinal<decltype(e.SendInitMenu)>(302);
        return e;
    }

    static HMODULE plugin_;
    static bool loadRefused_;
};
HMODULE Smoke::plugin_ = nullptr;
bool Smoke::loadRefused_ = false;

// The text the registered entry with this command id inserts, chosen as the
// host does into an editor holding "<>" with the caret between the brackets.
std::string InsertBetweenBrackets(ComposeEditor& editor, UINT commandId) {
    editor.SetText("<>", 1, 1);
    EXPECT_TRUE(editor.Choose(commandId)) << commandId;
    return editor.Text();
}

const host::Registration* RegistrationOf(HMENU menu, int position) {
    return host::FindRegistration(GetMenuItemID(menu, position));
}

TEST_F(Smoke, LoadsFromThePluginsFolderAndBindsTheHost) {
    EXPECT_FALSE(loadRefused_);
    char path[MAX_PATH] = "";
    GetModuleFileNameA(GetModuleHandleA("Tevrix.dll"), path, sizeof path);
    EXPECT_EQ(std::string(path), BesideProgram("Plugins\\Tevrix.dll"));
    EXPECT_STREQ(Entries().GetPlugName(), "Tevrix");
}

TEST_F(Smoke, EntryPointsByOrdinalAreTheNamedOnes) {
    const struct {
        const char* name;
        WORD ordinal;
    } exports[] = {{"QPCGetPlugName", 1},   {"QPCVersionInfo", 2}, {"QPCStartUp", 3},
                   {"QPCCleanUp", 4},       {"QPCSetup", 5},       {"QPCViewClose", 201},
                   {"QPCSendInitMenu", 302}};
    for (const auto& e : exports) {
        FARPROC byOrdinal = GetProcAddress(plugin_, MAKEINTRESOURCEA(e.ordinal));
        EXPECT_NE(byOrdinal, nullptr) << e.name;
        EXPECT_EQ(byOrdinal, GetProcAddress(plugin_, e.name)) << e.name;
    }
    EXPECT_EQ(Entries().StartUp(0x7fffffff), 1);
}

TEST_F(Smoke, MenuBuildWithSubmenuAndInsertionThroughTheHostsCallback) {
    WriteTextEntry("URL", 0, "URL", "http://example.jp/");
    std::string signature = WriteSubmenuEntry("URL", 1, "署名");
    WriteTextEntry(signature, 0, "sig", "--\r\n山田 太郎");

    HMENU hostMenu = CreatePopupMenu();
    AppendMenuA(hostMenu, MF_STRING, 100, "host item");
    Entries().SendInitMenu(0, hostMenu, QPC_MENU_KIND_COMPOSE);
    ASSERT_EQ(GetMenuItemCount(hostMenu), 3);
    EXPECT_EQ(GetMenuState(hostMenu, 1, MF_BYPOSITION) & MF_SEPARATOR, UINT(MF_SEPARATOR));
    HMENU popup = TextPopup(hostMenu);
    ASSERT_NE(popup, nullptr);
    ASSERT_EQ(GetMenuItemCount(popup), 2);
    HMENU submenu = GetSubMenu(popup, 1);
    ASSERT_NE(submenu, nullptr);

    const host::Registration* url = RegistrationOf(popup, 0);
    const host::Registration* sig = RegistrationOf(submenu, 0);
    ASSERT_NE(url, nullptr);
    ASSERT_NE(sig, nullptr);
    EXPECT_EQ(url->data, 0);
    EXPECT_EQ(sig->data, 1);
    UINT urlId = GetMenuItemID(popup, 0), sigId = GetMenuItemID(submenu, 0);

    // The host calls the callback through its own WINAPI pointer; a callee of
    // another convention would leave the stack off by the arguments each time.
    ComposeEditor editor;
    EXPECT_EQ(InsertBetweenBrackets(editor, sigId), "<--\r\n山田 太郎>");
    EXPECT_FALSE(IsMenu(popup)) << "choosing an entry tears the popups down";
    for (int i = 0; i < 50; ++i)
        ASSERT_EQ(InsertBetweenBrackets(editor, i % 2 ? urlId : sigId),
                  i % 2 ? "<http://example.jp/>" : "<--\r\n山田 太郎>")
            << "choice " << i;
    DestroyMenu(hostMenu);
}

TEST_F(Smoke, AddressBookPopupInsertsItsEntries) {
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    std::string mailbox = std::string(temp) + "tevrix-smoke-mailbox\\";
    CreateDirectoryA(mailbox.c_str(), nullptr);
    ASSERT_TRUE(WriteFileBytes(mailbox + "Mailbox.ini", "[Property]\r\nAddressFile=*\r\n"));
    ASSERT_TRUE(WriteFileBytes(mailbox + "Address", "山田:yamada@example.jp\nB:b@example.jp\n"));
    host::SetMailbox(mailbox.c_str());
    WriteStoreNumber("", "UseAddress", 1);

    HMENU hostMenu = CreatePopupMenu();
    Entries().SendInitMenu(0, hostMenu, QPC_MENU_KIND_COMPOSE);
    HMENU addressPopup = FindPopup(hostMenu, "ｱﾄﾞﾚｽ帳から挿入");
    ASSERT_NE(addressPopup, nullptr);
    ASSERT_EQ(GetMenuItemCount(addressPopup), 2);
    std::vector<MenuItem> items = ReadMenu(addressPopup);
    EXPECT_EQ(items[0].text, "山田");
    const host::Registration* second = RegistrationOf(addressPopup, 1);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->data, 1);
    ComposeEditor editor;
    EXPECT_EQ(InsertBetweenBrackets(editor, items[0].id), "<yamada@example.jp>");
    DestroyMenu(hostMenu);

    DeleteFileA((mailbox + "Address").c_str());
    DeleteFileA((mailbox + "Mailbox.ini").c_str());
    RemoveDirectoryA(mailbox.c_str());
}

TEST_F(Smoke, SetupOpensTheSheetAndClosesIt) {
    std::string caption;
    ModalCloser closer(
        [&] {
            HWND sheet = FindThreadWindow("#32770");
            if (!sheet || !caption.empty())
                return;
            char text[64] = "";
            GetWindowTextA(sheet, text, sizeof text);
            caption = text;
            SendMessageA(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
        },
        50, kModalDeadlineMs);
    EXPECT_NE(Entries().Setup(0), 0);
    EXPECT_FALSE(closer.TimedOut()) << "the sheet did not close on Cancel";
    EXPECT_EQ(caption, "Tevrix 設定");
    EXPECT_EQ(GetModuleHandleA("Vandry.dll"), nullptr) << "the settings editor stayed loaded";
}

TEST_F(Smoke, CleanUpAndUnload) {
    HMENU hostMenu = CreatePopupMenu();
    Entries().SendInitMenu(0, hostMenu, QPC_MENU_KIND_COMPOSE);
    HMENU popup = TextPopup(hostMenu);
    ASSERT_NE(popup, nullptr);
    Entries().CleanUp();
    EXPECT_FALSE(IsMenu(popup));
    DestroyMenu(hostMenu);
    EXPECT_TRUE(FreeLibrary(plugin_));
    plugin_ = nullptr;
    EXPECT_EQ(GetModuleHandleA("Tevrix.dll"), nullptr);
}

} // namespace
