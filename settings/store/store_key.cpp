#include "settings/store/store_key.h"

#include <utility>
#include <vector>

namespace {
const REGSAM kAccess = KEY_READ | KEY_WRITE;
const DWORD kNameBufferSize = 1024;
const size_t kMinimumStringBuffer = 1024;

HKEY CreateKey(HKEY parent, const char* name) {
    HKEY created = nullptr;
    if (!parent || ::RegCreateKeyExA(parent, name, 0, nullptr, REG_OPTION_NON_VOLATILE, kAccess,
                                     nullptr, &created, nullptr) != ERROR_SUCCESS)
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
    DWORD type = 0;
    DWORD read = defaultValue;
    DWORD size = sizeof read;
    // Only a value of exactly four bytes is a number; a shorter one (a string
    // "1", a single binary byte) would otherwise read as its first bytes.
    if (QueryValue(name, &type, &read, &size) != ERROR_SUCCESS || size != sizeof read)
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
    // The buffer starts with the default text; a value longer than the buffer
    // is read again into a buffer of its stored size. One extra byte always
    // holds a terminating NUL, since stored strings carry none.
    std::string defaults = defaultText ? defaultText : "";
    size_t capacity =
        defaults.size() > kMinimumStringBuffer ? defaults.size() : kMinimumStringBuffer;
    std::vector<char> buffer(capacity + 1, '\0');
    defaults.copy(buffer.data(), defaults.size());
    DWORD type = 0;
    DWORD size = static_cast<DWORD>(capacity);
    LONG status = QueryValue(name, &type, buffer.data(), &size);
    if (status == ERROR_MORE_DATA) {
        buffer.assign(static_cast<size_t>(size) + 1, '\0');
        status = QueryValue(name, &type, buffer.data(), &size);
    }
    if (status != ERROR_SUCCESS) {
        value = defaults;
        return FALSE;
    }
    buffer[size < buffer.size() ? size : buffer.size() - 1] = '\0';
    value = buffer.data();
    return TRUE;
}

BOOL CStoreKey::SetValue(const char* name, DWORD type, const void* data, DWORD size) const {
    return ::RegSetValueExA(m_hKey, name, 0, type, static_cast<const BYTE*>(data), size) ==
           ERROR_SUCCESS;
}

BOOL CStoreKey::WriteDword(const char* name, DWORD value) const {
    return SetValue(name, REG_DWORD, &value, sizeof value);
}

BOOL CStoreKey::WriteString(const char* name, const char* text) const {
    return SetValue(name, REG_SZ, text, static_cast<DWORD>(lstrlenA(text)));
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

BOOL CStoreKey::DeleteTree(const char* name) const {
    // By UTF-16 names: a key whose name has a character without a Shift-JIS
    // form comes out of the ANSI enumeration altered, cannot be opened or
    // deleted under that name, and would keep the whole subtree in place, so
    // that the next save merged the new menu into the old one.
    if (!m_hKey || !name)
        return TRUE;
    int length = ::MultiByteToWideChar(CP_ACP, 0, name, -1, nullptr, 0);
    if (length <= 1)
        return FALSE; // "" would name this key itself
    std::wstring wideName(static_cast<size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, name, -1, &wideName[0], length);
    LONG status = ::RegDeleteTreeW(m_hKey, wideName.c_str());
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
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
