#pragma once

#include <algorithm>
#include <chrono>

// The shortest of a few runs of f, in seconds: the figure least disturbed by
// whatever else the machine is doing.
template <class F>
double bestSeconds(F&& f, int runs) {
    double best = 1e9;
    for (int i = 0; i < runs; ++i) {
        const auto t0 = std::chrono::steady_clock::now();
        f();
        best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
    }
    return best;
}
