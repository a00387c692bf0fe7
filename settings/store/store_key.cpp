#include "settings/store/store_key.h"

#include "settings/store/registry_writes.h"

#include <utility>
#include <vector>

namespace {
const REGSAM kAccess = KEY_READ | KEY_WRITE;
const DWORD kNameBufferSize = 1024;
// Key names are at most 255 characters, 510 Shift-JIS bytes, but the ANSI
// functions pass longer ones on some systems; SubKeyNames grows its buffer
// until a name fits, up to this bound.
const DWORD kLargestNameBufferSize = 64 * 1024;
const size_t kMinimumStringBuffer = 1024;

HKEY CreateKey(HKEY parent, const char* name) {
    HKEY created = nullptr;
    if (!parent || FilterRegistryWrite(RegistryWrite::kCreateKey) != ERROR_SUCCESS ||
        ::RegCreateKeyExA(parent, name, 0, nullptr, REG_OPTION_NON_VOLATILE, kAccess, nullptr,
                          &created, nullptr) != ERROR_SUCCESS)
        return nullptr;
    return created;
}

HKEY OpenKey(HKEY parent, const char* name) {
    HKEY opened = nullptr;
    if (!parent || ::RegOpenKeyExA(parent, name, 0, kAccess, &opened) != ERROR_SUCCESS)
        return nullptr;
    return opened;
}
} // namespace

CStoreKey::CStoreKey(HKEY handle, std::string name) : m_hKey(handle), m_strName(std::move(name)) {}

CStoreKey::~CStoreKey() {
    Close();
}

CStoreKey::CStoreKey(CStoreKey&& other) noexcept
    : m_hKey(std::exchange(other.m_hKey, nullptr)), m_strName(std::move(other.m_strName)) {}

CStoreKey& CStoreKey::operator=(CStoreKey&& other) noexcept {
    if (this != &other) {
        Close();
        m_hKey = std::exchange(other.m_hKey, nullptr);
        m_strName = std::move(other.m_strName);
    }
    return *this;
}

void CStoreKey::Close() {
    if (m_hKey)
        ::RegCloseKey(m_hKey);
    m_hKey = nullptr;
}

LONG CStoreKey::QueryValue(const char* name, DWORD* type, void* buffer, DWORD* size) const {
    DWORD storedSize = 0;
    LONG status = ::RegQueryValueExA(m_hKey, name, nullptr, type, nullptr, &storedSize);
    if (status != ERROR_SUCCESS)
        return status;
    DWORD readSize = *size;
    status = ::RegQueryValueExA(m_hKey, name, nullptr, type, static_cast<BYTE*>(buffer), &readSize);
    *size = readSize;
    return status;
}

BOOL CStoreKey::ReadDword(const char* name, DWORD& value, DWORD defaultValue) const {
    value = defaultValue;
    DWORD read = defaultValue;
    DWORD size = sizeof read;
    // Only a value of exactly four bytes is a number; a shorter one (a string
    // "1", a single binary byte) would otherwise read as its first bytes, and
    // a longer one does not fit.
    if (!m_hKey ||
        ::RegQueryValueExA(m_hKey, name, nullptr, nullptr, reinterpret_cast<BYTE*>(&read), &size) !=
            ERROR_SUCCESS ||
        size != sizeof read)
        return FALSE;
    value = read;
    return TRUE;
}

DWORD CStoreKey::GetDword(const char* name, DWORD defaultValue) const {
    DWORD value;
    ReadDword(name, value, defaultValue);
    return value;
}

BOOL CStoreKey::ReadString(const char* name, std::string& value, const char* defaultText) const {
    // One read into a buffer of the usual size settles most values; a longer
    // value is read again into a buffer of the size the registry reports (a
    // few times, should it change in between). One byte more always holds a
    // NUL, since stored strings carry none.
    std::vector<char> buffer(kMinimumStringBuffer + 1);
    DWORD size = kMinimumStringBuffer;
    LONG status = m_hKey ? ::RegQueryValueExA(m_hKey, name, nullptr, nullptr,
                                              reinterpret_cast<BYTE*>(buffer.data()), &size)
                         : ERROR_INVALID_HANDLE;
    for (int attempt = 0; status == ERROR_MORE_DATA && attempt < 4; ++attempt) {
        size = 0;
        status = ::RegQueryValueExA(m_hKey, name, nullptr, nullptr, nullptr, &size);
        if (status != ERROR_SUCCESS)
            break;
        buffer.assign(static_cast<size_t>(size) + 1, '\0');
        status = ::RegQueryValueExA(m_hKey, name, nullptr, nullptr,
                                    reinterpret_cast<BYTE*>(buffer.data()), &size);
    }
    if (status != ERROR_SUCCESS) {
        value = defaultText ? defaultText : "";
        return FALSE;
    }
    buffer[size < buffer.size() ? size : buffer.size() - 1] = '\0';
    value = buffer.data();
    return TRUE;
}

BOOL CStoreKey::SetValue(const char* name, DWORD type, const void* data, DWORD size) const {
    return FilterRegistryWrite(RegistryWrite::kSetValue) == ERROR_SUCCESS &&
           ::RegSetValueExA(m_hKey, name, 0, type, static_cast<const BYTE*>(data), size) ==
               ERROR_SUCCESS;
}

BOOL CStoreKey::WriteDword(const char* name, DWORD value) const {
    return SetValue(name, REG_DWORD, &value, sizeof value);
}

BOOL CStoreKey::WriteString(const char* name, const char* text) const {
    return SetValue(name, REG_SZ, text, static_cast<DWORD>(lstrlenA(text)));
}

BOOL CStoreKey::DeleteValue(const char* name) const {
    if (FilterRegistryWrite(RegistryWrite::kSetValue) != ERROR_SUCCESS)
        return FALSE;
    LONG status = ::RegDeleteValueA(m_hKey, name);
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

CStoreKey CStoreKey::CreateSubKey(const char* name) const {
    return CStoreKey(CreateKey(m_hKey, name), name);
}

CStoreKey CStoreKey::OpenSubKey(const char* name, BOOL create) const {
    HKEY handle = OpenKey(m_hKey, name);
    if (!handle && create)
        handle = CreateKey(m_hKey, name);
    return CStoreKey(handle, name);
}

CStoreKey CStoreKey::GetSubKey(DWORD index) const {
    char name[kNameBufferSize];
    DWORD length = sizeof name;
    if (!m_hKey || ::RegEnumKeyExA(m_hKey, index, name, &length, nullptr, nullptr, nullptr,
                                   nullptr) != ERROR_SUCCESS)
        return CStoreKey(); // opening "" would open this key itself
    return OpenSubKey(name, FALSE);
}

std::vector<std::string> CStoreKey::SubKeyNames(bool* complete) const {
    std::vector<std::string> names;
    if (complete)
        *complete = m_hKey != nullptr;
    if (!m_hKey)
        return names;
    std::vector<char> name(512);
    for (DWORD index = 0;;) {
        DWORD length = static_cast<DWORD>(name.size());
        LONG status = ::RegEnumKeyExA(m_hKey, index, name.data(), &length, nullptr, nullptr,
                                      nullptr, nullptr);
        if (status == ERROR_MORE_DATA && name.size() < kLargestNameBufferSize) {
            name.resize(name.size() * 2);
            continue; // the same index again
        }
        if (status == ERROR_SUCCESS) {
            names.emplace_back(name.data(), length);
        } else if (status != ERROR_MORE_DATA) {
            if (complete && status != ERROR_NO_MORE_ITEMS)
                *complete = false;
            return names;
        }
        ++index;
    }
}

int CStoreKey::CountSubKeys() const {
    if (!m_hKey)
        return -1;
    int count = 0;
    for (;;) {
        char name[kNameBufferSize];
        DWORD length = sizeof name;
        LONG status = ::RegEnumKeyExA(m_hKey, static_cast<DWORD>(count), name, &length, nullptr,
                                      nullptr, nullptr, nullptr);
        // A name too long for the buffer is still a subkey; any other failure
        // would repeat at every index, so it ends the count.
        if (status != ERROR_SUCCESS && status != ERROR_MORE_DATA)
            return count;
        ++count;
    }
}

namespace {
// The UTF-16 form of a key name; empty when it has none.
std::wstring WideName(const char* name) {
    int length = ::MultiByteToWideChar(CP_ACP, 0, name, -1, nullptr, 0);
    if (length <= 1)
        return std::wstring();
    std::wstring wide(static_cast<size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, name, -1, &wide[0], length);
    wide.resize(static_cast<size_t>(length) - 1);
    return wide;
}
} // namespace

BOOL CStoreKey::DeleteTree(const char* name) const {
    // By UTF-16 names: a key whose name has a character without a Shift-JIS
    // form comes out of the ANSI enumeration altered, cannot be opened or
    // deleted under that name, and would keep the whole subtree in place, so
    // that the next save merged the new menu into the old one.
    if (!m_hKey || !name)
        return TRUE;
    std::wstring wideName = WideName(name);
    if (wideName.empty())
        return FALSE; // "" would name this key itself
    if (FilterRegistryWrite(RegistryWrite::kDeleteTree) != ERROR_SUCCESS)
        return FALSE;
    LONG status = ::RegDeleteTreeW(m_hKey, wideName.c_str());
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

BOOL CStoreKey::RenameSubKey(const char* name, const char* newName) const {
    std::wstring wideName = WideName(name);
    std::wstring wideNewName = WideName(newName);
    if (!m_hKey || wideName.empty() || wideNewName.empty() ||
        FilterRegistryWrite(RegistryWrite::kRenameKey) != ERROR_SUCCESS)
        return FALSE;
    return ::RegRenameKey(m_hKey, wideName.c_str(), wideNewName.c_str()) == ERROR_SUCCESS;
}

CStoreRootKey::CStoreRootKey(const char* company, const char* product) {
    HKEY software = OpenKey(HKEY_CURRENT_USER, "Software");
    HKEY companyKey = CreateKey(software, company);
    m_hKey = CreateKey(companyKey, product);
    if (companyKey)
        ::RegCloseKey(companyKey);
    if (software)
        ::RegCloseKey(software);
}
