// Loads the plug-in beside the test program (which stands in for the host) for
// the length of one test.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>

#include "common/proc_cast.h"

class PluginModule {
  public:
    PluginModule() : module_(LoadLibraryA("Tevrix.dll")) {}
    ~PluginModule() {
        if (module_)
            FreeLibrary(module_);
    }
    PluginModule(const PluginModule&) = delete;
    PluginModule& operator=(const PluginModule&) = delete;

    HMODULE get() const { return module_; }
    template <typename Function> Function Entry(const char* name) const {
        return GetProcAs<Function>(module_, name);
    }

  private:
    HMODULE module_;
};
