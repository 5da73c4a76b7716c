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
    const QString file = DictionarySearch::fileIn(dir.path()), fresh = dir.filePath("fresh.sqlite");
    // A term of the user's own, and a note the user wrote on a shipped one.
    const QByteArray mine =
        "INSERT INTO Mox5StatWord (ChineseKey, JapaneseKey, ChineseK, ChineseH, JapaneseK, JapaneseH, "
        "EnglishK) VALUES ('wodeci', 'わたしのご', '我的詞', 'wǒ de cí', "
        "'私の語', 'わたしのご', 'my term');\n"
        "UPDATE Mox5StatWord SET Note1 = '自分のメモ' WHERE ChineseK = '統計學';\n";
    QString error;
    for (const auto& [path, content] :
         {std::pair{file, "history/Mox5StatWord.v1.sql"}, {fresh, "Mox5StatWord.sql"}})
        ASSERT_TRUE(createDatabaseFromSql(
            path, QString::fromUtf8(readFile(QString(":/shipped/") + content) + mine), &error))
            << error.toStdString();

    // What the current content holds with the same changes made to it.
    EXPECT_EQ(upgradeDictionaryFile(dir.path()), QString());
    EXPECT_TRUE(QFile::exists(file + ".bak-1"));
    EXPECT_EQ(entries(file), entries(fresh));
    EXPECT_TRUE(entries(file).contains(
        "tongjixue|とうけいがく|統計學|tǒng jì xué|統計学|とうけいがく|statistics|自分のメモ|記述統計|∅"));

    // The new content answers the searches; the user's row too.
    const DictionarySearch search(file);
    EXPECT_FALSE(search.run(DicSearchKind::English, "ANOVA", "").rows.empty());
    EXPECT_EQ(search.run(DicSearchKind::Chinese, "wo de ci", "").rows.size(), 1u);
    EXPECT_EQ(upgradeDictionaryFile(dir.path()), QString());  // now current
    EXPECT_FALSE(QFile::exists(file + ".bak-2"));
}

}  // namespace
