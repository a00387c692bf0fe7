#include "address_fixture.h"

#include "host/host_stub.h"
#include "common/proc_cast.h"
#include "store_reset.h"

namespace {

typedef void(WINAPI* SendInitMenuFn)(LPARAM, HMENU, UINT);
typedef LRESULT(WINAPI* CleanUpFn)(void);

void Describe(HMENU menu, AddressView* view) {
    int count = GetMenuItemCount(menu);
    for (int position = 0; position < count; ++position) {
        char label[8192] = "";
        MENUITEMINFOA item = {};
        item.cbSize = sizeof item;
        item.fMask = MIIM_FTYPE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
        item.dwTypeData = label;
        item.cch = sizeof label;
        ASSERT_TRUE(GetMenuItemInfoA(menu, position, TRUE, &item));
        if (position)
            view->shape += ",";
        if (item.fType & MFT_MENUBREAK)
            view->shape += "|";
        if (item.fType & MFT_SEPARATOR) {
            view->shape += "-";
        } else if (item.hSubMenu) {
            view->shape += std::string(label) + "{";
            Describe(item.hSubMenu, view);
            view->shape += "}";
        } else {
            const host::Registration* registration = host::FindRegistration(item.wID);
            ASSERT_NE(registration, nullptr) << label;
            view->shape += std::string(label) + "=" + std::to_string(registration->data);
            view->commandIds.push_back(item.wID);
        }
    }
}

// The folder and everything in it, folders too: Wine reuses process ids, so a
// folder left behind would meet the next run's test of the same name.
void DeleteFolder(const std::string& folder) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                DeleteFolder(folder + name + "\\");
            else
                DeleteFileA((folder + name).c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
}

} // namespace

void AddressMenuTest::SetUp() {
    ResetStore();
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    mailbox_ = std::string(temp) + "tevrix-mailbox-" + std::to_string(GetCurrentProcessId()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name() + "\\";
    DeleteFolder(mailbox_);
    ASSERT_TRUE(CreateDirectoryA(mailbox_.c_str(), nullptr));
    host::SetMailbox(mailbox_.c_str());
    host::ForgetRegistrations();
    SetUseAddress(1);
    editor_ =
        CreateWindowExA(0, "EDIT", "", WS_POPUP | ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL, 0,
                        0, 200, 100, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(editor_, nullptr);
    host::SetEditor(kComposeWindow, editor_);
    plugin_ = LoadLibraryA("Tevrix.dll");
    ASSERT_NE(plugin_, nullptr);
}

void AddressMenuTest::TearDown() {
    if (plugin_) {
        GetProcAs<CleanUpFn>(plugin_, "QPCCleanUp")();
        FreeLibrary(plugin_);
    }
    DropHostMenu();
    host::SetEditor(kComposeWindow, nullptr);
    DestroyWindow(editor_);
    DeleteFolder(mailbox_);
    ResetStore();
}

void AddressMenuTest::WriteMailboxFile(const std::string& name, const std::string& bytes) {
    HANDLE file = CreateFileA((mailbox_ + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << name;
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    ASSERT_EQ(written, bytes.size());
}

void AddressMenuTest::SetAddressFile(const std::string& value) {
    WriteMailboxFile("Mailbox.ini", "[General]\r\nName=x\r\n[Property]\r\nAddressFile=" + value +
                                        "\r\nOther=y\r\n");
}

void AddressMenuTest::SetUseAddress(int value) {
    HKEY root = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Ostrel\\Tevrix", 0, nullptr, 0,
                              KEY_ALL_ACCESS, nullptr, &root, nullptr),
              ERROR_SUCCESS);
    if (value < 0) {
        RegDeleteValueA(root, "UseAddress");
    } else {
        DWORD number = static_cast<DWORD>(value);
        RegSetValueExA(root, "UseAddress", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                       sizeof number);
    }
    RegCloseKey(root);
}

void AddressMenuTest::DropHostMenu() {
    if (!hostMenu_)
        return;
    // The plug-in owns the popups; only the host's own menu goes here.
    while (GetMenuItemCount(hostMenu_) > 0)
        RemoveMenu(hostMenu_, 0, MF_BYPOSITION);
    DestroyMenu(hostMenu_);
    hostMenu_ = nullptr;
}

int AddressMenuTest::BuildHostMenu() {
    DropHostMenu();
    hostMenu_ = CreateMenu();
    GetProcAs<SendInitMenuFn>(plugin_, "QPCSendInitMenu")(0, hostMenu_, 302);
    return GetMenuItemCount(hostMenu_);
}

HMENU AddressMenuTest::AddressPopup() const {
    int count = GetMenuItemCount(hostMenu_);
    char label[64] = "";
    GetMenuStringA(hostMenu_, count - 1, label, sizeof label, MF_BYPOSITION);
    EXPECT_STREQ(label, "ｱﾄﾞﾚｽ帳から挿入");
    return GetSubMenu(hostMenu_, count - 1);
}

AddressView AddressMenuTest::ViewAddressPopup() const {
    AddressView view;
    HMENU popup = AddressPopup();
    EXPECT_TRUE(IsMenu(popup));
    if (popup)
        Describe(popup, &view);
    return view;
}

std::vector<std::string> AddressMenuTest::InsertedTexts(const std::vector<UINT>& commandIds) {
    std::vector<std::string> texts;
    for (UINT id : commandIds) {
        SetWindowTextA(editor_, "");
        EXPECT_TRUE(host::InvokeCommand(id, kComposeWindow));
        int length = GetWindowTextLengthA(editor_);
        std::string text(length + 1, '\0');
        GetWindowTextA(editor_, &text[0], length + 1);
        text.resize(length);
        texts.push_back(text);
    }
    return texts;
}
