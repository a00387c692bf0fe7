#include "module_hold.h"

#include "plugin_state.h"

namespace {

// Loops still running, and the references taken for loops of either kind;
// loops nest (the sheet opened from a second compose window while the picker
// waits), so each keeps its own.
LONG RunningLoops = 0;
LONG HeldReferences = 0;

} // namespace

void HoldPluginForModalLoop(void) {
    HMODULE self = nullptr;
    ++RunningLoops;
    if (GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                           reinterpret_cast<LPCSTR>(PluginInstance), &self))
        ++HeldReferences;
}

void EndModalLoop(void) {
    if (RunningLoops > 0)
        --RunningLoops;
}

void ReleaseEndedModalLoops(void) {
    // The loops still running keep one reference each.
    while (HeldReferences > RunningLoops) {
        --HeldReferences;
        FreeLibrary(PluginInstance);
    }
}
