// The plug-in's figures: the menu build against its floors, and the
// address-book popup.
#pragma once
#include <vector>

#include "bench_table.h"

void BenchPlugin(std::vector<BenchRow>* rows);

// Prints a second table: the cost of one menu item append by the popup's size.
void BenchMenuInsertion();

// The reader thread's rows: the first build after QPCStartUp once the reader
// has read the store, the repeated build, and builds while the shared source
// does not answer, against the bare-menu floor.
void BenchReader(std::vector<BenchRow>* rows);
