// Expression library: reading one category through the store, which opens and
// closes its own connection for every operation, against the same query on a
// connection kept open (the raw limit). Prints the ratio between the two.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QVariant>
#include <chrono>
#include <cstdio>

#include "library/library_store.h"

namespace {

QTemporaryDir* g_dir = nullptr;

QString libraryFile() { return LibraryStore::fileIn(g_dir->path()); }

void BM_StoreReadExpressions(benchmark::State& state) {
    LibraryStore store(libraryFile());
    for (auto _ : state) benchmark::DoNotOptimize(store.ReadExpressions(1));
}
BENCHMARK(BM_StoreReadExpressions)->Unit(benchmark::kMicrosecond);

double rawQuery(QSqlQuery& q) {
    q.bindValue(0, 1);
    q.exec();
    double n = 0;
    while (q.next()) n += q.value(2).toString().size();
    return n;
}

void BM_RawQueryOnOpenConnection(benchmark::State& state) {
    QSqlDatabase db = QSqlDatabase::database(QStringLiteral("raw"));
    QSqlQuery q(db);
    q.prepare(QStringLiteral("SELECT * FROM jCMD WHERE (jCmdType = ? AND jSeq > 0) ORDER BY rowid"));
    for (auto _ : state) benchmark::DoNotOptimize(rawQuery(q));
}
BENCHMARK(BM_RawQueryOnOpenConnection)->Unit(benchmark::kMicrosecond);

template <class F>
double microsecondsPerCall(F f, int n) {
    const auto t0 = std::chrono::steady_clock::now();
    for (int i = 0; i < n; ++i) f();
    return std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - t0).count() / n;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    g_dir = &dir;
    LibraryStore store(libraryFile());
    if (!store.ReadCategories()) {  // makes the file from the shipped library
        std::fprintf(stderr, "%s\n", qPrintable(store.lastError()));
        return 1;
    }
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("raw"));
        db.setDatabaseName(libraryFile());
        db.open();
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();

    const double viaStore =
        microsecondsPerCall([&] { benchmark::DoNotOptimize(store.ReadExpressions(1)); }, 500);
    double raw = 0;
    {
        QSqlQuery q(QSqlDatabase::database(QStringLiteral("raw")));
        q.prepare(QStringLiteral("SELECT * FROM jCMD WHERE (jCmdType = ? AND jSeq > 0) ORDER BY rowid"));
        raw = microsecondsPerCall([&] { benchmark::DoNotOptimize(rawQuery(q)); }, 500);
    }
    std::printf("read one category: store %.1f us, raw query on an open connection %.1f us, ratio %.1f\n",
                viaStore, raw, viaStore / raw);
    QSqlDatabase::database(QStringLiteral("raw")).close();
    QSqlDatabase::removeDatabase(QStringLiteral("raw"));
    return 0;
}
