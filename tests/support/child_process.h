// Runs a program as a child process with its output captured, for tests
// whose subject must run in a process of its own (a host that shows a box
// nobody closes, a host copied to another folder).
#pragma once
#include <windows.h>

#include <string>

// Starts exe with commandLine (which names the program again, as a command
// line does) in folder (null: this process's), waits at most timeoutMs, and
// returns its exit code with what it wrote to its standard output and error;
// -1 when it could not start or did not end in time (it is then ended).
// The output is read while the child runs, never up to the pipe's end: a
// background process of Wine that the child starts (its desktop) inherits the
// write end and may hold it for as long as it lives.
DWORD RunChildProcess(const std::wstring& exe, std::wstring commandLine, const wchar_t* folder,
                      DWORD timeoutMs, std::string* output);
