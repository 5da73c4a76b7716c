#include <gtest/gtest.h>

#include <QMap>
#include <QRegularExpression>
#include <cmath>

#include "engine/jdll_engine.h"
#include "library/library_store.h"
#include "library_fixture.h"
#include "support/files.h"
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
    const QByteArray text = readFile(KALVORET_SOURCE_DIR "/tests/library/shipped_expected.txt");
    EXPECT_FALSE(text.isEmpty());
    for (const QString& line : QString::fromUtf8(text).split('\n', Qt::SkipEmptyParts)) {
        const QStringList p = line.split('\t');
        if (line.startsWith('#') || p.size() != 6) continue;
        Expected& e = out[p[0]] = {p[1], p[2], p[3], {}, {}};
        for (const QString& s : p[4].split(' ', Qt::SkipEmptyParts)) e.shape.push_back(s.toLongLong());
        for (const QString& s : p[5].split(' ', Qt::SkipEmptyParts)) e.values.push_back(s.toDouble());
    }
    return out;
}

int kindOf(const QString& cmd) {
    const QRegularExpressionMatch m = QRegularExpression("\\s+NB\\.jCMD([0129])$").match(cmd);
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

// The sentence without the bodies of its direct definitions, whose x and y are their own.
QString outsideDefinitions(const QString& sentence) {
    QString out;
    int depth = 0;
    for (int i = 0; i < sentence.size(); ++i) {
        if (sentence.mid(i, 2) == "{{") {
            ++depth, ++i;
        } else if (depth > 0 && sentence.mid(i, 2) == "}}") {
            --depth, ++i;
            if (depth == 0) out += " {{}} ";
        } else if (depth == 0) {
            out += sentence[i];
        }
    }
    return out;
}

bool usesName(const QString& sentence, const char* name) {
    return QRegularExpression(QStringLiteral("(?<![A-Za-z0-9_.:])%1(?![A-Za-z0-9_.:])").arg(name))
        .match(sentence)
        .hasMatch();
}

TEST(ShippedLibrary, HasEnoughCategoriesAndEachMarkerFitsItsExpression) {
    int categories = 0;
    const std::vector<LibraryRow> all = libfix::shippedExpressions(&categories);
    EXPECT_GE(categories, 8);
    EXPECT_GE(all.size(), 80u);
    for (const LibraryRow& r : all) {
        SCOPED_TRACE(r.jCmdName.toStdString() + ": " + r.jCmd.toStdString());
        const int kind = kindOf(r.jCmd);
        const QString sentence = outsideDefinitions(r.jCmd.left(r.jCmd.indexOf("NB.")));
        EXPECT_FALSE(r.jCmd.contains('\n') || r.jCmd.contains('\r')) << "J takes a sentence as one line";
        if (kind == 9) {
            EXPECT_TRUE(sentence.contains("=:"));
        } else {
            ASSERT_NE(kind, -1) << "no kind marker at the end";
            EXPECT_EQ(usesName(sentence, "y"), kind == 1 || kind == 2);
            EXPECT_EQ(usesName(sentence, "x"), kind == 2);
            // At the top level even =. assigns globally; only a definition's own names are local.
            EXPECT_FALSE(sentence.contains("=.") || sentence.contains("=:")) << "assigns a global name";
        }
    }
}

TEST(ShippedLibrary, EveryExpressionRunsAndGivesTheKnownResult) {
    JEngine* j = sharedTestEngine();
    ASSERT_NE(j, nullptr);
    QMap<QString, Expected> expected = loadExpected();
    for (const LibraryRow& r : libfix::shippedExpressions()) {
        SCOPED_TRACE(r.jCmdName.toStdString() + ": " + r.jCmd.toStdString());
        ASSERT_TRUE(expected.contains(r.jCmdName)) << "no expected result";
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
        ASSERT_TRUE(ran && j->GetB("J_Get", v) == 0) << "J refused it: " << j->takeOutput().toStdString();
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
