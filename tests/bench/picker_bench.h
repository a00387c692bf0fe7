// The picker's figures: opening it over the whole menu, and one keystroke's
// filtering with the list redrawn.
#pragma once
#include <vector>

#include "bench_table.h"

void BenchPicker(std::vector<BenchRow>* rows);
