#include <gtest/gtest.h>

#include <QFile>
#include <QMap>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <cmath>
#include <cstdio>

#include "engine/jdll_engine.h"
#include "library/library_store.h"
#include "library_fixture.h"
#include "support/j_test_engine.h"

// The statistics of the shipped library run by the real engine: against the certified
// values of NIST's reference data sets, against mpmath, and on every shape a sheet makes.
namespace {

using Doubles = std::vector<double>;

QMap<QString, LibraryRow> shippedByName() {
    QMap<QString, LibraryRow> out;
    for (const LibraryRow& r : libfix::shippedExpressions()) out[r.jCmdName] = r;
    return out;
}

struct Result {
    bool ok = false;
    std::vector<std::int64_t> dims;
    Doubles values;
};

HostValue table(std::int64_t rows, std::int64_t cols, Doubles data) {
    return HostValue::doubleArray({rows, cols}, std::move(data));
}

// Runs a library expression with x and y bound as given (an empty x leaves x unset).
Result run(JEngine* j, const QString& cmd, const HostValue* x, const HostValue& y) {
    j->Clear();
    Result r;
    if ((x && j->Set("x", *x) != 0) || j->Set("y", y) != 0) return r;
    HostValue v;
    if (j->Do("J_Get=. " + cmd) != 0 || j->GetB("J_Get", v) != 0) {
        ADD_FAILURE() << cmd.left(60).toStdString() << ": " << j->takeOutput().toStdString();
        return r;
    }
    HostValue names;
    j->Do("J_Get=. # 4!:1 i. 4");  // x, y and J_Get: an expression may not leave a name behind
    j->GetB("J_Get", names);
    EXPECT_EQ(names.numberAt(0).value_or(-1), x ? 3 : 2) << cmd.left(60).toStdString() << " assigned a name";
    r.ok = true;
    r.dims = v.dims();
    for (std::int64_t i = 0; i < v.count(); ++i) r.values.push_back(v.numberAt(i).value_or(NAN));
    return r;
}

Result runText(JEngine* j, const QString& cmd, const QString& x, const QString& y) {
    j->Clear();
    if ((!x.isEmpty() && j->Do("x =: " + x) != 0) || j->Do("y =: " + y) != 0) return {};
    HostValue yv;
    j->GetB("y", yv);
    HostValue xv;
    if (!x.isEmpty()) j->GetB("x", xv);
    return run(j, cmd, x.isEmpty() ? nullptr : &xv, yv);
}

// Correct significant digits (the log relative error), 15 at most.
double digits(double got, double certified) {
    if (got == certified) return 15;
    const double err = certified == 0 ? std::abs(got) : std::abs(got - certified) / std::abs(certified);
    return std::min(15.0, -std::log10(err));
}

// ---- NIST StRD ----

struct StrdFile {
    std::vector<Doubles> rows;
    QMap<QString, Doubles> certified;  // "mean", "sd", "b" (coefficients), "F"
};

StrdFile readStrd(const QString& name) {
    QFile f(QStringLiteral(KALVORET_SOURCE_DIR "/tests/library/strd/%1.dat").arg(name));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << name.toStdString();
    const QStringList lines = QString::fromLatin1(f.readAll()).split('\n');
    StrdFile out;
    // The data lie on the lines the header names, or else after the last "Data" line.
    int first = -1, last = static_cast<int>(lines.size()) - 1, afterData = 0;
    static const QRegularExpression range("Data\\s+\\(lines (\\d+) to (\\d+)\\)");
    static const QRegularExpression coefficient("^B\\d+$");
    for (int i = 0; i < static_cast<int>(lines.size()); ++i) {
        const QString& l = lines[i];
        const QStringList w = l.simplified().split(' ');
        if (const auto m = range.match(l); m.hasMatch()) {
            first = m.captured(1).toInt() - 1;
            last = m.captured(2).toInt() - 1;
        }
        if (l.startsWith("Data")) afterData = i + 1;
        if (l.contains("Sample Mean")) out.certified["mean"] = {w.last().toDouble()};
        if (l.contains("Sample Standard Deviation")) out.certified["sd"] = {w.last().toDouble()};
        if (l.startsWith("Between")) out.certified["F"] = {w.last().toDouble()};
        if (w.size() == 3 && coefficient.match(w[0]).hasMatch())
            out.certified["b"].push_back(w[1].toDouble());
    }
    if (first < 0) first = afterData;
    for (int i = first; i <= last && i < static_cast<int>(lines.size()); ++i) {
        Doubles row;
        bool allNumbers = true;
        for (const QString& t : lines[i].simplified().split(' ', Qt::SkipEmptyParts)) {
            bool ok = false;
            row.push_back(t.toDouble(&ok));
            allNumbers = allNumbers && ok;
        }
        if (allNumbers && !row.empty()) out.rows.push_back(row);
    }
    return out;
}

struct StrdCase {
    const char* file;
    enum Kind { Univariate, Regression, ThroughOrigin, Anova } kind;
    int degree;     // regression: y on x, x², ... up to this power
    double target;  // correct digits required of every certified value
};

const StrdCase kStrd[] = {
    {"Lew", StrdCase::Univariate, 0, 13},       {"Lottery", StrdCase::Univariate, 0, 13},
    {"Mavro", StrdCase::Univariate, 0, 13},     {"Michelso", StrdCase::Univariate, 0, 13},
    {"NumAcc1", StrdCase::Univariate, 0, 13},   {"NumAcc2", StrdCase::Univariate, 0, 9},
    {"NumAcc3", StrdCase::Univariate, 0, 9},    {"Norris", StrdCase::Regression, 1, 12},
    {"Pontius", StrdCase::Regression, 2, 12},   {"NoInt1", StrdCase::ThroughOrigin, 1, 12},
    {"NoInt2", StrdCase::ThroughOrigin, 1, 12}, {"Wampler1", StrdCase::Regression, 5, 9},
    {"Wampler2", StrdCase::Regression, 5, 9},   {"Wampler3", StrdCase::Regression, 5, 9},
    {"SiRstvt", StrdCase::Anova, 0, 10},        {"SmLs01t", StrdCase::Anova, 0, 10},
    {"SmLs02t", StrdCase::Anova, 0, 10},        {"SmLs04t", StrdCase::Anova, 0, 10},
    {"AtmWtAgt", StrdCase::Anova, 0, 10},
};

TEST(StatisticsReference, NistDataSetsReachTheCertifiedDigits) {
    JEngine* j = sharedTestEngine();
    ASSERT_NE(j, nullptr);
    const QMap<QString, LibraryRow> lib = shippedByName();
    for (const StrdCase& c : kStrd) {
        SCOPED_TRACE(c.file);
        const StrdFile f = readStrd(c.file);
        ASSERT_FALSE(f.rows.empty());
        const auto n = static_cast<std::int64_t>(f.rows.size());
        const auto k = static_cast<std::int64_t>(f.rows[0].size());
        Doubles flat, first, second;
        for (const Doubles& r : f.rows) {
            flat.insert(flat.end(), r.begin(), r.end());
            first.push_back(r[0]);
            if (r.size() > 1) second.push_back(r[1]);
        }
        // Each certified value against what the library returns, as the sheet hands it over.
        std::vector<std::pair<QString, double>> reached;
        const auto compare = [&](const QString& label, const Result& r, const Doubles& certified) {
            ASSERT_TRUE(r.ok);
            ASSERT_GE(r.values.size(), certified.size());
            double least = 15;
            for (std::size_t i = 0; i < certified.size(); ++i)
                least = std::min(least, digits(r.values[i], certified[i]));
            reached.push_back({label, least});
            EXPECT_GE(least, c.target) << label.toStdString();
        };
        if (c.kind == StrdCase::Univariate) {
            const HostValue y = table(n, 1, first);
            compare("mean", run(j, lib["平均"].jCmd, nullptr, y), f.certified["mean"]);
            compare("sd", run(j, lib["標本標準偏差"].jCmd, nullptr, y), f.certified["sd"]);
        } else if (c.kind == StrdCase::Anova) {
            compare("F", run(j, lib["一元配置分散分析"].jCmd, nullptr, table(n, k, flat)), f.certified["F"]);
        } else {
            Doubles powers;
            for (double x : second)
                for (int p = 1; p <= c.degree; ++p) powers.push_back(std::pow(x, p));
            const HostValue x = table(n, c.degree, powers);
            const QString name = c.kind == StrdCase::Regression ? "重回帰係数" : "原点回帰係数";
            compare("coefficients", run(j, lib[name].jCmd, &x, table(n, 1, first)), f.certified["b"]);
        }
        QString line = QStringLiteral("%1").arg(c.file, -9);
        for (const auto& [label, d] : reached) line += QStringLiteral("  %1 %2").arg(label).arg(d, 0, 'f', 1);
        std::printf("[ digits   ] %s\n", line.toUtf8().constData());
    }
    j->Clear();
}

// ---- mpmath ----

TEST(StatisticsReference, DistributionsAndTestsAgreeWithMpmath) {
    JEngine* j = sharedTestEngine();
    ASSERT_NE(j, nullptr);
    QProcess py;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("PYTHONPATH", KALVORET_SOURCE_DIR "/.deps/py");
    py.setProcessEnvironment(env);
    py.start("python3", {KALVORET_SOURCE_DIR "/tests/library/distribution_reference.py"});
    ASSERT_TRUE(py.waitForFinished(600000));
    ASSERT_EQ(py.exitCode(), 0) << py.readAllStandardError().toStdString();
    const QStringList rows = QString::fromUtf8(py.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    ASSERT_GT(rows.size(), 50);

    const QMap<QString, LibraryRow> lib = shippedByName();
    QMap<QString, double> worst;
    QMap<QString, int> points;
    for (const QString& row : rows) {
        const QStringList p = row.split('\t');
        ASSERT_EQ(p.size(), 4) << row.toStdString();
        ASSERT_TRUE(lib.contains(p[0])) << p[0].toStdString();
        SCOPED_TRACE((p[0] + " x=" + p[1] + " y=" + p[2].left(80)).toStdString());
        const Result r = runText(j, lib[p[0]].jCmd, p[1], p[2]);
        const QStringList expected = p[3].split(' ');
        ASSERT_EQ(r.values.size(), static_cast<std::size_t>(expected.size()));
        for (int i = 0; i < expected.size(); ++i) {
            const double want = expected[i].toDouble();
            const double err =
                want == 0 ? std::abs(r.values[i]) : std::abs(r.values[i] - want) / std::abs(want);
            worst[p[0]] = std::max(worst.value(p[0]), err);
            ++points[p[0]];
            EXPECT_LT(err, 1e-10) << "element " << i << ": " << r.values[i] << " against " << want;
        }
    }
    for (auto it = worst.cbegin(); it != worst.cend(); ++it)
        std::printf("[ mpmath   ] %-24s %4d points, largest relative error %.1e\n",
                    it.key().toUtf8().constData(), points[it.key()], it.value());
    j->Clear();
}

// ---- shapes ----

bool same(const Result& a, const Result& b, std::size_t ai = 0, std::size_t bi = 0, std::size_t n = 0) {
    if (n == 0) n = a.values.size();
    for (std::size_t i = 0; i < n; ++i) {
        const double p = a.values[ai + i], q = b.values[bi + i];
        if (!(std::abs(p - q) <= 1e-12 * std::max(1.0, std::abs(q)))) return false;
    }
    return true;
}

TEST(StatisticsReference, ExpressionsTreatSheetColumnsAsVariables) {
    JEngine* j = sharedTestEngine();
    ASSERT_NE(j, nullptr);
    const std::vector<Doubles> cols = {{2.5, 4, 4, 4.75, 5, 5, 7, 9, 3.5, 6.25},
                                       {1, 3, 2, 5, 4, 6, 9, 8, 7, 10.5},
                                       {12, 11.5, 14, 9, 10, 13, 8.5, 15, 11, 12.5}};
    const auto n = static_cast<std::int64_t>(cols[0].size());
    Doubles byRow;
    for (std::int64_t i = 0; i < n; ++i)
        for (const Doubles& c : cols) byRow.push_back(c[i]);
    const auto list = [&](int c) { return HostValue::doubleArray({n}, cols[c]); };
    const HostValue three = HostValue::longValue(3);
    int checked = 0;
    for (const LibraryRow& e : libfix::shippedExpressions()) {
        SCOPED_TRACE((e.jCmdName + ": " + e.jNote).toStdString());
        const bool perColumn = e.jNote.startsWith("y: 列ごと") || e.jNote.startsWith("x: 項数, y: 列ごと");
        const bool pairOfColumns = e.jNote.startsWith("x, y:");
        if (!perColumn && !pairOfColumns) continue;
        ++checked;
        if (perColumn) {
            const HostValue* x = e.jCmd.contains("NB.jCMD2") ? &three : nullptr;
            const Result a = run(j, e.jCmd, x, list(0));
            const Result col = run(j, e.jCmd, x, table(n, 1, cols[0]));
            const Result row = run(j, e.jCmd, x, table(1, n, cols[0]));
            ASSERT_TRUE(a.ok && col.ok && row.ok);
            EXPECT_TRUE(col.dims == a.dims && same(col, a)) << "n×1 differs from the list";
            EXPECT_TRUE(row.dims == a.dims && same(row, a)) << "1×n differs from the list";
            // An n×3 table gives each column's result, a column of results per column.
            const Result t = run(j, e.jCmd, x, table(n, 3, byRow));
            ASSERT_TRUE(t.ok);
            std::vector<std::int64_t> dims = a.dims;
            dims.push_back(3);
            EXPECT_EQ(t.dims, dims);
            for (int c = 0; c < 3 && t.dims == dims; ++c) {
                const Result one = run(j, e.jCmd, x, list(c));
                for (std::size_t i = 0; i < one.values.size(); ++i)
                    EXPECT_TRUE(same(t, one, i * 3 + c, i, 1)) << "column " << c << " element " << i;
            }
        } else {
            const HostValue x0 = list(1), y0 = list(0);
            const HostValue x1 = table(n, 1, cols[1]), y1 = table(n, 1, cols[0]);
            const HostValue x2 = table(1, n, cols[1]), y2 = table(1, n, cols[0]);
            const Result a = run(j, e.jCmd, &x0, y0);
            const Result col = run(j, e.jCmd, &x1, y1);
            const Result row = run(j, e.jCmd, &x2, y2);
            ASSERT_TRUE(a.ok && col.ok && row.ok);
            EXPECT_TRUE(col.dims == a.dims && same(col, a)) << "n×1 columns differ from lists";
            EXPECT_TRUE(row.dims == a.dims && same(row, a)) << "1×n rows differ from lists";
        }
    }
    EXPECT_GE(checked, 40);
    j->Clear();
}

}  // namespace
