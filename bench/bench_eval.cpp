// Evaluation on the expression page against the raw engine, in the same run:
// (a) Enter with i. 1000 1000 (send, read, render, log, list refresh) against JDo of
//     the same sentence plus J's own formatting of the result (": read with JGetM and
//     copied out); target ratio at most 2;
// (b) a refresh of the J variable list with 50 defined nouns against 50 raw reads of
//     the same nouns (JGetM plus a copy of the data); target ratio at most 3.
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
#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace {

using I = JRawApi::I;

// The program around the expression page, with the real engine.
struct Rig {
    TestApp t;
    AppState* app = nullptr;
    frmjMain* main = nullptr;
    JEngine* engine = nullptr;

    bool start() {
        main = &t.showMain();
        app = &t.app();
        if (app->hasEngine())
            app->session()->run([this](IJEngine& e) { engine = dynamic_cast<JEngine*>(&e); });
        return engine != nullptr;
    }

    // Raw calls run where J lives, on the session thread.
    void onJ(const std::function<void()>& f) {
        app->session()->run([&](IJEngine&) { f(); });
    }
    int raw(const char* sentence) {
        int rc = -1;
        onJ([&] {
            std::string s(sentence);
            rc = engine->rawApi().JDo(engine->rawInstance(), s.data());
        });
        return rc;
    }
};

Rig* g_rig = nullptr;
const QString kSentence = QStringLiteral("i. 1000 1000");

void BM_EnterPath(benchmark::State& state) {
    Rig& r = *g_rig;
    for (auto _ : state) {
        state.PauseTiming();
        r.main->Text2->setText(QString());
        r.main->Text1->setText(kSentence);
        state.ResumeTiming();
        int key = 13;
        r.main->expression->Text1_KeyPress(key);
    }
    if (r.main->Text3->Text().size() != 6'890'890 || !r.t.msgBox.calls.empty())
        state.SkipWithError("not rendered in full");
}

void BM_RawEvalAndFormat(benchmark::State& state) {
    Rig& r = *g_rig;
    const JRawApi& api = r.engine->rawApi();
    std::string copy;
    for (auto _ : state) {
        if (r.raw("J_Get=. i. 1000 1000") != 0 || r.raw("bench_fmt_=: \": J_Get") != 0)
            state.SkipWithError("JDo failed");
        r.onJ([&] {
            I type = 0, rank = 0, shape = 0, data = 0;
            char name[] = "bench_fmt_";
            if (api.JGetM(r.engine->rawInstance(), name, &type, &rank, &shape, &data) != 0 || rank != 2)
                state.SkipWithError("JGetM failed");
            const auto* extents = reinterpret_cast<const I*>(shape);
            copy.assign(reinterpret_cast<const char*>(data),
                        static_cast<std::size_t>(extents[0] * extents[1]));
        });
        benchmark::DoNotOptimize(copy.data());
    }
}

// The two sets of 50 nouns: what a session collects (atoms, short lists, small tables),
// where the fixed cost of each name shows, and data tables the size of a fixed matrix
// from a sheet (200 rows by 10 columns), where reading the data shows.
enum NounSet { kSession = 0, kDataTables = 1 };
std::vector<std::string> g_nouns;

bool defineNouns(Rig& r, int set) {
    r.app->J().Clear();
    g_nouns.clear();
    for (int k = 0; k < 50; ++k) {
        std::string name = "v" + std::to_string(k);
        std::string value;
        if (set == kDataTables) {
            value = k % 2 ? "200 10 $ 0.25 * i. 2000" : "?. 200 10 $ 1000";
        } else {
            switch (k % 5) {
                case 0:
                    value = std::to_string(k);
                    break;
                case 1:
                    value = "0.5 * i. 100";
                    break;
                case 2:
                    value = "i. 20 5";
                    break;
                case 3:
                    value = "50 4 $ 1.5 2.5";
                    break;
                default:
                    value = "?. 30 3 $ 100";
                    break;
            }
        }
        if (r.raw((name + "=: " + value).c_str()) != 0) return false;
        g_nouns.push_back(name);
    }
    r.main->jvarList->InitJVarList();
    r.main->jvarList->RefreshFromJ(false);  // the rows exist, as after any earlier evaluation
    return r.app->jvars.count() == 50;
}

void BM_ListRefresh(benchmark::State& state) {
    Rig& r = *g_rig;
    if (!defineNouns(r, static_cast<int>(state.range(0)))) state.SkipWithError("could not define the nouns");
    for (auto _ : state) r.main->jvarList->RefreshFromJ(false);
    if (r.app->jvars.count() != 50) state.SkipWithError("the list lost nouns");
}

// The engine calls a refresh makes, without the list: the part no list code can save.
void BM_RefreshEngineCalls(benchmark::State& state) {
    Rig& r = *g_rig;
    if (!defineNouns(r, static_cast<int>(state.range(0)))) state.SkipWithError("could not define the nouns");
    IJEngine& j = r.app->J();
    std::vector<QString> names;
    for (const std::string& n : g_nouns) names.push_back(QString::fromStdString(n));
    HostValue v;
    for (auto _ : state) {
        j.Do(QStringLiteral("J_Get=. 4!:1(0)"));
        j.GetB(QStringLiteral("J_Get"), v);
        for (const QString& n : names) j.GetB(n, v);
    }
}

void BM_Raw50Reads(benchmark::State& state) {
    Rig& r = *g_rig;
    if (!defineNouns(r, static_cast<int>(state.range(0)))) state.SkipWithError("could not define the nouns");
    const JRawApi& api = r.engine->rawApi();
    std::vector<std::string> names;
    for (const std::string& n : g_nouns) names.push_back(n + "_base_");
    std::vector<char> copy;
    for (auto _ : state) {
        r.onJ([&] {
            for (std::string& n : names) {
                I type = 0, rank = 0, shape = 0, data = 0;
                if (api.JGetM(r.engine->rawInstance(), n.data(), &type, &rank, &shape, &data) != 0)
                    state.SkipWithError("JGetM failed");
                const auto* extents = reinterpret_cast<const I*>(shape);
                I count = 1;
                for (I i = 0; i < rank; ++i) count *= extents[i];
                const std::size_t bytes = static_cast<std::size_t>(count) * 8;
                copy.resize(bytes);
                std::memcpy(copy.data(), reinterpret_cast<const void*>(data), bytes);
                benchmark::DoNotOptimize(copy.data());
            }
        });
    }
}

// Keeps each run's time so the ratios can be printed after the table.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration || run.aggregate_name == "mean")
                times[run.run_name.function_name + "/" + run.run_name.args] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> times;
};

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qapp(argc, argv);
    std::setlocale(LC_NUMERIC, "C");

    Rig rig;
    if (!rig.start()) {
        std::fprintf(stderr, "no J engine: set KALVORET_J_HOME\n");
        return 1;
    }
    g_rig = &rig;
    benchmark::RegisterBenchmark("BM_EnterPath", BM_EnterPath)
        ->UseRealTime()
        ->Unit(benchmark::kMillisecond)
        ->MinTime(2);
    benchmark::RegisterBenchmark("BM_RawEvalAndFormat", BM_RawEvalAndFormat)
        ->UseRealTime()
        ->Unit(benchmark::kMillisecond)
        ->MinTime(2);
    for (auto* b : {benchmark::RegisterBenchmark("BM_ListRefresh", BM_ListRefresh),
                    benchmark::RegisterBenchmark("BM_RefreshEngineCalls", BM_RefreshEngineCalls),
                    benchmark::RegisterBenchmark("BM_Raw50Reads", BM_Raw50Reads)})
        b->UseRealTime()->Unit(benchmark::kMicrosecond)->Arg(kSession)->Arg(kDataTables);

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    // Wall-clock time: J works on the session thread while this one waits.
    bool allMet = true;
    auto ratio = [&](const char* label, const std::string& ours, const std::string& base, double target) {
        const auto a = reporter.times.find(ours), b = reporter.times.find(base);
        if (a == reporter.times.end() || b == reporter.times.end() || b->second <= 0) return;
        const double x = a->second / b->second;
        if (target > 0) allMet = allMet && x <= target;
        std::printf("%s: %.2f", label, x);
        if (target > 0) std::printf(" (target <= %.0f)%s", target, x <= target ? "" : "  ABOVE TARGET");
        std::printf("\n");
    };
    std::printf("\n");
    ratio("Enter with i. 1000 1000 / JDo + J's own formatting     ", "BM_EnterPath/", "BM_RawEvalAndFormat/",
          2);
    ratio("refresh, 50 session nouns / 50 raw JGetM reads        ", "BM_ListRefresh/0", "BM_Raw50Reads/0", 3);
    ratio("  of which engine calls alone / 50 raw JGetM reads    ", "BM_RefreshEngineCalls/0",
          "BM_Raw50Reads/0", 0);
    ratio("refresh, 50 tables of 200 x 10 / 50 raw JGetM reads   ", "BM_ListRefresh/1", "BM_Raw50Reads/1", 3);
    ratio("  of which engine calls alone / 50 raw JGetM reads    ", "BM_RefreshEngineCalls/1",
          "BM_Raw50Reads/1", 0);
    return allMet ? 0 : 2;
}
