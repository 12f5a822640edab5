#pragma once

// Ratios against a baseline measured in the same run: each iteration times the library's work
// and the baseline's back to back, so that load from other processes on a shared machine falls
// on both sides alike.

#include <benchmark/benchmark.h>

#include <chrono>
#include <utility>

namespace kw::bench {

template <class Work>
double Seconds(Work&& work) {
    const auto start = std::chrono::steady_clock::now();
    std::forward<Work>(work)();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Accumulates both sides and reports "ratio" (library time over baseline time). A scene that did
// no work is reported as an error rather than as a meaningless figure.
class RatioTimer {
public:
    template <class Work>
    double Library(Work&& work) {
        const double seconds = Seconds(std::forward<Work>(work));
        library_ += seconds;
        return seconds;
    }
    // Time of library work measured once and compared with more than one baseline.
    void AddLibrary(double seconds) { library_ += seconds; }
    template <class Work>
    void Baseline(Work&& work) {
        baseline_ += Seconds(std::forward<Work>(work));
    }

    // `liveCount` counts what the scene did (values decoded, texts resolved...).
    void Report(benchmark::State& state, double liveCount, const char* what,
                const char* counter = "ratio") {
        if (liveCount <= 0 || baseline_ <= 0) {
            state.SkipWithError(what);
            return;
        }
        state.counters[counter] = library_ / baseline_;
        state.counters["live"] = liveCount;
        if (state.iterations() > 0)
            state.counters["library_ms"] =
                1000 * library_ / static_cast<double>(state.iterations());
    }

private:
    double library_ = 0;
    double baseline_ = 0;
};

}  // namespace kw::bench
