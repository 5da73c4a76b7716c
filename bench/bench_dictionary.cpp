// Listing a 100,000-entry term table in a result grid (empty search text), and
// folded searches over it, each against the plain SQLite query that reads the
// same rows and builds the same strings (target: at most 2 times the plain query).
#include "bench_support.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>

#include "controls/flex_grid.h"
#include "dictionary/dictionary_grid.h"
#include "dictionary/dictionary_search.h"

namespace {

constexpr int kEntries = 100000;

QString g_file;

bool makeTable(const QString& file) {
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("make"));
        db.setDatabaseName(file);
        if (db.open()) {
            QSqlQuery q(db);
            ok = q.exec(QStringLiteral(
                "CREATE TABLE Mox5StatWord (ID INTEGER PRIMARY KEY, ChineseKey TEXT, "
                "JapaneseKey TEXT, ChineseK TEXT, ChineseH TEXT, JapaneseK TEXT, JapaneseH TEXT, "
                "EnglishK TEXT, Note1 TEXT, Note2 TEXT, EnglishA TEXT)"));
            db.transaction();
            ok = ok && q.prepare(QStringLiteral("INSERT INTO Mox5StatWord VALUES (?,?,?,?,?,?,?,?,?,?,?)"));
            for (int i = 1; ok && i <= kEntries; ++i) {
                const QString n = QString::number(i);
                q.addBindValue(i);
                q.addBindValue(QStringLiteral("tongji") + n);
                q.addBindValue(QStringLiteral("とうけい") + n);
                q.addBindValue(QStringLiteral("統計學") + n);
                q.addBindValue(QStringLiteral("tǒng jì xué ") + n);
                q.addBindValue(QStringLiteral("統計学") + n);
                q.addBindValue(QStringLiteral("とうけいがく") + n);
                q.addBindValue(i % 7 ? QVariant(QStringLiteral("statistics ") + n) : QVariant());
                q.addBindValue(i % 3 ? QVariant(QStringLiteral("備考")) : QVariant());
                q.addBindValue(QStringLiteral("記述統計"));
                q.addBindValue(i % 5 ? QVariant() : QVariant(QStringLiteral("ST%1; stat-%1").arg(i)));
                ok = q.exec();
            }
            ok = ok && db.commit();
            q.finish();
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("make"));
    return ok;
}

// The nearest raw limit: one plain query over the same fields, every value
// turned into the text the grid shows, and the row numbers' texts; with a
// condition, the key LIKE a pattern already in the key's own spelling.
std::size_t plainQuery(const QString& key = {}, const QString& pattern = {}) {
    std::vector<QString> cells;
    cells.reserve(static_cast<std::size_t>(kEntries) * 8);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("plain"));
        db.setDatabaseName(g_file);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        db.open();
        {
            QSqlQuery q(db);
            q.setForwardOnly(true);
            QString sql = QStringLiteral(
                "SELECT ChineseK, ChineseH, JapaneseK, JapaneseH, EnglishK, Note1, Note2 FROM Mox5StatWord");
            if (!key.isEmpty()) sql += QStringLiteral(" WHERE %1 LIKE ?").arg(key);
            q.prepare(sql);
            if (!key.isEmpty()) q.addBindValue(pattern);
            q.exec();
            int k = 0;
            while (q.next()) {
                cells.push_back(QString::number(++k));
                for (int c = 0; c < 7; ++c) cells.push_back(q.value(c).toString());
            }
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("plain"));
    return cells.size();
}

// A search as typed against the plain query that finds the same rows.
struct FoldedCase {
    const char* name;
    DicSearchKind kind;
    const char* typed;
    const char* key;
    const char* pattern;
};
const FoldedCase kFoldedCases[] = {
    {"pinyin, 11,112 hits", DicSearchKind::Chinese, "Tǒng Jì 1", "ChineseKey", "%tongji1%"},
    {"pinyin, 1 hit", DicSearchKind::Chinese, "Tǒng Jì 12345", "ChineseKey", "%tongji12345%"},
    {"reading, 11,112 hits", DicSearchKind::Japanese, "トウケイ1", "JapaneseKey", "%とうけい1%"},
    {"reading, 1 hit", DicSearchKind::Japanese, "ﾄｳｹｲ12345", "JapaneseKey", "%とうけい12345%"},
    {"English, 9,524 hits", DicSearchKind::English, "STATISTICS 1", "EnglishK", "%statistics 1%"},
    {"English, 1 hit", DicSearchKind::English, "ＳＴＡＴＩＳＴＩＣＳ 12345", "EnglishK",
     "%statistics 12345%"},
};

std::size_t foldedSearch(const FoldedCase& c) {
    const DicSearchResult r =
        DictionarySearch(g_file).run(c.kind, QString::fromUtf8(c.typed), QStringLiteral("%"));
    return r.rows.size();
}

// What the window does on load and on a search button with an empty box.
int listIntoGrid(FlexGrid& grid) {
    const DicSearchResult r =
        DictionarySearch(g_file).run(DicSearchKind::Chinese, QString(), QStringLiteral("%"));
    fillResultGrid(grid, DicSearchKind::Chinese, r.rows);
    QCoreApplication::processEvents();  // let the shown grid take the new rows in
    return grid.Rows();
}

void BM_PlainQuery(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(plainQuery());
}
BENCHMARK(BM_PlainQuery)->Unit(benchmark::kMillisecond);

// The search alone, without the grid: where the time goes.
void BM_SearchOnly(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(
            DictionarySearch(g_file).run(DicSearchKind::Chinese, QString(), QStringLiteral("%")).rows.size());
}
BENCHMARK(BM_SearchOnly)->Unit(benchmark::kMillisecond);

void BM_FoldedSearch(benchmark::State& state) {
    const FoldedCase& c = kFoldedCases[state.range(0)];
    state.SetLabel(c.name);
    for (auto _ : state) benchmark::DoNotOptimize(foldedSearch(c));
}
BENCHMARK(BM_FoldedSearch)->DenseRange(0, std::size(kFoldedCases) - 1)->Unit(benchmark::kMillisecond);

void BM_ListIntoGrid(benchmark::State& state) {
    FlexGrid grid;
    setUpResultGrid(grid);
    grid.resize(540, 185);
    grid.show();
    for (auto _ : state) benchmark::DoNotOptimize(listIntoGrid(grid));
}
BENCHMARK(BM_ListIntoGrid)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    g_file = DictionarySearch::fileIn(dir.path());
    if (!makeTable(g_file)) {
        std::fprintf(stderr, "cannot build the %d-entry table\n", kEntries);
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();

    FlexGrid grid;
    setUpResultGrid(grid);
    grid.resize(540, 185);
    grid.show();
    const double plain = bestSeconds([] { benchmark::DoNotOptimize(plainQuery()); }, 5);
    const double listed = bestSeconds([&grid] { benchmark::DoNotOptimize(listIntoGrid(grid)); }, 5);
    std::printf(
        "list %d entries into the grid: %.1f ms; plain query + strings: %.1f ms; ratio %.2f (target <= 2)\n",
        kEntries, listed * 1e3, plain * 1e3, listed / plain);
    for (const FoldedCase& c : kFoldedCases) {
        const QString key = QString::fromLatin1(c.key), pattern = QString::fromUtf8(c.pattern);
        if (foldedSearch(c) * 8 != plainQuery(key, pattern)) {
            std::fprintf(stderr, "%s: the folded search and the plain query disagree\n", c.name);
            return 1;
        }
        const double raw = bestSeconds([&] { benchmark::DoNotOptimize(plainQuery(key, pattern)); }, 5);
        const double folded = bestSeconds([&] { benchmark::DoNotOptimize(foldedSearch(c)); }, 5);
        std::printf("folded search, %s: %.1f ms; plain query + strings: %.1f ms; ratio %.2f (target <= 2)\n",
                    c.name, folded * 1e3, raw * 1e3, folded / raw);
    }
    return 0;
}
