#include "dictionary/dictionary_upgrade.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>

#include "base/shipped_database.h"
#include "dictionary/dictionary_search.h"

namespace {

QString resourceText(const QString& path) {
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
    return QString::fromUtf8(f.readAll());
}

// Every entry, its fields but the ID joined ("∅" for null), sorted; the version last.
QStringList entries(const QString& file) {
    QStringList out;
    QString version;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "entries");
        db.setDatabaseName(file);
        EXPECT_TRUE(db.open());
        QSqlQuery q(db);
        q.exec(
            "SELECT ChineseKey, JapaneseKey, ChineseK, ChineseH, JapaneseK, JapaneseH, EnglishK, Note1, "
            "Note2, EnglishA FROM Mox5StatWord");
        while (q.next()) {
            QStringList row;
            for (int i = 0; i < q.record().count(); ++i)
                row << (q.value(i).isNull() ? QStringLiteral("∅") : q.value(i).toString());
            out << row.join('|');
        }
        q.exec("PRAGMA user_version");
        version = q.next() ? q.value(0).toString() : QString();
    }
    QSqlDatabase::removeDatabase("entries");
    out.sort();
    return out << "version " + version;
}

TEST(DictionaryUpgrade, AFileOfTheFirstContentGetsEveryNewEntryAndKeepsTheUsersRows) {
    QTemporaryDir dir;
    const QString file = DictionarySearch::fileIn(dir.path());
    const QString userRow =
        "INSERT INTO Mox5StatWord VALUES (777, 'wodeci', 'わたしのご', '我的詞', 'wǒ de cí', '私の語', "
        "'わたしのご', "
        "'my term', NULL, NULL);\n";
    const QString userEdit = "UPDATE Mox5StatWord SET Note1 = '自分のメモ' WHERE ChineseK = '統計學';\n";
    QString error;
    ASSERT_TRUE(createDatabaseFromSql(
        file, resourceText(":/shipped/history/Mox5StatWord.v1.sql") + userRow + userEdit, &error))
        << error.toStdString();

    EXPECT_EQ(upgradeDictionaryFile(dir.path()), QString());
    EXPECT_TRUE(QFile::exists(file + ".bak-1"));

    // What a fresh file holds, but for the user's two rows as the user left them.
    const QString fresh = dir.filePath("fresh.sqlite");
    ASSERT_TRUE(createDatabaseFromSql(fresh, resourceText(":/shipped/Mox5StatWord.sql"), &error));
    QStringList expected = entries(fresh);
    const auto edited = std::find_if(expected.begin(), expected.end(),
                                     [](const QString& e) { return e.section('|', 2, 2) == "統計學"; });
    ASSERT_NE(edited, expected.end());
    *edited =
        "tongjixue|とうけいがく|統計學|tǒng jì xué|統計学|とうけいがく|statistics|自分のメモ|記述統計|∅";
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
