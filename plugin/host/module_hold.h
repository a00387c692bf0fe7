// References on the plug-in's own module for the modal loops it runs inside a
// host call (the settings sheet, the picker, the questions of a text). The
// host's other windows stay usable during such a loop, and a host that
// unloads the plug-in from one of them must not unmap the code that the loop
// returns into.
#pragma once

// Takes one reference on the plug-in; call before the loop starts. A loop
// whose reference cannot be taken still counts as running, so that the
// references of loops that ended before it, or inside it, stay until it ends.
void HoldPluginForModalLoop(void);

// The loop has ended. Its reference stays until the host calls again: were it
// the last one, dropping it here would unmap the code being returned into.
void EndModalLoop(void);

// Drops the references of the loops that have ended. Every entry point calls
// it first: a call from the host shows that the host still holds the plug-in,
// so none of these references can be the last.
void ReleaseEndedModalLoops(void);
