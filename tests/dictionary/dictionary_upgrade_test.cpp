#include "dictionary/dictionary_upgrade.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "base/shipped_database.h"
#include "dictionary/dictionary_search.h"
#include "support/files.h"
#include "support/sql_file.h"

namespace {

// Every entry, its fields but the ID ("∅" for null), sorted; the version last.
QStringList entries(const QString& file) {
    const SqlFile f(file);
    QStringList out = f.rows(
        "SELECT ChineseKey, JapaneseKey, ChineseK, ChineseH, JapaneseK, JapaneseH, EnglishK, Note1, Note2, "
        "EnglishA FROM Mox5StatWord");
    out.sort();
    return out << "version " + f.rows("PRAGMA user_version").value(0);
}

TEST(DictionaryUpgrade, AFileOfTheFirstContentGetsEveryNewEntryAndKeepsTheUsersRows) {
    QTemporaryDir dir;
    const QString file = DictionarySearch::fileIn(dir.path());
    const char* userRow =
        "INSERT INTO Mox5StatWord VALUES (777, 'wodeci', 'わたしのご', '我的詞', 'wǒ de cí', '私の語', "
        "'わたしのご', 'my term', NULL, NULL);\n";
    const char* userEdit = "UPDATE Mox5StatWord SET Note1 = '自分のメモ' WHERE ChineseK = '統計學';\n";
    QString error;
    ASSERT_TRUE(createDatabaseFromSql(
        file, QString::fromUtf8(readFile(":/shipped/history/Mox5StatWord.v1.sql") + userRow + userEdit),
        &error))
        << error.toStdString();

    EXPECT_EQ(upgradeDictionaryFile(dir.path()), QString());
    EXPECT_TRUE(QFile::exists(file + ".bak-1"));

    // What a fresh file holds, but for the user's two rows as the user left them.
    const QString fresh = dir.filePath("fresh.sqlite");
    ASSERT_TRUE(
        createDatabaseFromSql(fresh, QString::fromUtf8(readFile(":/shipped/Mox5StatWord.sql")), &error));
    QStringList expected = entries(fresh);
    const qsizetype edited = expected.indexOf(
        "tongjixue|とうけいがく|統計學|tǒng jì xué|統計学|とうけいがく|statistics|∅|記述統計|∅");
    ASSERT_GE(edited, 0);
    expected[edited].replace("|∅|記述統計", "|自分のメモ|記述統計");
    expected.insert(expected.size() - 1, "wodeci|わたしのご|我的詞|wǒ de cí|私の語|わたしのご|my term|∅|∅|∅");
    std::sort(expected.begin(), expected.end() - 1);
    EXPECT_EQ(entries(file), expected);

    // The new content answers the searches; the user's row too.
    const DictionarySearch search(file);
    EXPECT_FALSE(search.run(DicSearchKind::English, "ANOVA", "").rows.empty());
    EXPECT_EQ(search.run(DicSearchKind::Chinese, "wo de ci", "").rows.size(), 1u);
    EXPECT_EQ(upgradeDictionaryFile(dir.path()), QString());  // now current
    EXPECT_FALSE(QFile::exists(file + ".bak-2"));
}

}  // namespace
