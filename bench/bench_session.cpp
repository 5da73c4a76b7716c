// The J session and the noun list, in wall-clock time (the work runs on the session thread):
// (a) the round trip of Do("1+2") through the session against the same call on an engine
//     of the caller's own thread; target: under 50 us extra;
// (b) a refresh of the J noun list with 1,000 small nouns; target: under 10 ms;
// (c) a refresh with one noun of 30,000,000 elements against the same refresh without it;
//     target: under 1 ms extra, and resident memory growing by less than 1 MB meanwhile;
// (d) Enter with 1+1 with that noun defined against the same without it; target: at most 1.2.
#include "app/frmjmain.h"
#include "base/app_state.h"
#include "controls/text_box.h"
#include "engine/j_session.h"
#include "engine/jdll_engine.h"
#include "eval/expression_page.h"
#include "eval/jvar_list.h"
#include "support/test_app.h"

#include <benchmark/benchmark.h>

#include <QApplication>

#include <clocale>
#include <cstdio>
#include <fstream>
#include <map>
#include <string>

namespace {

TestApp* g_t = nullptr;
JEngine* g_direct = nullptr;  // an engine on this thread, for the round-trip baseline

// Resident and peak resident memory of the process, in kB.
long statusKb(const char* key) {
    std::ifstream f("/proc/self/status");
    std::string line;
    while (std::getline(f, line))
        if (line.rfind(key, 0) == 0) return std::stol(line.substr(std::string(key).size()));
    return -1;
}

void define(const QString& sentence) {
    if (g_t->app().J().Do(sentence) != 0) std::fprintf(stderr, "failed: %s\n", qPrintable(sentence));
}

void BM_SessionRoundTrip(benchmark::State& state) {
    IJEngine& j = g_t->app().J();
    for (auto _ : state)
        if (j.Do(QStringLiteral("1+2")) != 0) state.SkipWithError("Do failed");
}

void BM_DirectRoundTrip(benchmark::State& state) {
    for (auto _ : state)
        if (g_direct->Do(QStringLiteral("1+2")) != 0) state.SkipWithError("Do failed");
}

void BM_Refresh1000Nouns(benchmark::State& state) {
    AppState& app = g_t->app();
    app.J().Clear();
    define(QStringLiteral("(('n',\":)&.> i. 1000) =: <\"0 i. 1000"));
    JVarList& list = *g_t->main().jvarList;
    list.InitJVarList();
    list.RefreshFromJ(false);
    for (auto _ : state) list.RefreshFromJ(false);
    if (app.jvars.count() != 1000) state.SkipWithError("not all listed");
    app.J().Clear();
    list.InitJVarList();
}

// range(0): 1 with the big noun defined.
void BM_RefreshBigNoun(benchmark::State& state) {
    AppState& app = g_t->app();
    app.J().Clear();
    define(QStringLiteral("a=: 1 2 3"));
    if (state.range(0)) define(QStringLiteral("big=: 30000000 $ 0.5"));
    JVarList& list = *g_t->main().jvarList;
    list.InitJVarList();
    list.RefreshFromJ(false);
    long grown = 0;
    for (auto _ : state) {
        state.PauseTiming();
        std::ofstream("/proc/self/clear_refs") << "5";  // restarts the peak count
        const long before = statusKb("VmRSS:");
        state.ResumeTiming();
        list.RefreshFromJ(false);
        state.PauseTiming();
        grown = std::max(grown, statusKb("VmHWM:") - before);
        state.ResumeTiming();
    }
    state.counters["peak_kB"] = static_cast<double>(grown);
}

void BM_EnterOnePlusOne(benchmark::State& state) {
    AppState& app = g_t->app();
    frmjMain& m = g_t->main();
    app.J().Clear();
    if (state.range(0)) define(QStringLiteral("big=: 30000000 $ 0.5"));
    m.jvarList->InitJVarList();
    m.jvarList->RefreshFromJ(false);
    for (auto _ : state) {
        state.PauseTiming();
        m.Text2->setText(QString());
        m.Text1->setText(QStringLiteral("1+1"));
        state.ResumeTiming();
        int key = 13;
        m.expression->Text1_KeyPress(key);
    }
    app.J().Clear();
}

class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration || run.aggregate_name == "mean") {
                times[run.run_name.function_name + "/" + run.run_name.args] = run.GetAdjustedRealTime();
                if (auto c = run.counters.find("peak_kB"); c != run.counters.end())
                    peaks[run.run_name.args] = c->second;
            }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> times, peaks;
};

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qapp(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    TestApp t;
    t.showMain();
    QString error;
    std::unique_ptr<JEngine> direct = JEngine::create(&error);
    if (!t.app().hasEngine() || !direct) {
        std::fprintf(stderr, "no J engine: set KALVORET_J_HOME\n");
        return 1;
    }
    g_t = &t;
    g_direct = direct.get();

    benchmark::RegisterBenchmark("BM_SessionRoundTrip", BM_SessionRoundTrip)
        ->UseRealTime()
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("BM_DirectRoundTrip", BM_DirectRoundTrip)
        ->UseRealTime()
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("BM_Refresh1000Nouns", BM_Refresh1000Nouns)
        ->UseRealTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_RefreshBigNoun", BM_RefreshBigNoun)
        ->Arg(0)
        ->Arg(1)
        ->UseRealTime()
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("BM_EnterOnePlusOne", BM_EnterOnePlusOne)
        ->Arg(0)
        ->Arg(1)
        ->UseRealTime()
        ->Unit(benchmark::kMicrosecond);

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioReporter r;
    benchmark::RunSpecifiedBenchmarks(&r);
    benchmark::Shutdown();

    auto us = [&](const std::string& k, double scale) {
        return r.times.count(k) ? r.times[k] * scale : -1.0;
    };
    bool met = true;
    auto report = [&](const char* label, double value, double target, const char* unit) {
        const bool ok = value >= 0 && value <= target;
        met = met && ok;
        std::printf("%s %.3f %s (target < %.3g)%s\n", label, value, unit, target, ok ? "" : "  ABOVE TARGET");
    };
    std::printf("\n");
    report("session round trip, extra over a direct call:",
           us("BM_SessionRoundTrip/", 1) - us("BM_DirectRoundTrip/", 1), 50, "us");
    report("refresh with 1,000 nouns:                    ", us("BM_Refresh1000Nouns/", 1), 10, "ms");
    report("refresh, extra for a 30,000,000-element noun:",
           (us("BM_RefreshBigNoun/1", 1) - us("BM_RefreshBigNoun/0", 1)) / 1000, 1, "ms");
    report("  resident memory grown during that refresh: ", r.peaks["1"] / 1024, 1, "MB");
    const double enter = us("BM_EnterOnePlusOne/1", 1) / us("BM_EnterOnePlusOne/0", 1);
    report("Enter 1+1 with that noun / without:          ", enter, 1.2, "x");
    return met ? 0 : 2;
}
