// The plug-in's figures: the menu build against its floors, and the
// address-book popup.
#pragma once
#include <vector>

#include "bench_table.h"

void BenchPlugin(std::vector<BenchRow>* rows);

// Prints a second table: the cost of one menu item append by the popup's size.
void BenchMenuInsertion();
