// The store the benchmark's figures read: entries text entries at the top
// level, written as the settings editor writes them.
#pragma once

void WriteFlatStore(int entries);
