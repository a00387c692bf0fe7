#include "settings/store/registry_writes.h"

namespace {
RegistryWriteFilter g_filter;
}

void SetRegistryWriteFilter(RegistryWriteFilter filter) {
    g_filter = filter;
}

LONG FilterRegistryWrite(RegistryWrite write) {
    return g_filter ? g_filter(write) : ERROR_SUCCESS;
}
