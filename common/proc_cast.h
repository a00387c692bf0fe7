// Typed access to a function found by GetProcAddress. FARPROC carries the
// WINAPI convention, and so must every type this is used with; the bits are
// copied rather than cast so that no function-pointer cast is written.
#pragma once
#include <windows.h>

#include <cstring>

template <typename Function> Function ProcAs(FARPROC proc) {
    static_assert(sizeof(Function) == sizeof(FARPROC), "a function pointer");
    Function function;
    std::memcpy(&function, &proc, sizeof function);
    return function;
}

template <typename Function> Function GetProcAs(HMODULE module, LPCSTR name) {
    return ProcAs<Function>(GetProcAddress(module, name));
}
