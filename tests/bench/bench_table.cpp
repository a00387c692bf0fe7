#include "bench_table.h"

#include <stdio.h>

void PrintTable(const std::vector<BenchRow>& rows) {
    printf("| Figure (median ms) | 100 | 1,000 | 10,000 | 10,000 / 1,000 | Goal |\n");
    printf("|---|---:|---:|---:|---:|---|\n");
    for (const BenchRow& row : rows) {
        printf("| %s |", row.figure.c_str());
        for (int i = 0; i < kSizeCount; ++i) {
            if (row.ms[i] < 0)
                printf(" - |");
            else
                printf(" %.2f |", row.ms[i]);
        }
        if (row.ms[1] > 0 && row.ms[2] >= 0)
            printf(" %.1f |", row.ms[2] / row.ms[1]);
        else
            printf(" - |");
        printf(" %s |\n", row.goal.c_str());
    }
    fflush(stdout);
}
