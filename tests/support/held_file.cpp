#include "held_file.h"

HeldFile::HeldFile(const std::wstring& path, DWORD holdMs)
    : file_(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                        OPEN_EXISTING, 0, nullptr)),
      holdMs_(holdMs), thread_(nullptr) {
    if (Opened())
        thread_ = CreateThread(nullptr, 0, Release, this, 0, nullptr);
}

HeldFile::~HeldFile() {
    if (thread_) {
        WaitForSingleObject(thread_, holdMs_ + 10000);
        CloseHandle(thread_);
    } else if (Opened()) {
        CloseHandle(file_);
    }
}

DWORD WINAPI HeldFile::Release(void* self) {
    HeldFile* held = static_cast<HeldFile*>(self);
    Sleep(held->holdMs_);
    CloseHandle(held->file_);
    return 0;
}
