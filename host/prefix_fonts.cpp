// Maps the Japanese dialog font names onto the installed IPA font in the Wine
// prefix, so that Wine draws the dialogs' Japanese text. The names must be
// written as UTF-16: the full-width name cannot pass through a narrow tool.
#include <windows.h>

int main() {
    HKEY key;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Wine\\Fonts\\Replacements", 0, nullptr, 0,
                        KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return 1;
    const wchar_t* target = L"IPAPGothic";
    const wchar_t* names[] = {L"MS PGothic", L"\xFF2D\xFF33 \xFF30\x30B4\x30B7\x30C3\x30AF",
                              L"MS UI Gothic", L"MS Gothic",
                              L"\xFF2D\xFF33 \x30B4\x30B7\x30C3\x30AF"};
    for (const wchar_t* name : names)
        RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(target),
                       static_cast<DWORD>((lstrlenW(target) + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
    return 0;
}
