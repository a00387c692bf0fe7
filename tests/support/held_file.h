// A file held open as a reader holds it (read access, others may read and
// delete it) for a while, on a thread of its own: the rename that replaces the
// file fails until the reader lets go.
#pragma once
#include <windows.h>

#include <string>

class HeldFile {
  public:
    HeldFile(const std::wstring& path, DWORD holdMs);
    ~HeldFile(); // waits for the release
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;
    bool Opened() const { return file_ != INVALID_HANDLE_VALUE; }

  private:
    static DWORD WINAPI Release(void* self);
    HANDLE file_;
    DWORD holdMs_;
    HANDLE thread_;
};
