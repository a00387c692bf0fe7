#include "shared_menu_steps.h"

#include <shlobj.h>

namespace {
std::wstring LocalFolder() {
    wchar_t folder[MAX_PATH] = L"";
    SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder);
    std::wstring path = std::wstring(folder) + L"\\Ostrel";
    CreateDirectoryW(path.c_str(), nullptr);
    path += L"\\Tevrix";
    CreateDirectoryW(path.c_str(), nullptr);
    return path + L"\\";
}

std::wstring Wide(const std::string& ascii) {
    return std::wstring(ascii.begin(), ascii.end());
}

// The title and image; the item data of this tree is no string.
std::string TitleOf(HWND tree, HTREEITEM item, int* image = nullptr) {
    TVITEMA query{};
    char title[256] = "";
    query.mask = TVIF_TEXT | TVIF_IMAGE;
    query.hItem = item;
    query.pszText = title;
    query.cchTextMax = sizeof title;
    TreeView_GetItem(tree, &query);
    if (image)
        *image = query.iImage;
    return title;
}

HTREEITEM ChildTitled(HWND tree, HTREEITEM parent, const std::string& title) {
    for (HTREEITEM item = TreeView_GetChild(tree, parent); item;
         item = TreeView_GetNextSibling(tree, item))
        if (TitleOf(tree, item) == title)
            return item;
    return nullptr;
}

std::string Describe(HWND tree, HTREEITEM first) {
    std::string text;
    for (HTREEITEM item = first; item; item = TreeView_GetNextSibling(tree, item)) {
        TVITEMA query{};
        std::string title = TitleOf(tree, item, &query.iImage);
        text += (text.empty() ? "" : "|") + title + "#" + std::to_string(query.iImage);
        if (HTREEITEM child = TreeView_GetChild(tree, item))
            text += "{" + Describe(tree, child) + "}";
        else if (query.iImage != 0)
            text += "{}";
    }
    return text;
}
} // namespace

void WriteStateFile(const StateFile* state) {
    std::wstring file = LocalFolder() + L"shared-menu-state.ini";
    DeleteFileW(file.c_str());
    if (!state)
        return;
    const wchar_t* section = L"SharedMenu";
    WritePrivateProfileStringW(section, L"Source", state->source.c_str(), file.c_str());
    const std::pair<const wchar_t*, const std::string*> keys[] = {
        {L"CopyRead", &state->copyRead},         {L"Entries", &state->entries},
        {L"LastCheck", &state->lastCheck},       {L"Problem", &state->problem},
        {L"ProblemSince", &state->problemSince}, {L"HttpStatus", &state->httpStatus}};
    for (const auto& key : keys)
        WritePrivateProfileStringW(section, key.first, Wide(*key.second).c_str(), file.c_str());
}

void WriteLocalCopy(const std::string* bytes) {
    std::wstring path = LocalFolder() + L"shared-menu.json";
    DeleteFileW(path.c_str());
    if (!bytes)
        return;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, bytes->data(), static_cast<DWORD>(bytes->size()), &written, nullptr);
    CloseHandle(file);
}

std::string ShownTime(const std::string& utc) {
    SYSTEMTIME time{};
    time.wYear = static_cast<WORD>(std::stoi(utc.substr(0, 4)));
    time.wMonth = static_cast<WORD>(std::stoi(utc.substr(5, 2)));
    time.wDay = static_cast<WORD>(std::stoi(utc.substr(8, 2)));
    time.wHour = static_cast<WORD>(std::stoi(utc.substr(11, 2)));
    time.wMinute = static_cast<WORD>(std::stoi(utc.substr(14, 2)));
    SYSTEMTIME local{};
    SystemTimeToTzSpecificLocalTime(nullptr, &time, &local);
    char text[32];
    wsprintfA(text, "%04d/%02d/%02d %02d:%02d", local.wYear, local.wMonth, local.wDay, local.wHour,
              local.wMinute);
    return text;
}

Step OnSharedPage(std::function<void(HWND page)> action) {
    return OnSheet([action](HWND sheet) {
        SelectPage(sheet, 0);
        SelectPage(sheet, kSharedPageIndex);
        action(CurrentPage(sheet));
    });
}

std::string DescribeSharedTree(HWND page) {
    HWND tree = GetDlgItem(page, kSharedTree);
    return Describe(tree, TreeView_GetRoot(tree));
}

void SelectSharedItem(HWND page, const std::vector<std::string>& titles) {
    HWND tree = GetDlgItem(page, kSharedTree);
    HTREEITEM item = TreeView_GetRoot(tree);
    for (const std::string& title : titles)
        item = ChildTitled(tree, item, title);
    TreeView_SelectItem(tree, item);
}

std::string StoredRootString(const char* name) {
    return StoreValueExists("", name) ? ReadStoreString("", name) : "(none)";
}

std::string FileBytes(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return "(none)";
    std::string bytes(GetFileSize(file, nullptr), '\0');
    DWORD read = 0;
    ReadFile(file, &bytes[0], static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(file);
    bytes.resize(read);
    return bytes;
}
