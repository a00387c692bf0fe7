// The benchmark: runs every figure for 100, 1,000 and 10,000 entries and
// prints one table of medians. Not a test: it judges nothing and always
// succeeds; README.md records its table and what the goals made of it.
#include <stdio.h>

#include "bench_table.h"
#include "plugin_bench.h"
#include "settings_bench.h"
#include "tests/plugin/plugin_harness.h"

int main() {
    if (!Plugin().module) {
        fprintf(stderr, "Tevrix.dll could not be loaded\n");
        return 1;
    }
    std::vector<BenchRow> rows;
    BenchPlugin(&rows);
    BenchSettings(&rows);
    PrintTable(rows);
    BenchMenuInsertion();
    return 0;
}
