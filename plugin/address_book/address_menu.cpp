// The address-book popup: the books listed under "AddressFile" in the host's
// Mailbox.ini, in list order in one menu, with one running index. The list
// and the books are read again only when their file changed
// (address_cache.h).
#include "address_book_menu.h"
#include "address_cache.h"
#include "address_file_list.h"
#include "plugin/host/plugin_state.h"

#include <stdlib.h>
#include <string.h>

namespace {

const char kSettingsFileName[] = "Mailbox.ini";
const char kDefaultBookName[] = "Address";
const DWORD kFirstValueSize = 256;
const DWORD kValueSizeStep = 128;

// folder followed directly by name, as a heap string; null when it would not
// fit in limit bytes (0: no limit) or memory ran out.
char* JoinPath(const char* folder, const char* name, size_t nameLength, size_t limit) {
    size_t folderLength = strlen(folder);
    size_t size = folderLength + nameLength + 1;
    if (limit && size > limit)
        return nullptr;
    char* path = static_cast<char*>(malloc(size));
    if (!path)
        return nullptr;
    memcpy(path, folder, folderLength);
    memcpy(path + folderLength, name, nameLength);
    path[size - 1] = '\0';
    return path;
}

char* MailboxPath(const char* name, size_t nameLength, size_t limit) {
    const char* folder = HostFunctions.GetMailbox ? HostFunctions.GetMailbox() : nullptr;
    return folder ? JoinPath(folder, name, nameLength, limit) : nullptr;
}

// The whole "AddressFile" value, read into a buffer that grows while the
// value fills it; null when it is missing or empty.
char* ReadAddressFileValue(const char* settingsPath, DWORD* length) {
    for (DWORD size = kFirstValueSize;; size += kValueSizeStep) {
        char* value = static_cast<char*>(malloc(size));
        if (!value)
            return nullptr;
        *length =
            GetPrivateProfileStringA("Property", "AddressFile", "", value, size, settingsPath);
        if (*length == 0) {
            free(value);
            return nullptr;
        }
        if (*length != size - 1)
            return value;
        free(value);
    }
}

// Whether a listed path names its folder in full ("C:\..." or "\\server\..."),
// not through the process's current directory or current drive.
bool IsFullPath(const char* path, size_t length) {
    bool slash0 = length > 0 && (path[0] == '\\' || path[0] == '/');
    bool slash1 = length > 1 && (path[1] == '\\' || path[1] == '/');
    bool drive = length > 2 &&
                 ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z')) &&
                 path[1] == ':' && (path[2] == '\\' || path[2] == '/');
    return (slash0 && slash1) || drive;
}

// The path of one listed book: the host's own book for a "*" field. Any
// other path that does not name its folder in full is taken from the
// mailbox folder, beside Mailbox.ini, never from the current directory
// (which is whatever folder a file was last opened from).
char* BookPath(const AddressFileField& field) {
    if (field.isDefaultBook)
        return MailboxPath(kDefaultBookName, strlen(kDefaultBookName), 0);
    if (!IsFullPath(field.begin, field.length))
        return MailboxPath(field.begin, field.length, 0);
    return JoinPath("", field.begin, field.length, 0);
}

} // namespace

void BuildAddressMenu(void) {
    AddressMenu = CreateMenu();
    TextListClear(&AddressTexts);
    DWORD counter = 0;
    // A mailbox folder too long for the settings path leaves the popup empty.
    char* settingsPath = MailboxPath(kSettingsFileName, strlen(kSettingsFileName), MAX_PATH);
    if (!settingsPath)
        return;
    DWORD length = 0;
    const char* value = KeptAddressFileValue(settingsPath, &length, ReadAddressFileValue);
    free(settingsPath);
    if (!value)
        return;
    size_t position = 0;
    AddressFileField field;
    DWORD listed = 0;
    while (NextAddressFileField(value, length, &position, &field)) {
        char* path = BookPath(field);
        const ParsedBook* book = path ? AddressBookAt(listed, path) : nullptr;
        if (book)
            BuildAddressFileMenu(AddressMenu, book, counter);
        free(path);
        ++listed;
    }
    ForgetAddressBooksFrom(listed);
}
