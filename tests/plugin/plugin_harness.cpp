#include "plugin_harness.h"

#include "host/host_stub.h"
#include "common/proc_cast.h"
#include "store_reset.h"

namespace {
const char* const StoreRoot = "Software\\Ostrel\\Tevrix";

PluginEntryPoints LoadPlugin() {
    PluginEntryPoints p = {};
    p.module = LoadLibraryA("Tevrix.dll");
    if (!p.module)
        return p;
    p.GetPlugName = GetProcAs<decltype(p.GetPlugName)>(p.module, "QPCGetPlugName");
    p.StartUp = GetProcAs<decltype(p.StartUp)>(p.module, "QPCStartUp");
    p.CleanUp = GetProcAs<decltype(p.CleanUp)>(p.module, "QPCCleanUp");
    p.ViewClose = GetProcAs<decltype(p.ViewClose)>(p.module, "QPCViewClose");
    p.SendInitMenu = GetProcAs<decltype(p.SendInitMenu)>(p.module, "QPCSendInitMenu");
    return p;
}
} // namespace

const PluginEntryPoints& Plugin() {
    static const PluginEntryPoints plugin = LoadPlugin();
    return plugin;
}

HKEY CreateStoreKey(const std::string& path) {
    std::string full = StoreRoot;
    if (!path.empty())
        full += "\\" + path;
    HKEY key = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, full.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                    nullptr);
    return key;
}

void WriteStoreBytes(const std::string& path, const char* name, const std::string& bytes) {
    HKEY key = CreateStoreKey(path);
    // A copy followed by a non-NUL byte, so that nothing past the count can be
    // taken for a terminator.
    std::string padded = bytes + "X";
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(padded.data()),
                   static_cast<DWORD>(bytes.size()));
    RegCloseKey(key);
}

void WriteStoreNumber(const std::string& path, const char* name, DWORD value) {
    HKEY key = CreateStoreKey(path);
    RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    RegCloseKey(key);
}

std::string WriteTextEntry(const std::string& menuPath, int index, const std::string& title,
                           const std::string& text) {
    std::string path = menuPath + "\\URL" + std::to_string(index);
    WriteStoreBytes(path, nullptr, title);
    WriteStoreBytes(path, "URL", text);
    WriteStoreNumber(path, "Type", 0);
    return path;
}

std::string WriteSubmenuEntry(const std::string& menuPath, int index, const std::string& title) {
    std::string path = menuPath + "\\URL" + std::to_string(index);
    WriteStoreBytes(path, nullptr, title);
    WriteStoreNumber(path, "Type", 1);
    return path;
}

std::vector<MenuItem> ReadMenu(HMENU menu) {
    std::vector<MenuItem> items;
    int count = GetMenuItemCount(menu);
    for (int position = 0; position < count; ++position) {
        char text[1024] = {};
        MENUITEMINFOA info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = sizeof text;
        GetMenuItemInfoA(menu, position, TRUE, &info);
        items.push_back({info.fType, info.fState, info.wID, info.hSubMenu, text});
    }
    return items;
}

HMENU BuildComposeMenu(int hostItems) {
    HMENU menu = CreatePopupMenu();
    for (int i = 0; i < hostItems; ++i)
        AppendMenuA(menu, MF_STRING, 100 + i, ("host item " + std::to_string(i)).c_str());
    Plugin().SendInitMenu(0, menu, QPC_MENU_KIND_COMPOSE);
    return menu;
}

HMENU FindPopup(HMENU menu, const char* text) {
    std::vector<MenuItem> items = ReadMenu(menu);
    for (const MenuItem& item : items)
        if (item.submenu && item.text == text)
            return item.submenu;
    return nullptr;
}

HMENU TextPopup(HMENU hostMenu) {
    return FindPopup(hostMenu, "文字列を挿入");
}

namespace {
void CollectDataValues(HMENU popup, std::vector<LPARAM>* values) {
    for (const MenuItem& item : ReadMenu(popup)) {
        if (item.submenu) {
            CollectDataValues(item.submenu, values);
        } else if (const host::Registration* r = host::FindRegistration(item.id)) {
            values->push_back(r->data);
        }
    }
}
} // namespace

std::vector<LPARAM> DataValues(HMENU popup) {
    std::vector<LPARAM> values;
    CollectDataValues(popup, &values);
    return values;
}

ComposeEditor::ComposeEditor(ComposeWindowRef ref) : ref_(ref) {
    frame_ = CreateWindowExA(0, "STATIC", "compose", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr,
                             nullptr, GetModuleHandleA(nullptr), nullptr);
    edit_ = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOVSCROLL, 0,
                            0, 380, 260, frame_, nullptr, GetModuleHandleA(nullptr), nullptr);
    host::SetEditor(ref_, edit_);
}

ComposeEditor::~ComposeEditor() {
    host::SetEditor(ref_, nullptr);
    DestroyWindow(frame_);
}

void ComposeEditor::SetText(const std::string& text, int selectFrom, int selectTo) {
    SetWindowTextA(edit_, text.c_str());
    SendMessageA(edit_, EM_EMPTYUNDOBUFFER, 0, 0);
    SendMessageA(edit_, EM_SETSEL, selectFrom, selectTo);
}

std::string ComposeEditor::Text() const {
    int length = GetWindowTextLengthA(edit_);
    std::string text(length + 1, '\0');
    int got = GetWindowTextA(edit_, &text[0], length + 1);
    text.resize(got);
    return text;
}

bool ComposeEditor::Choose(UINT commandId) const {
    return host::InvokeCommand(commandId, ref_);
}

std::string InsertedText(UINT commandId) {
    ComposeEditor editor;
    editor.SetText("", 0, 0);
    editor.Choose(commandId);
    return editor.Text();
}

namespace {
struct DescribedItem {
    std::string title;
    UINT commandId;
    bool submenu;
    std::vector<DescribedItem> children;
};

std::vector<DescribedItem> CollectItems(HMENU popup) {
    std::vector<DescribedItem> items;
    for (const MenuItem& item : ReadMenu(popup)) {
        DescribedItem described{item.text, item.id, item.submenu != nullptr, {}};
        if (item.submenu)
            described.children = CollectItems(item.submenu);
        items.push_back(described);
    }
    return items;
}

std::string Describe(const std::vector<DescribedItem>& items, ComposeEditor& editor) {
    std::string description;
    for (const DescribedItem& item : items) {
        if (!description.empty())
            description += "|";
        if (item.submenu) {
            description += item.title + "{" + Describe(item.children, editor) + "}";
        } else if (host::FindRegistration(item.commandId)) {
            editor.SetText("", 0, 0);
            editor.Choose(item.commandId);
            description += item.title + "=" + editor.Text();
        } else {
            description += "[" + item.title + "]";
        }
    }
    return description;
}
} // namespace

std::string DescribePluginMenu(HMENU popup) {
    if (!popup)
        return "(no popup)";
    std::vector<DescribedItem> items = CollectItems(popup);
    ComposeEditor editor;
    return Describe(items, editor);
}

void PluginStoreTest::SetUp() {
    ASSERT_NE(Plugin().module, nullptr);
    ResetStore();
    host::ForgetRegistrations();
}

void PluginStoreTest::TearDown() {
    Plugin().CleanUp();
    ResetStore();
}
