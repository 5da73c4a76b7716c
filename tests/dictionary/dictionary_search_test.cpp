#include "dictionary/dictionary_search.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "dictionary/term_fixture.h"
#include "support/files.h"
#include "support/sql_file.h"

namespace {

using K = DicSearchKind;

class DictionarySearchTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(writeTermDatabase(file)); }
    // The word in the first grid column of every hit.
    QStringList firstColumn(K kind, const QString& text, const QString& wildcard) const {
        const DicSearchResult r = DictionarySearch(file).run(kind, text, wildcard);
        EXPECT_TRUE(r.ok) << r.error.toStdString();
        QStringList out;
        for (const DicRow& row : r.rows) out << row[0];
        return out;
    }

    QTemporaryDir dir;
    QString file = DictionarySearch::fileIn(dir.path());
};

// Pinyin, reading and width folding in detail is the fold's own test; these show which
// side each search folds and how it matches.
TEST_F(DictionarySearchTest, EachModeFindsExactlyTheseEntries) {
    const std::tuple<K, const char*, const char*, const char*> cases[] = {
        // text, wildcard, first column of each hit
        {K::Chinese, "tongji", "%", "統計學|統計"},
        {K::Chinese, "tongji", "", "統計"},
        {K::Japanese, "けい", "%", "統計学|統計"},  // anywhere in the key
        {K::Japanese, "とうけい", "", "統計"},
        {K::English, "STATISTIC", "", "Statistic"},  // ASCII case ignored
        {K::English, "s", "%",                       // null skipped
         "statistics|Statistic|it's \"quoted\"|100% sure|1000 sure|analysis of variance|probability "
         "distribution"},
        {K::Chinese, "zzz", "%", ""},
        // readings: katakana, half-width kana and hiragana alike, in the text and in the key
        {K::Japanese, "データ", "%", "データ"},  // key and word both match: listed once
        {K::Japanese, "ﾃﾞｰﾀ", "", "データ"},
        {K::Japanese, "もでる", "", "モデル"},
        // pinyin: tones, blanks, ü = v = u; in the text and in the key
        {K::Chinese, "jilu", "%", "機率|機率分布"},
        {K::Chinese, "jìlǜ", "%", "機率|機率分布"},
        {K::Chinese, "jilu", "", "機率"},
        {K::Chinese, "moxing", "", "模型"},
        // the words themselves
        {K::Japanese, "平均", "%", "平均"},
        {K::Japanese, "確率", "%", "確率|確率分布"},
        {K::Japanese, "確率", "", "確率"},
        {K::Chinese, "機率", "%", "機率|機率分布"},
        {K::Chinese, "機率", "", "機率"},
        {K::Japanese, "へいきん", "", "平均"},  // hiragana matches the reading only
        // abbreviations and variants, each form on its own
        {K::English, "ANOVA", "%", "analysis of variance"},
        {K::English, "ＡＮＯＶＡ", "", "analysis of variance"},
        {K::English, "analysis-of-variance", "", "analysis of variance"},
        {K::English, "ANOVA; analysis", "%", ""},
        // the user's own % and _ are wildcards; quotes match themselves
        {K::English, "100%", "", "100% sure|1000 sure"},
        {K::Chinese, "a_b", "", "引號|百分"},
        {K::Chinese, "b\"", "%", "千"},
        {K::Japanese, "あ'い", "", "引用符"},
        {K::English, "it's \"quoted\"", "", "it's \"quoted\""},
        {K::English, "\" OR \"\"=\"", "%", ""},                    // a quote cannot widen the condition
        {K::English, "'; DROP TABLE Mox5StatWord; --", "%", ""}};  // nor is statement text run
    for (const auto& [kind, text, wildcard, hits] : cases)
        EXPECT_EQ(firstColumn(kind, QString::fromUtf8(text), QString::fromUtf8(wildcard)).join('|'),
                  QString::fromUtf8(hits))
            << text << " [" << wildcard << "]";
}

TEST_F(DictionarySearchTest, ColumnsComeInEachSearchsOrderAndNullsAreEmpty) {
    const std::tuple<K, const char*, DicRow> cases[] = {
        {K::Chinese, "pingjunshu", {"平均數", "píng jūn shù", "平均", "へいきん", "", "", "mean"}},
        {K::Japanese, "へいきん", {"平均", "へいきん", "平均數", "píng jūn shù", "", "", "mean"}},
        {K::English,
         "statistics",
         {"statistics", "統計学", "とうけいがく", "統計學", "tǒng jì xué", "", "記述統計"}},
    };
    for (const auto& [kind, key, row] : cases) {
        const DicSearchResult r = DictionarySearch(file).run(kind, QString::fromUtf8(key), QString());
        ASSERT_TRUE(r.ok);
        ASSERT_EQ(r.rows.size(), 1u);
        EXPECT_EQ(r.rows[0], row) << key;
    }
}

TEST(DictionarySearchFiles, AMissingFileIsMadeFromTheShippedContentBuiltIntoTheProgram) {
    QTemporaryDir dir;
    const QString sql = writeFile(dir.filePath(QStringLiteral("terms.sql")), termTableSql().toUtf8());
    const QString file = DictionarySearch::fileIn(dir.filePath(QStringLiteral("parts")));
    DicSearchResult r = DictionarySearch(file, sql).run(K::English, QString(), QStringLiteral("%"));
    EXPECT_TRUE(r.ok) << r.error.toStdString();
    EXPECT_EQ(r.rows.size(), static_cast<std::size_t>(kTermCount));
    EXPECT_TRUE(QFile::exists(file));

    r = DictionarySearch(DictionarySearch::fileIn(dir.path()))
            .run(K::Chinese, QString(), QStringLiteral("%"));
    EXPECT_TRUE(r.ok) << r.error.toStdString();
    EXPECT_FALSE(r.rows.empty());
}

TEST(DictionarySearchFiles, UnreadableFilesAreReportedWithNameAndReasonAndLeftAlone) {
    const std::tuple<const char*, QByteArray, const char*> cases[] = {
        // text of the file or SQL made into one
        {"text", "this is not a database\n", "データベースのファイルではありません"},
        {"other-table", "CREATE TABLE Other (ID INTEGER);", "Mox5StatWord"},
        {"missing-field", "CREATE TABLE Mox5StatWord (ID INTEGER, ChineseKey TEXT);", "必要な項目"},
    };
    for (const auto& [name, content, reason] : cases) {
        QTemporaryDir dir;
        const QString file = dir.filePath(QString::fromUtf8(name) + QStringLiteral(".sqlite"));
        if (content.startsWith("CREATE"))
            SqlFile(file).exec(QString::fromUtf8(content));
        else
            writeFile(file, content);
        const QByteArray bytes = readFile(file);
        const DicSearchResult r =
            DictionarySearch(file).run(K::Chinese, QStringLiteral("a"), QStringLiteral("%"));
        EXPECT_TRUE(!r.ok && r.rows.empty()) << name;
        EXPECT_TRUE(r.error.contains(QDir::toNativeSeparators(file))) << r.error.toStdString();
        EXPECT_TRUE(r.error.contains(QString::fromUtf8(reason))) << r.error.toStdString();
        EXPECT_EQ(readFile(file), bytes) << name;
    }
}

}  // namespace
