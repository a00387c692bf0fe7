// Every registry write of the settings editor asks here first, so that a test
// can make any one of them fail the way a full registry or a denied key does.
#pragma once
#include <windows.h>

enum class RegistryWrite { kCreateKey, kSetValue, kRenameKey, kDeleteTree };

// Answers ERROR_SUCCESS to let the write go ahead, or the error it fails with.
using RegistryWriteFilter = LONG (*)(RegistryWrite write);

// Installs a filter; null removes it. Only tests install one.
void SetRegistryWriteFilter(RegistryWriteFilter filter);

// ERROR_SUCCESS, or the installed filter's answer for this write.
LONG FilterRegistryWrite(RegistryWrite write);
