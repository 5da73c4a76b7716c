#include <gtest/gtest.h>

#include <QMap>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <cmath>
#include <cstdio>

#include "engine/jdll_engine.h"
#include "library/library_store.h"
#include "library_fixture.h"
#include "support/files.h"
#include "support/j_test_engine.h"

// The statistics of the shipped library run by the real engine: against the certified
// values of NIST's reference data sets, against mpmath, and on every shape a sheet makes.
namespace {

using Doubles = std::vector<double>;

QMap<QString, QString> shippedByName() {
    QMap<QString, QString> out;
    for (const LibraryRow& r : libfix::shippedExpressions()) out[r.jCmdName] = r.jCmd;
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

// Runs a library expression on the x (when bound) and y the engine holds.
Result evaluate(JEngine* j, const QString& cmd, bool withX) {
    HostValue v, names;
    if (j->Do("J_Get=. " + cmd) != 0 || j->GetB("J_Get", v) != 0) {
        ADD_FAILURE() << cmd.left(60).toStdString() << ": " << j->takeOutput().toStdString();
        return {};
    }
    j->Do("J_Get=. # 4!:1 i. 4");  // x, y and J_Get: an expression may not leave a name behind
    j->GetB("J_Get", names);
    EXPECT_EQ(names.numberAt(0).value_or(-1), withX ? 3 : 2)
        << cmd.left(60).toStdString() << " assigned a name";
    Result r{true, v.dims(), {}};
    for (std::int64_t i = 0; i < v.count(); ++i) r.values.push_back(v.numberAt(i).value_or(NAN));
    return r;
}

Result run(JEngine* j, const QString& cmd, const HostValue* x, const HostValue& y) {
    j->Clear();
    if ((x && j->Set("x", *x) != 0) || j->Set("y", y) != 0) return {};
    return evaluate(j, cmd, x != nullptr);
}

double relativeError(double got, double want) {
    return want == 0 ? std::abs(got) : std::abs(got - want) / std::abs(want);
}

// ---- NIST StRD ----

struct StrdFile {
    std::vector<Doubles> rows;
    QMap<QString, Doubles> certified;  // "mean", "sd", "coefficients", "F"
};

StrdFile readStrd(const QString& name) {
    const QStringList lines =
        QString::fromLatin1(
            readFile(QStringLiteral(KALVORET_SOURCE_DIR "/tests/library/strd/%1.dat").arg(name)))
            .split('\n');
    StrdFile out;
    // The data lie on the lines the header names, or else after the last "Data" line.
    qsizetype first = -1, last = lines.size() - 1, afterData = 0;
    static const QRegularExpression range("Data\\s+\\(lines (\\d+) to (\\d+)\\)"), coefficient("^B\\d+$");
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QStringList w = lines[i].simplified().split(' ');
        if (const auto m = range.match(lines[i]); m.hasMatch())
            first = m.captured(1).toInt() - 1, last = m.captured(2).toInt() - 1;
        if (lines[i].startsWith("Data")) afterData = i + 1;
        for (const auto& [label, key] :
             {std::pair{"mean", "Sample Mean"}, {"sd", "Sample Standard Deviation"}, {"F", "Between"}})
            if (lines[i].contains(key)) out.certified[label] = {w.last().toDouble()};
        if (w.size() == 3 && coefficient.match(w[0]).hasMatch())
            out.certified["coefficients"].push_back(w[1].toDouble());
    }
    for (qsizetype i = first < 0 ? afterData : first; i <= last && i < lines.size(); ++i) {
        Doubles row;
        bool ok = true;
        for (const QString& t : lines[i].simplified().split(' ', Qt::SkipEmptyParts))
            if (ok) row.push_back(t.toDouble(&ok));
        if (ok && !row.empty()) out.rows.push_back(row);
    }
    return out;
}

enum StrdKind { Univariate, Regression, ThroughOrigin, Anova };
const std::tuple<const char*, StrdKind, int, double> kStrd[] = {
    // data set, what is checked, regression: y on x, x², ... up to this power; correct digits required
    {"Lew", Univariate, 0, 13},       {"Lottery", Univariate, 0, 13},   {"Mavro", Univariate, 0, 13},
    {"Michelso", Univariate, 0, 13},  {"NumAcc1", Univariate, 0, 13},   {"NumAcc2", Univariate, 0, 9},
    {"NumAcc3", Univariate, 0, 9},    {"Norris", Regression, 1, 12},    {"Pontius", Regression, 2, 12},
    {"NoInt1", ThroughOrigin, 1, 12}, {"NoInt2", ThroughOrigin, 1, 12}, {"Wampler1", Regression, 5, 9},
    {"Wampler2", Regression, 5, 9},   {"Wampler3", Regression, 5, 9},   {"SiRstvt", Anova, 0, 10},
    {"SmLs01t", Anova, 0, 10},        {"SmLs02t", Anova, 0, 10},        {"SmLs04t", Anova, 0, 10},
    {"AtmWtAgt", Anova, 0, 10},
};

class StatisticsReference : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NE(j, nullptr); }
    void TearDown() override {
        if (j) j->Clear();
    }
    JEngine* j = sharedTestEngine();
    QMap<QString, QString> lib = shippedByName();
};

TEST_F(StatisticsReference, NistDataSetsReachTheCertifiedDigits) {
    for (const auto& [name, kind, degree, target] : kStrd) {
        SCOPED_TRACE(name);
        StrdFile f = readStrd(name);
        ASSERT_FALSE(f.rows.empty());
        const auto n = static_cast<std::int64_t>(f.rows.size()),
                   k = static_cast<std::int64_t>(f.rows[0].size());
        Doubles flat, first, powers;
        for (const Doubles& r : f.rows) {
            flat.insert(flat.end(), r.begin(), r.end());
            first.push_back(r[0]);
            for (int p = 1; p <= degree; ++p) powers.push_back(std::pow(r[1], p));
        }
        const HostValue y = table(n, 1, first), x = table(n, degree, powers);
        // Each certified value: the library's result as the sheet hands the data over.
        std::vector<std::pair<QString, Result>> checks;
        if (kind == Univariate)
            checks = {{"mean", run(j, lib["平均"], nullptr, y)},
                      {"sd", run(j, lib["標本標準偏差"], nullptr, y)}};
        else if (kind == Anova)
            checks = {{"F", run(j, lib["一元配置分散分析"], nullptr, table(n, k, flat))}};
        else
            checks = {
                {"coefficients", run(j, lib[kind == Regression ? "重回帰係数" : "原点回帰係数"], &x, y)}};
        QString line = QStringLiteral("%1").arg(name, -9);
        for (const auto& [label, r] : checks) {
            const Doubles& certified = f.certified[label];
            ASSERT_TRUE(r.ok && !certified.empty() && r.values.size() >= certified.size())
                << label.toStdString();
            double least = 15;  // correct significant digits of the worst value
            for (std::size_t i = 0; i < certified.size(); ++i)
                least = std::min(least, -std::log10(relativeError(r.values[i], certified[i])));
            EXPECT_GE(least, target) << label.toStdString();
            line += QStringLiteral("  %1 %2").arg(label).arg(least, 0, 'f', 1);
        }
        std::printf("[ digits   ] %s\n", line.toUtf8().constData());
    }
}

// ---- mpmath ----

TEST_F(StatisticsReference, DistributionsAndTestsAgreeWithMpmath) {
    QProcess py;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("PYTHONPATH", KALVORET_SOURCE_DIR "/.deps/py");
    py.setProcessEnvironment(env);
    py.start("python3", {KALVORET_SOURCE_DIR "/tests/library/distribution_reference.py"});
    ASSERT_TRUE(py.waitForFinished(600000));
    ASSERT_EQ(py.exitCode(), 0) << py.readAllStandardError().toStdString();
    const QStringList rows = QString::fromUtf8(py.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    ASSERT_GT(rows.size(), 50);

    QMap<QString, double> worst;
    QMap<QString, int> points;
    for (const QString& row : rows) {
        // name, x and y as J nouns (x empty when unused), the expected elements
        const QStringList p = row.split('\t');
        ASSERT_EQ(p.size(), 4) << row.toStdString();
        ASSERT_TRUE(lib.contains(p[0])) << p[0].toStdString();
        SCOPED_TRACE((p[0] + " x=" + p[1] + " y=" + p[2].left(80)).toStdString());
        j->Clear();
        ASSERT_EQ((p[1].isEmpty() ? 0 : j->Do("x =: " + p[1])) + j->Do("y =: " + p[2]), 0);
        const Result r = evaluate(j, lib[p[0]], !p[1].isEmpty());
        const QStringList expected = p[3].split(' ');
        ASSERT_EQ(r.values.size(), static_cast<std::size_t>(expected.size()));
        for (int i = 0; i < expected.size(); ++i) {
            const double err = relativeError(r.values[i], expected[i].toDouble());
            worst[p[0]] = std::max(worst.value(p[0]), err);
            ++points[p[0]];
            EXPECT_LT(err, 1e-10) << "element " << i << ": " << r.values[i] << " against "
                                  << expected[i].toStdString();
        }
    }
    for (auto it = worst.cbegin(); it != worst.cend(); ++it)
        std::printf("[ mpmath   ] %-24s %4d points, largest relative error %.1e\n",
                    it.key().toUtf8().constData(), points[it.key()], it.value());
}

// ---- shapes ----

bool close(double p, double q) { return std::abs(p - q) <= 1e-12 * std::max(1.0, std::abs(q)); }

TEST_F(StatisticsReference, ExpressionsTreatSheetColumnsAsVariables) {
    const std::vector<Doubles> cols = {{2.5, 4, 4, 4.75, 5, 5, 7, 9, 3.5, 6.25},
                                       {1, 3, 2, 5, 4, 6, 9, 8, 7, 10.5},
                                       {12, 11.5, 14, 9, 10, 13, 8.5, 15, 11, 12.5}};
    const auto n = static_cast<std::int64_t>(cols[0].size());
    Doubles byRow;
    for (std::int64_t i = 0; i < n; ++i)
        for (const Doubles& c : cols) byRow.push_back(c[i]);
    // Column c of the data as a list, an n×1 table or a 1×n table.
    const auto shaped = [&](int c, int shape) {
        return shape == 0 ? HostValue::doubleArray({n}, cols[c])
                          : table(shape == 1 ? n : 1, shape == 1 ? 1 : n, cols[c]);
    };
    const HostValue three = HostValue::longValue(3);
    int checked = 0;
    for (const LibraryRow& e : libfix::shippedExpressions()) {
        SCOPED_TRACE((e.jCmdName + ": " + e.jNote).toStdString());
        const bool perColumn = e.jNote.startsWith("y: 列ごと") || e.jNote.startsWith("x: 項数, y: 列ごと");
        if (!perColumn && !e.jNote.startsWith("x, y:")) continue;
        ++checked;
        const HostValue* fixedX = !perColumn ? nullptr : e.jCmd.contains("NB.jCMD2") ? &three : nullptr;
        Result list;
        for (int shape : {0, 1, 2}) {
            const HostValue x = shaped(1, shape);
            const Result r = run(j, e.jCmd, perColumn ? fixedX : &x, shaped(0, shape));
            ASSERT_TRUE(r.ok);
            if (shape == 0) list = r;
            EXPECT_TRUE(r.dims == list.dims && std::equal(r.values.begin(), r.values.end(),
                                                          list.values.begin(), list.values.end(), close))
                << (shape == 1 ? "n×1" : "1×n") << " differs from the list";
        }
        if (!perColumn) continue;
        // An n×3 table gives each column's result, a column of results per column.
        const Result t = run(j, e.jCmd, fixedX, table(n, 3, byRow));
        std::vector<std::int64_t> dims = list.dims;
        dims.push_back(3);
        ASSERT_TRUE(t.ok && t.dims == dims);
        for (int c = 0; c < 3; ++c) {
            const Result one = run(j, e.jCmd, fixedX, shaped(c, 0));
            for (std::size_t i = 0; i < one.values.size(); ++i)
                EXPECT_TRUE(close(t.values[i * 3 + c], one.values[i])) << "column " << c << " element " << i;
        }
    }
    EXPECT_GE(checked, 40);
}

}  // namespace
