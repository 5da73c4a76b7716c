#include "dictionary/dictionary_search.h"

#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "dictionary/term_fixture.h"

namespace {

class DictionarySearchTest : public ::testing::Test {
protected:
    void SetUp() override {
        file = DictionarySearch::fileIn(dir.path());
        ASSERT_TRUE(writeTermDatabase(file));
    }
    // The word in the first grid column of every hit.
    QStringList firstColumn(DicSearchKind kind, const QString& text, const QString& wildcard) const {
        const DicSearchResult r = DictionarySearch(file).run(kind, text, wildcard);
        EXPECT_TRUE(r.ok) << r.error.toStdString();
        QStringList out;
        for (const DicRow& row : r.rows) out << row[0];
        return out;
    }

    QTemporaryDir dir;
    QString file;
};

TEST_F(DictionarySearchTest, EmptyTextListsEveryEntryInTableOrderWhateverTheMode) {
    for (DicSearchKind kind : {DicSearchKind::Chinese, DicSearchKind::Japanese, DicSearchKind::English})
        for (const QString& wildcard : {QStringLiteral("%"), QString()})
            EXPECT_EQ(firstColumn(kind, QString(), wildcard).size(), kTermCount);
    EXPECT_EQ(firstColumn(DicSearchKind::Japanese, QString(), QString()),
              QStringList({"統計学", "統計", "平均", "引用符", "百分率", "千"}));
}

struct MatchCase {
    const char* name;
    DicSearchKind kind;
    const char* text;
    const char* wildcard;
    QStringList hits;  // first grid column of each hit
};

class DictionaryMatchTest : public DictionarySearchTest, public ::testing::WithParamInterface<MatchCase> {};

TEST_P(DictionaryMatchTest, FindsExactlyTheseEntries) {
    const MatchCase& c = GetParam();
    EXPECT_EQ(firstColumn(c.kind, QString::fromUtf8(c.text), QString::fromUtf8(c.wildcard)), c.hits);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, DictionaryMatchTest,
    ::testing::Values(
        MatchCase{"ChineseKeyword", DicSearchKind::Chinese, "tongji", "%", {"統計學", "統計"}},
        MatchCase{"ChineseExact", DicSearchKind::Chinese, "tongji", "", {"統計"}},
        MatchCase{"JapaneseKeywordAnywhere", DicSearchKind::Japanese, "けい", "%", {"統計学", "統計"}},
        MatchCase{"JapaneseExact", DicSearchKind::Japanese, "とうけい", "", {"統計"}},
        MatchCase{"EnglishIgnoresAsciiCase", DicSearchKind::English, "STATISTIC", "", {"Statistic"}},
        MatchCase{"EnglishKeywordSkipsNull",
                  DicSearchKind::English,
                  "s",
                  "%",
                  {"statistics", "Statistic", "it's \"quoted\"", "100% sure", "1000 sure"}},
        MatchCase{"NoHits", DicSearchKind::Chinese, "zzz", "%", {}},
        MatchCase{"UserPercentIsWildcard", DicSearchKind::English, "100%", "", {"100% sure", "1000 sure"}},
        MatchCase{"UserUnderscoreIsWildcard", DicSearchKind::Chinese, "a_b", "", {"引號", "百分"}},
        MatchCase{"DoubleQuoteIsLiteral", DicSearchKind::Chinese, "b\"", "%", {"千"}},
        MatchCase{"SingleQuoteIsLiteral", DicSearchKind::Japanese, "あ'い", "", {"引用符"}},
        MatchCase{"BothQuotes", DicSearchKind::English, "it's \"quoted\"", "", {"it's \"quoted\""}},
        MatchCase{"QuoteCannotWidenTheCondition", DicSearchKind::English, "\" OR \"\"=\"", "%", {}},
        MatchCase{
            "StatementTextIsNeverRun", DicSearchKind::English, "'; DROP TABLE Mox5StatWord; --", "%", {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DictionarySearchTest, ColumnsComeInEachSearchsOrderAndNullsAreEmpty) {
    struct Case {
        DicSearchKind kind;
        QString key;
        DicRow row;
    };
    const Case cases[] = {
        {DicSearchKind::Chinese,
         "pingjunshu",
         {"平均數", "píng jūn shù", "平均", "へいきん", "", "", "mean"}},
        {DicSearchKind::Japanese, "へいきん", {"平均", "へいきん", "平均數", "píng jūn shù", "", "", "mean"}},
        {DicSearchKind::English,
         "statistics",
         {"statistics", "統計学", "とうけいがく", "統計學", "tǒng jì xué", "", "記述統計"}},
    };
    for (const Case& c : cases) {
        const DicSearchResult r = DictionarySearch(file).run(c.kind, c.key, QString());
        ASSERT_TRUE(r.ok);
        ASSERT_EQ(r.rows.size(), 1u);
        EXPECT_EQ(r.rows[0], c.row) << c.key.toStdString();
    }
}

TEST(DictionarySearchFiles, MissingFileIsMadeFromTheShippedContent) {
    QTemporaryDir dir;
    const QString sql = dir.filePath(QStringLiteral("terms.sql"));
    QFile f(sql);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(termTableSql().toUtf8());
    f.close();
    const QString file = DictionarySearch::fileIn(dir.filePath(QStringLiteral("parts")));
    const DicSearchResult r =
        DictionarySearch(file, sql).run(DicSearchKind::English, QString(), QStringLiteral("%"));
    EXPECT_TRUE(r.ok) << r.error.toStdString();
    EXPECT_EQ(r.rows.size(), static_cast<std::size_t>(kTermCount));
    EXPECT_TRUE(QFile::exists(file));
}

TEST(DictionarySearchFiles, ShippedTableIsBuiltIntoTheProgram) {
    QTemporaryDir dir;
    const DicSearchResult r = DictionarySearch(DictionarySearch::fileIn(dir.path()))
                                  .run(DicSearchKind::Chinese, QString(), QStringLiteral("%"));
    EXPECT_TRUE(r.ok) << r.error.toStdString();
    EXPECT_FALSE(r.rows.empty());
}

TEST(DictionarySearchFiles, UnreadableFilesAreReportedWithNameAndReasonAndLeftAlone) {
    struct Case {
        const char* name;
        QByteArray content;  // empty: a database made from sql
        QString sql;
        const char* reason;
    };
    const Case cases[] = {
        {"text", "this is not a database\n", {}, "データベースのファイルではありません"},
        {"other-table", {}, QStringLiteral("CREATE TABLE Other (ID INTEGER);"), "Mox5StatWord"},
        {"missing-field",
         {},
         QStringLiteral("CREATE TABLE Mox5StatWord (ID INTEGER, ChineseKey TEXT);"),
         "必要な項目"},
    };
    for (const Case& c : cases) {
        QTemporaryDir dir;
        const QString file = dir.filePath(QString::fromUtf8(c.name) + QStringLiteral(".sqlite"));
        if (c.content.isEmpty()) {
            QString error;
            ASSERT_TRUE(createDatabaseFromSql(file, c.sql, &error)) << error.toStdString();
        } else {
            QFile f(file);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(c.content);
        }
        QFile before(file);
        ASSERT_TRUE(before.open(QIODevice::ReadOnly));
        const QByteArray bytes = before.readAll();
        before.close();

        const DicSearchResult r =
            DictionarySearch(file).run(DicSearchKind::Chinese, QStringLiteral("a"), QStringLiteral("%"));
        EXPECT_FALSE(r.ok) << c.name;
        EXPECT_TRUE(r.rows.empty());
        EXPECT_TRUE(r.error.contains(QDir::toNativeSeparators(file))) << r.error.toStdString();
        EXPECT_TRUE(r.error.contains(QString::fromUtf8(c.reason))) << r.error.toStdString();
        QFile after(file);
        ASSERT_TRUE(after.open(QIODevice::ReadOnly));
        EXPECT_EQ(after.readAll(), bytes) << c.name;
    }
}

}  // namespace
