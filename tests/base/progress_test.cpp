#include "base/progress.h"
#include "base/shipped_database.h"
#include "support/files.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class RecordingDisplay final : public IProgressDisplay {
public:
    void showProgress(int percent) override { events.push_back(percent); }
    void hideProgress() override { events.push_back(-1); }
    std::vector<int> events;  // percentages shown, -1 for hidden
};

}  // namespace

// Work of 10 steps; the clock advances by the given milliseconds at each step.
TEST(Progress, ShownOnlyAfterHalfASecondAndHiddenAtTheEnd) {
    const std::tuple<std::vector<int>, std::vector<int>> cases[] = {
        // ms per step, display events
        {{10, 10, 10, 10, 10, 10, 10, 10, 10, 10}, {}},  // quick: never shown
        {{100, 100, 100, 100, 100, 100, 100, 100, 100, 100}, {50, 60, 70, 80, 90, 100, -1}},
        {{0, 0, 0, 0, 0, 0, 0, 0, 0, 900}, {100, -1}},  // one slow last step
        {{600, 0, 0, 0, 0, 0, 0, 0, 0, 0}, {10, 20, 30, 40, 50, 60, 70, 80, 90, 100, -1}},
    };
    for (const auto& [ms, expected] : cases) {
        Progress p;
        RecordingDisplay d;
        p.setDisplay(&d);
        std::int64_t now = 0;
        p.setClock([&] { return now; });
        p.begin(10);
        for (int step : ms) {
            now += step;
            p.step();
        }
        p.end();
        EXPECT_EQ(d.events, expected) << ms[0];
        EXPECT_FALSE(p.busy() || p.shown());
    }
}

TEST(Progress, InnerWorkCountsAsPartOfTheOuterAndStrayCallsAreHarmless) {
    Progress p;
    RecordingDisplay d;
    p.setDisplay(&d);
    std::int64_t now = 0;
    p.setClock([&] { return now; });
    p.end();  // nothing begun
    p.step();
    {
        ProgressScope outer(&p, 4);
        now = 1000;
        outer.step();
        {
            ProgressScope inner(&p, 1000000);
            for (int i = 0; i < 1000; ++i) inner.step();  // not the outer work's steps
        }
        EXPECT_TRUE(p.busy());
        outer.step(10);  // past the total: stops at 100
    }
    EXPECT_EQ(d.events, (std::vector<int>{25, 100, -1}));
    ProgressScope none(nullptr, 5);  // work that nobody watches
    none.step();
    p.begin(0);  // no steps at all
    p.step();
    EXPECT_EQ(p.percent(), 0);
    p.end();
}

// An installed program seeds its data files from share/kalvoret; a build folder from
// the copy built into the program.
TEST(ShippedContent, InstalledCopyFirst) {
    QTemporaryDir share;
    const QString resource = QStringLiteral(":/shipped/jCmd.sql");
    EXPECT_EQ(shippedSqlFile(resource, QString()), resource);
    EXPECT_EQ(shippedSqlFile(resource, share.path()), resource);  // the folder lacks it
    const QString installed = writeFile(QDir(share.path()).filePath("jCmd.sql"), "");
    EXPECT_EQ(shippedSqlFile(resource, share.path()), installed);
    EXPECT_TRUE(QFile::exists(resource));
    EXPECT_TRUE(installedShareDir().isEmpty());  // tests run from the build folder
}
