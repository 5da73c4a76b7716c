#include <gtest/gtest.h>

#include <QFile>
#include <QMap>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <cmath>

#include "engine/jdll_engine.h"
#include "library/library_store.h"
#include "support/j_test_engine.h"

// The shipped library, made and read back through the store, every expression run by
// the real engine against results worked out apart from J (shipped_expected.txt).
namespace {

struct Expected {
    QString y, x, call;
    std::vector<std::int64_t> shape;
    std::vector<double> values;
};

QMap<QString, Expected> loadExpected() {
    QMap<QString, Expected> out;
    QFile f(QStringLiteral(KALVORET_SOURCE_DIR "/tests/library/shipped_expected.txt"));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    for (const QString& line : QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts)) {
        const QStringList p = line.split('\t');
        if (line.startsWith('#') || p.size() != 6) continue;
        Expected& e = out[p[0]] = {p[1], p[2], p[3], {}, {}};
        for (const QString& s : p[4].split(' ', Qt::SkipEmptyParts)) e.shape.push_back(s.toLongLong());
        for (const QString& s : p[5].split(' ', Qt::SkipEmptyParts)) e.values.push_back(s.toDouble());
    }
    return out;
}

// Every shipped expression row, category by category.
std::vector<LibraryRow> shipped(int* categories) {
    QTemporaryDir dir;
    LibraryStore store(LibraryStore::fileIn(dir.path()));
    std::vector<LibraryRow> out;
    const auto cats = store.ReadCategories();
    EXPECT_TRUE(cats) << store.lastError().toStdString();
    *categories = cats ? static_cast<int>(cats->size()) : 0;
    for (const LibraryRow& c : cats.value_or(std::vector<LibraryRow>{}))
        for (const LibraryRow& r : store.ReadExpressions(c.jCmdType).value_or(std::vector<LibraryRow>{}))
            out.push_back(r);
    return out;
}

int kindOf(const QString& cmd) {
    const QRegularExpressionMatch m = QRegularExpression("\\s+NB\\.jCMD([0129])$").match(cmd);
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

bool usesName(const QString& sentence, const char* name) {
    return QRegularExpression(QStringLiteral("(?<![A-Za-z0-9_.:])%1(?![A-Za-z0-9_.:])").arg(name))
        .match(sentence)
        .hasMatch();
}

TEST(ShippedLibrary, HasEnoughCategoriesAndEachMarkerFitsItsExpression) {
    int categories = 0;
    const std::vector<LibraryRow> all = shipped(&categories);
    EXPECT_GE(categories, 8);
    EXPECT_GE(all.size(), 80u);
    for (const LibraryRow& r : all) {
        SCOPED_TRACE(r.jCmdName.toStdString() + ": " + r.jCmd.toStdString());
        const int kind = kindOf(r.jCmd);
        const QString sentence = r.jCmd.left(r.jCmd.indexOf("NB."));
        if (kind == 9) {
            EXPECT_TRUE(sentence.contains("=:"));
        } else {
            ASSERT_NE(kind, -1) << "no kind marker at the end";
            EXPECT_EQ(usesName(sentence, "y"), kind == 1 || kind == 2);
            EXPECT_EQ(usesName(sentence, "x"), kind == 2);
        }
    }
}

TEST(ShippedLibrary, EveryExpressionRunsAndGivesTheKnownResult) {
    JEngine* j = sharedTestEngine();
    ASSERT_NE(j, nullptr);
    QMap<QString, Expected> expected = loadExpected();
    int categories = 0;
    for (const LibraryRow& r : shipped(&categories)) {
        SCOPED_TRACE(r.jCmdName.toStdString() + ": " + r.jCmd.toStdString());
        if (!expected.contains(r.jCmdName)) {
            ADD_FAILURE() << "no expected result";
            continue;
        }
        const Expected e = expected.take(r.jCmdName);
        j->Clear();
        EXPECT_EQ(e.y.isEmpty() ? 0 : j->Do("y =: " + e.y), 0);
        EXPECT_EQ(e.x.isEmpty() ? 0 : j->Do("x =: " + e.x), 0);
        HostValue v;
        bool ran = j->Do("J_Get=. " + r.jCmd) == 0;
        if (ran && kindOf(r.jCmd) == 9) {
            EXPECT_EQ(j->GetB("J_Get", v), 3) << "a definition gives a verb";
            ran = j->Do("J_Get=. " + e.call) == 0;
        }
        if (!ran || j->GetB("J_Get", v) != 0) {
            ADD_FAILURE() << "J refused it: " << j->takeOutput().toStdString();
            continue;
        }
        EXPECT_EQ(v.dims(), e.shape);
        ASSERT_EQ(static_cast<std::size_t>(v.count()), e.values.size());
        for (std::size_t i = 0; i < e.values.size(); ++i)
            EXPECT_NEAR(v.numberAt(static_cast<std::int64_t>(i)).value_or(NAN), e.values[i],
                        1e-9 * std::max(1.0, std::abs(e.values[i])))
                << "element " << i;
    }
    EXPECT_TRUE(expected.isEmpty()) << "expected results for expressions not shipped: "
                                    << expected.keys().join(", ").toStdString();
    j->Clear();
}

}  // namespace
