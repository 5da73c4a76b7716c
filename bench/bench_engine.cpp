// GetB against the raw engine calls it wraps: JGetM plus a copy of the data into a
// std::vector, in the same run on the same J instance. Prints GetB time / raw time.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "engine/jdll_engine.h"

namespace {

JEngine& engine() {
    static JEngine* e = [] {
        QString error;
        std::unique_ptr<JEngine> created = JEngine::create(&error);
        if (!created) {
            std::fprintf(stderr, "%s\n", error.toUtf8().constData());
            std::exit(1);
        }
        if (created->Do("bench_int=: i. 1000 1000") != 0 ||
            created->Do("bench_float=: 1000 1000 $ 0.5") != 0) {
            std::fprintf(stderr, "could not create the benchmark nouns\n");
            std::exit(1);
        }
        return created.release();  // lives until the process ends
    }();
    return *e;
}

void getB(benchmark::State& state, const char* name) {
    JEngine& j = engine();
    const QString qname = QString::fromLatin1(name);
    HostValue v;
    for (auto _ : state) {
        if (j.GetB(qname, v) != 0) state.SkipWithError("GetB failed");
        benchmark::DoNotOptimize(v);
    }
    state.SetBytesProcessed(state.iterations() * v.count() * 8);
}

template <typename T>
void raw(benchmark::State& state, const char* name) {
    JEngine& j = engine();
    const JRawApi& api = j.rawApi();
    std::string qualified = std::string(name) + "_base_";
    std::int64_t count = 0;
    for (auto _ : state) {
        JRawApi::I type = 0, rank = 0, shape = 0, data = 0;
        if (api.JGetM(j.rawInstance(), qualified.data(), &type, &rank, &shape, &data) != 0)
            state.SkipWithError("JGetM failed");
        const auto* extents = reinterpret_cast<const JRawApi::I*>(shape);
        count = 1;
        for (JRawApi::I i = 0; i < rank; ++i) count *= extents[i];
        const T* p = reinterpret_cast<const T*>(data);
        std::vector<T> copy(p, p + count);
        benchmark::DoNotOptimize(copy.data());
    }
    state.SetBytesProcessed(state.iterations() * count * 8);
}

void BM_GetB_Integers(benchmark::State& state) { getB(state, "bench_int"); }
void BM_Raw_Integers(benchmark::State& state) { raw<std::int64_t>(state, "bench_int"); }
void BM_GetB_Floats(benchmark::State& state) { getB(state, "bench_float"); }
void BM_Raw_Floats(benchmark::State& state) { raw<double>(state, "bench_float"); }

BENCHMARK(BM_GetB_Integers)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Raw_Integers)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GetB_Floats)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Raw_Floats)->Unit(benchmark::kMillisecond);

// Keeps each run's time so the ratios can be printed after the table.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration || run.aggregate_name == "mean")
                times[run.run_name.function_name] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> times;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    constexpr double kTarget = 1.5;
    bool allMet = true;
    std::printf("\nGetB time / raw JGetM+copy time (target <= %.1f)\n", kTarget);
    for (const auto& [label, ours, base] :
         {std::tuple{"i. 1000 1000      ", "BM_GetB_Integers", "BM_Raw_Integers"},
          std::tuple{"1000 1000 $ 0.5   ", "BM_GetB_Floats", "BM_Raw_Floats"}}) {
        const auto a = reporter.times.find(ours), b = reporter.times.find(base);
        if (a == reporter.times.end() || b == reporter.times.end() || b->second <= 0) continue;
        const double ratio = a->second / b->second;
        allMet = allMet && ratio <= kTarget;
        std::printf("  %s %.2f%s\n", label, ratio, ratio <= kTarget ? "" : "  (above target)");
    }
    return allMet ? 0 : 2;
}
