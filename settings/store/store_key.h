// Registry keys of the menu store: values, subkeys and whole subtrees.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

// An open registry key, or none when opening or creating it failed. Every
// object owns its handle and closes it once when destroyed; objects move but
// do not copy, so no handle is closed while another object still uses it.
class CStoreKey {
  public:
    CStoreKey() = default;
    CStoreKey(HKEY handle, std::string name);
    virtual ~CStoreKey();
    CStoreKey(CStoreKey&& other) noexcept;
    CStoreKey& operator=(CStoreKey&& other) noexcept;
    CStoreKey(const CStoreKey&) = delete;
    CStoreKey& operator=(const CStoreKey&) = delete;

    HKEY GetHandle() const { return m_hKey; }
    // The name relative to the key it was opened from; empty for a root key.
    const std::string& GetName() const { return m_strName; }

    // The value's type and bytes, at most *size of them; *size becomes the
    // stored size. The system's error code: 0, ERROR_FILE_NOT_FOUND for a
    // missing value, ERROR_MORE_DATA when the buffer is too small.
    LONG QueryValue(const char* name, DWORD* type, void* buffer, DWORD* size) const;
    // The destination keeps the default unless a 4-byte value could be read.
    BOOL ReadDword(const char* name, DWORD& value, DWORD defaultValue) const;
    DWORD GetDword(const char* name, DWORD defaultValue) const;
    BOOL ReadString(const char* name, std::string& value, const char* defaultText) const;

    BOOL SetValue(const char* name, DWORD type, const void* data, DWORD size) const;
    BOOL WriteDword(const char* name, DWORD value) const;
    // A REG_SZ of the text's bytes, without a terminating NUL.
    BOOL WriteString(const char* name, const char* text) const;
    // Removes a value; TRUE also when there was none.
    BOOL DeleteValue(const char* name) const;

    // Creates the subkey, or opens it where it exists.
    CStoreKey CreateSubKey(const char* name) const;
    // Opens the subkey; creates it when it is missing and create is set.
    CStoreKey OpenSubKey(const char* name, BOOL create) const;
    // The subkey at an enumeration index; no handle past the last one.
    CStoreKey GetSubKey(DWORD index) const;
    // The names of the immediate subkeys, of any length, in the registry's
    // listing order. *complete (when given) is false when the listing ended
    // on an error (the key deleted under it) rather than at its end.
    std::vector<std::string> SubKeyNames(bool* complete = nullptr) const;
    // The number of immediate subkeys; -1 without a handle.
    int CountSubKeys() const;
    // Deletes the subkey with everything beneath it, deepest keys first.
    // TRUE also when there was no such subkey.
    BOOL DeleteTree(const char* name) const;
    // Gives the subkey, with everything beneath it, a new name in one step.
    // FALSE when the new name is taken.
    BOOL RenameSubKey(const char* name, const char* newName) const;

  protected:
    void Close();

    HKEY m_hKey = nullptr;
    std::string m_strName;
};

// HKEY_CURRENT_USER\Software\<company>\<product>, created where missing.
class CStoreRootKey : public CStoreKey {
  public:
    CStoreRootKey(const char* company, const char* product);
    ~CStoreRootKey() override = default;
};
