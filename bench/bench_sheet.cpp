// Sheet storage: 1,000,000 numbers written with screen updating off and read
// back (target: under 1 second), and the memory an empty sheet costs (target:
// under 5 MB).
#include "controls/sheet_model.h"

#include <benchmark/benchmark.h>

#include <QApplication>

#include <malloc.h>
#include <chrono>
#include <cstdio>
#include <memory>

namespace {

double writeAndRead(SheetModel& m) {
    m.setScreenUpdating(false);
    for (int c = 1; c <= 100; ++c)
        for (int r = 1; r <= 10000; ++r) m.setValue(r, c, static_cast<double>(r) + c * 0.5);
    m.setScreenUpdating(true);
    double sum = 0;
    for (int c = 1; c <= 100; ++c)
        for (int r = 1; r <= 10000; ++r) sum += std::get<double>(m.value(r, c));
    return sum;
}

void BM_MillionNumbers(benchmark::State& state) {
    for (auto _ : state) {
        SheetModel m;
        benchmark::DoNotOptimize(writeAndRead(m));
    }
}
BENCHMARK(BM_MillionNumbers)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();

    const size_t before = mallinfo2().uordblks;
    auto empty = std::make_unique<SheetModel>();
    const size_t after = mallinfo2().uordblks;

    auto t0 = std::chrono::steady_clock::now();
    SheetModel m;
    benchmark::DoNotOptimize(writeAndRead(m));
    const double secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    std::printf("write+read 1,000,000 numbers: %.3f s (target < 1 s, ratio to target %.2f)\n", secs,
                secs / 1.0);
    std::printf("empty sheet: %.2f MB (target < 5 MB, ratio to target %.2f)\n", (after - before) / 1048576.0,
                (after - before) / (5.0 * 1048576.0));
    return 0;
}
