#include "settings/shortcut_file.h"

#include <windows.h>

#include <vector>

namespace {
const DWORD kBufferStep = 1024;
}

std::string ReadShortcutAddress(const char* path) {
    std::vector<char> buffer(kBufferStep);
    for (;;) {
        DWORD size = static_cast<DWORD>(buffer.size());
        DWORD copied =
            ::GetPrivateProfileStringA("InternetShortcut", "URL", "", buffer.data(), size, path);
        // A buffer filled to its last character may have cut the value: read
        // again with more room until the value fits with room to spare.
        if (copied + 1 < size)
            return std::string(buffer.data(), copied);
        buffer.resize(size + kBufferStep);
    }
}
