// The benchmark: runs every figure for 100, 1,000 and 10,000 entries and
// prints one table of medians. Not a test: it judges nothing and always
// succeeds; README.md records its table and what the goals made of it.
#include <stdio.h>
#include <string.h>

#include "bench_table.h"
#include "picker_bench.h"
#include "plugin_bench.h"
#include "settings_bench.h"
#include "tests/plugin/plugin_harness.h"

// With the argument "picker", only the picker's rows; with "reader", only the
// reader thread's.
int main(int argc, char** argv) {
    if (!Plugin().module) {
        fprintf(stderr, "Tevrix.dll could not be loaded\n");
        return 1;
    }
    std::vector<BenchRow> rows;
    if (argc > 1 && strcmp(argv[1], "picker") == 0) {
        BenchPicker(&rows);
        PrintTable(rows);
        return 0;
    }
    if (argc > 1 && strcmp(argv[1], "reader") == 0) {
        BenchReader(&rows);
        PrintTable(rows);
        return 0;
    }
    BenchPlugin(&rows);
    BenchReader(&rows);
    BenchPicker(&rows);
    BenchSettings(&rows);
    PrintTable(rows);
    BenchMenuInsertion();
    return 0;
}
