#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

// The median, or -1 when nothing was measured.
template <class T>
T Median(std::vector<T> values) {
    if (values.empty()) return T(-1);
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Seconds the work takes.
template <class Work>
double Time(Work work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Prints a measured ratio against its target; true when it is met.
inline bool Report(const char* what, double ratio, double target) {
    std::printf("  %-40s %.2f (target at most %.1f) %s\n", what, ratio, target,
                ratio <= target ? "ok" : "TOO SLOW");
    return ratio <= target;
}
