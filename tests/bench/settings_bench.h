// The settings editor's figures: the menu tree page's load and save, and the
// two imports, run on the page's classes linked into the benchmark.
#pragma once
#include <vector>

#include "bench_table.h"

void BenchSettings(std::vector<BenchRow>* rows);
