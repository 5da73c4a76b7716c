// The J session and the noun list, in wall-clock time (the work runs on the session thread):
// (a) the round trip of Do("1+2") through the session against the same call on an engine
//     of the caller's own thread; target: under 50 us extra;
// (b) a refresh of the J noun list with 1,000 small nouns; target: under 10 ms;
// (c) a refresh with one noun of 30,000,000 elements against the same refresh without it;
//     target: under 1 ms extra, and resident memory growing by less than 1 MB meanwhile;
// (d) Enter with 1+1 with that noun defined against the same without it; target: at most 1.2;
// (e) how long Break takes to stop a runaway explicit loop and a tacit iteration (target:
//     under 1 s each), and a few long primitives (J looks for Break only in some of them).
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

#include <atomic>
#include <chrono>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>
#include <string>
#include <thread>

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
    if (const int rc = g_t->app().J().Do(sentence); rc != 0)
        std::fprintf(stderr, "failed (%d): %s\n", rc, qPrintable(sentence));
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
    // The same name either way, so that both lists show one row and only the size differs.
    define(state.range(0) ? QStringLiteral("big=: 30000000 $ 0.5") : QStringLiteral("big=: 0.5"));
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
    // The same name either way, so that both lists show one row and only the size differs.
    define(state.range(0) ? QStringLiteral("big=: 30000000 $ 0.5") : QStringLiteral("big=: 0.5"));
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

// Seconds from Break to the return of the call, for a sentence that would run far longer.
double breakLatency(const char* sentence) {
    JSession& s = *g_t->app().session();
    std::atomic<double> askedAt{0};
    const auto origin = std::chrono::steady_clock::now();
    auto now = [&] {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - origin).count();
    };
    std::thread breaker([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(700));
        askedAt = now();
        s.interrupt();
    });
    const int rc = s.Do(QString::fromLatin1(sentence));
    const double latency = now() - askedAt;
    breaker.join();
    if (rc != 1 && rc != 2) std::fprintf(stderr, "Break: %s answered %d\n", sentence, rc);
    return rc == 1 || rc == 2 ? latency : NAN;
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
        return r.times.count(k) ? r.times[k] * scale : NAN;
    };
    bool met = true;
    auto report = [&](const char* label, double value, double target, const char* unit) {
        const bool ok = value <= target;  // false for NaN: a figure that could not be taken
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
    report("Break, explicit loop:                        ", breakLatency("(3 : 'while. 1 do. end.') 0"), 1,
           "s");
    report("Break, tacit iteration:                      ", breakLatency("(1&+)^:_ ] 0x"), 1, "s");
    // Inside a primitive J looks for Break only in some of its loops; these show where it does and does not.
    for (const char* s :
         {"# ~. ?. 3e7 $ 1e9", "+/ ^. >: i. 1e8", "# /:~ ?. 5e7 $ 0", "$ (+/ .*)~ ?. 3000 3000 $ 0"})
        std::printf("Break, primitive %-28s %.3f s\n", s, breakLatency(s));
    return met ? 0 : 2;
}
