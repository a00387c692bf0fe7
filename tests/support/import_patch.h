// Replaces one function that a loaded module imports from a DLL, by
// rewriting the module's import address table, for as long as the object
// lives: how a test makes a real DLL's allocations or menu calls fail.
#pragma once
#include <windows.h>

class ImportPatch {
  public:
    // dll as named in the module's import table ("msvcrt.dll"), matched
    // case-insensitively. Patched() is false when the module does not import
    // the function.
    ImportPatch(HMODULE module, const char* dll, const char* function, void* replacement);
    ~ImportPatch();
    ImportPatch(const ImportPatch&) = delete;
    ImportPatch& operator=(const ImportPatch&) = delete;

    bool Patched() const { return slot_ != nullptr; }
    // The function the module called before.
    void* Original() const { return original_; }

  private:
    void** slot_ = nullptr;
    void* original_ = nullptr;
};
