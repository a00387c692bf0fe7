// The benchmark's result table: one row per figure, one column per size.
#pragma once
#include <string>
#include <vector>

const int kSizes[] = {100, 1000, 10000};
const int kSizeCount = 3;

struct BenchRow {
    std::string figure;
    double ms[kSizeCount]; // per size of kSizes; negative: not measured
    std::string goal;      // what the figure is held to, if anything
};

// Prints the rows as a Markdown table with the growth from 1,000 to 10,000.
void PrintTable(const std::vector<BenchRow>& rows);
