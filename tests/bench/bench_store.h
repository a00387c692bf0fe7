// The store the benchmark's figures read: entries text entries at the top
// level, written as the settings editor writes them.
#pragma once

void WriteFlatStore(int entries);

// entries text entries in submenus of 100 at the top level ("グループ g"),
// titled as in WriteFlatStore.
void WriteGroupedStore(int entries);

// The registry floor: enumerate the top-level entries and read each one's
// title, type and text once, into fixed buffers.
void ReadStoreFloor();
