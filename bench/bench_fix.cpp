// Fixing a fully filled 65536-by-26 selection (1,703,936 cells):
// - validation and conversion per cell against a plain loop that only converts
//   the same texts with strtod (target: at most 3 times as long);
// - the whole fix through the toolbar button, including the transfer to J and
//   the refresh of the J variable list (target: under 2 seconds).
#include "app/frmjmain.h"
#include "base/app_state.h"
#include "bench_support.h"
#include "controls/sheet_widget.h"
#include "engine/jdll_engine.h"
#include "matrix/cell_check.h"
#include "matrix/fixed_matrices.h"
#include "support/test_app.h"

#include <benchmark/benchmark.h>

#include <QAction>
#include <QApplication>

#include <algorithm>
#include <chrono>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int kRows = 65536;
constexpr int kCols = 26;

// Cell texts as a user fills a data sheet: integers, decimals, negative and
// exponent forms, some with blanks around them.
const std::vector<QString>& cellTexts() {
    static const std::vector<QString> texts = [] {
        std::vector<QString> out;
        out.reserve(static_cast<std::size_t>(kRows) * kCols);
        std::mt19937 rng(42);
        std::uniform_int_distribution<int> n(0, 999999), form(0, 9);
        for (int i = 0; i < kRows * kCols; ++i) {
            const int v = n(rng);
            switch (form(rng)) {
                case 0:
                    out.push_back(QString::number(v));
                    break;
                case 1:
                    out.push_back(QStringLiteral("-%1.%2").arg(v / 1000).arg(v % 1000));
                    break;
                case 2:
                    out.push_back(QStringLiteral("%1E-%2").arg(v % 100).arg(v % 7));
                    break;
                case 3:
                    out.push_back(QStringLiteral(" %1.5 ").arg(v));
                    break;
                default:
                    out.push_back(QStringLiteral("%1.%2").arg(v / 100).arg(v % 100, 2, 10, QLatin1Char('0')));
            }
        }
        return out;
    }();
    return texts;
}

double checkAndConvertAll() {
    const std::vector<QString>& texts = cellTexts();
    DataErrorList list;
    std::int16_t started = 0;
    double sum = 0;
    std::size_t k = 0;
    for (int i = 1; i <= kRows; ++i)
        for (int j = 1; j <= kCols; ++j) {
            QString t = texts[k++];
            if (std::optional<double> v = CheckAndConvertCell(i, j, t, list, started)) sum += *v;
        }
    if (started != 0) std::abort();  // every text is a sound number
    return sum;
}

// The raw limit: strtod over the same texts, each narrowed to the bytes strtod reads.
double strtodAll() {
    const std::vector<QString>& texts = cellTexts();
    double sum = 0;
    char buf[64];
    for (const QString& t : texts) {
        const qsizetype n = std::min<qsizetype>(t.size(), sizeof buf - 1);
        const char16_t* p = reinterpret_cast<const char16_t*>(t.utf16());
        for (qsizetype i = 0; i < n; ++i) buf[i] = static_cast<char>(p[i]);
        buf[n] = '\0';
        sum += std::strtod(buf, nullptr);
    }
    return sum;
}

void BM_CheckAndConvertPerCell(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(checkAndConvertAll());
    state.SetItemsProcessed(state.iterations() * kRows * kCols);
}
BENCHMARK(BM_CheckAndConvertPerCell)->Unit(benchmark::kMillisecond);

void BM_StrtodPerCell(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(strtodAll());
    state.SetItemsProcessed(state.iterations() * kRows * kCols);
}
BENCHMARK(BM_StrtodPerCell)->Unit(benchmark::kMillisecond);

// The program around the sheet: the real engine, the main window, the filled sheet.
struct FixRig {
    TestApp t;
    AppState* app = nullptr;
    frmjMain* main = nullptr;

    bool start() {
        main = &t.showMain();
        app = &t.app();
        if (!app->hasEngine()) return false;
        const std::vector<QString>& texts = cellTexts();
        SheetWidget& s = *main->Spreadsheet1;
        s.setScreenUpdating(false);
        std::size_t k = 0;
        for (int r = 1; r <= kRows; ++r)
            for (int c = 1; c <= kCols; ++c) s.setValue(r, c, texts[k++]);
        s.setScreenUpdating(true);
        return true;
    }

    // One fix of A1:Z65536 through the toolbar; true when slot 1 holds it.
    bool fix() {
        main->Spreadsheet1->select({1, 1, kRows, kCols});
        main->toolButton(QStringLiteral("行列確定"))->trigger();
        return app->fixed.count() == 1 && app->fixed.FixedTable[1].rows == kRows && t.msgBox.calls.empty();
    }
    void release() { main->matrices->ReleaseMatrices(); }
};

FixRig* g_rig = nullptr;

void BM_WholeFix(benchmark::State& state) {
    for (auto _ : state) {
        if (!g_rig->fix()) state.SkipWithError("the fix did not succeed");
        state.PauseTiming();
        g_rig->release();
        state.ResumeTiming();
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qapp(argc, argv);
    std::setlocale(LC_NUMERIC, "C");

    FixRig rig;
    if (!rig.start()) {
        std::fprintf(stderr, "no J engine: set KALVORET_J_HOME\n");
        return 1;
    }
    g_rig = &rig;
    benchmark::RegisterBenchmark("BM_WholeFix", BM_WholeFix)->Unit(benchmark::kMillisecond)->Iterations(3);

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();

    const double check = bestSeconds([] { benchmark::DoNotOptimize(checkAndConvertAll()); }, 5);
    const double raw = bestSeconds([] { benchmark::DoNotOptimize(strtodAll()); }, 5);
    std::printf("validation+conversion per cell: %.1f ns, strtod alone: %.1f ns, ratio %.2f (target <= 3)\n",
                check * 1e9 / (kRows * kCols), raw * 1e9 / (kRows * kCols), check / raw);

    bool ok = true;
    const double whole = bestSeconds([&] { ok = ok && rig.fix(); }, 1);
    rig.release();
    std::printf(
        "whole fix of 65536 x 26 text cells, J transfer included: %.3f s (target < 2 s, ratio to target "
        "%.2f)%s\n",
        whole, whole / 2.0, ok ? "" : " FAILED");
    return ok ? 0 : 1;
}
