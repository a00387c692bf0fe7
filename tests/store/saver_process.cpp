#include "saver_process.h"

#include <string>

namespace {
const char kStartedEvent[] = "TevrixMenuSaverStarted";
const char kCounterName[] = "TevrixMenuSaverSaves";
} // namespace

double NowMs() {
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

SaverProcess::SaverProcess(char which, int saves, int pauseMs) {
    started_ = CreateEventA(nullptr, TRUE, FALSE, kStartedEvent);
    counter_ = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                  2 * sizeof(LONG), kCounterName);
    if (counter_)
        saves_ = static_cast<volatile LONG*>(
            MapViewOfFile(counter_, FILE_MAP_ALL_ACCESS, 0, 0, 2 * sizeof(LONG)));
    if (saves_)
        saves_[0] = saves_[1] = 0;
    std::string command = std::string("menu_saver.exe ") + which + " " + std::to_string(saves) +
                          " " + kStartedEvent + " " + kCounterName + " " + std::to_string(pauseMs);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    if (!saves_ || !CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr,
                                   nullptr, &startup, &process_))
        return;
    CloseHandle(process_.hThread);
    HANDLE waits[] = {started_, process_.hProcess};
    running_ = WaitForMultipleObjects(2, waits, FALSE, 60000) == WAIT_OBJECT_0;
    startedAt_ = NowMs();
}

SaverProcess::~SaverProcess() {
    if (process_.hProcess) {
        TerminateProcess(process_.hProcess, 99);
        WaitForSingleObject(process_.hProcess, 30000);
        CloseHandle(process_.hProcess);
    }
    if (saves_)
        UnmapViewOfFile(const_cast<LONG*>(saves_));
    if (counter_)
        CloseHandle(counter_);
    CloseHandle(started_);
}

bool SaverProcess::Ended() const {
    return WaitForSingleObject(process_.hProcess, 0) == WAIT_OBJECT_0;
}

int SaverProcess::Wait() const {
    DWORD code = static_cast<DWORD>(-1);
    if (WaitForSingleObject(process_.hProcess, 120000) == WAIT_OBJECT_0)
        GetExitCodeProcess(process_.hProcess, &code);
    return static_cast<int>(code);
}

void SaverProcess::Kill() const {
    TerminateProcess(process_.hProcess, 99);
    WaitForSingleObject(process_.hProcess, 30000);
}

LONG SaverProcess::SavesBegun() const {
    return saves_ ? InterlockedCompareExchange(const_cast<LONG*>(saves_), 0, 0) : 0;
}

LONG SaverProcess::SavesDone() const {
    return saves_ ? InterlockedCompareExchange(const_cast<LONG*>(saves_) + 1, 0, 0) : 0;
}
