// The column rule of long menus: each item adds its height to the menu's
// running height, and the item at which the running height passes the screen
// height starts a new column. The running height then restarts at 0, not at
// the height of that item, so every later column holds one item more than the
// first. Plain arithmetic, shared by every menu the plug-in builds.
#pragma once

// Adds itemHeight to *runningHeight; true when this item starts a new column
// (the running height is then reset to 0).
inline bool AddItemStartsColumn(int* runningHeight, int itemHeight, int screenHeight) {
    *runningHeight += itemHeight;
    if (screenHeight < *runningHeight) {
        *runningHeight = 0;
        return true;
    }
    return false;
}
