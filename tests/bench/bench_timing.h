// Timing for the benchmark: the median of several runs of one measured step,
// each run after an untimed preparation.
#pragma once
#include <windows.h>

#include <algorithm>
#include <functional>
#include <vector>

// Milliseconds since an arbitrary start, from the performance counter.
inline double NowMs() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

inline double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The median time of measured over runs runs; prepare runs untimed before each.
inline double MedianMs(int runs, const std::function<void()>& prepare,
                       const std::function<void()>& measured) {
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        if (prepare)
            prepare();
        double start = NowMs();
        measured();
        times.push_back(NowMs() - start);
    }
    return Median(times);
}

// Fewer runs for the largest sizes keep the whole benchmark to minutes.
inline int RunsFor(int entries) {
    return entries >= 10000 ? 5 : 9;
}
