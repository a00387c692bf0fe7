// menu_saver.exe beside the test program, as a process of its own: started
// saving, waited for, or ended part-way, with the number of its saves that
// have returned, read from memory it shares with the test.
#pragma once
#include <windows.h>

double NowMs();

class SaverProcess {
  public:
    // Saves `which` ('A' or 'B') and then the other menu in turn, `saves`
    // times, pausing pauseMs after each; returns once the saver is about to
    // save.
    SaverProcess(char which, int saves, int pauseMs = 0);
    ~SaverProcess();
    SaverProcess(const SaverProcess&) = delete;
    SaverProcess& operator=(const SaverProcess&) = delete;

    bool Running() const { return running_; }
    double StartedAt() const { return startedAt_; }
    bool Ended() const;
    // Waits for the end; the exit code, or -1.
    int Wait() const;
    void Kill() const;
    // Saves begun, and saves that have returned, so far.
    LONG SavesBegun() const;
    LONG SavesDone() const;

  private:
    HANDLE started_ = nullptr;
    HANDLE counter_ = nullptr;
    volatile LONG* saves_ = nullptr;
    PROCESS_INFORMATION process_ = {};
    bool running_ = false;
    double startedAt_ = 0;
};
