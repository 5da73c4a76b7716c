#include "base/shipped_upgrade.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <memory>

#include "base/shipped_database.h"
#include "support/files.h"
#include "support/sql_file.h"

namespace {

// Version 1 as an earlier program shipped it, and the current version 2: a
// corrected entry (a), one unchanged (b, g), one withdrawn (d), two new (e, f),
// and a new column X.
const char* kVersion1 = R"(CREATE TABLE T (ID INTEGER PRIMARY KEY, K TEXT, A TEXT);
INSERT INTO T VALUES (1, 'a', 'old a');
INSERT INTO T VALUES (2, 'b', 'b');
INSERT INTO T VALUES (3, 'c', 'c');
INSERT INTO T VALUES (4, 'd', 'd');
INSERT INTO T VALUES (5, 'g', 'g');
)";
const char* kVersion2 = R"(CREATE TABLE T (ID INTEGER PRIMARY KEY, K TEXT, A TEXT, X TEXT);
INSERT INTO T VALUES (1, 'e', 'e', 'new');
INSERT INTO T VALUES (2, 'a', 'new a', 'x');
INSERT INTO T VALUES (3, 'b', 'b', NULL);
INSERT INTO T VALUES (4, 'c', 'new c', NULL);
INSERT INTO T VALUES (5, 'f', 'f', NULL);
INSERT INTO T VALUES (6, 'g', 'g', NULL);
PRAGMA user_version = 2;
)";

class ShippedUpgradeTest : public ::testing::Test {
protected:
    void SetUp() override {
        QFile::remove(file);
        writeFile(dir.filePath("v2.sql"), kVersion2);
        writeFile(dir.filePath("history.v1.sql"), kVersion1);
        content = {dir.filePath("v2.sql"), dir.filePath("history.v%1.sql"), "T", {"K"}, "ID"};
    }
    // A file made from the SQL, by default the one the version 1 program made.
    void make(const QString& sql = kVersion1) {
        QString error;
        ASSERT_TRUE(createDatabaseFromSql(file, sql, &error)) << error.toStdString();
    }
    // The rows by rowid, then the version.
    static QStringList rows(const QString& path) {
        const SqlFile f(path);
        return f.rows("SELECT * FROM T ORDER BY rowid")
               << "version " + f.rows("PRAGMA user_version").value(0);
    }
    QStringList backups() const {
        return QDir(dir.path()).entryList({"terms.sqlite.bak-*"}, QDir::Files, QDir::Name);
    }

    QTemporaryDir dir;
    QString file = dir.filePath("terms.sqlite");
    ShippedContent content;
};

TEST_F(ShippedUpgradeTest, UnchangedShippedRowsTakeTheNewContentAndTheUsersRowsStayAsTheyAre) {
    make(QString(kVersion1) +
         "UPDATE T SET A = 'mine' WHERE K = 'c';\n"     // edited
         "DELETE FROM T WHERE K = 'b';\n"               // deleted
         "INSERT INTO T VALUES (6, 'f', 'user f');\n"   // added, with the key of a new entry
         "INSERT INTO T VALUES (7, 'z', 'user z');\n"   // added
         "INSERT INTO T VALUES (9, 'a', 'old a');\n");  // a second copy of a shipped row
    const QStringList before = rows(file);
    writeFile(file + ".bak-1", "an earlier copy");

    const ShippedUpgrade r = upgradeShippedDatabase(file, content);
    ASSERT_EQ(r.status, ShippedUpgrade::Upgraded) << r.error.toStdString();
    EXPECT_EQ((std::array{r.fileVersion, r.shippedVersion, r.added, r.corrected, r.withdrawn, r.userRows}),
              (std::array{1, 2, 1, 1, 1, 4}));
    EXPECT_EQ(rows(file), QStringList({"1|a|new a|x", "3|c|mine|∅", "5|g|g|∅", "6|f|user f|∅", "7|z|user z|∅",
                                       "9|a|old a|∅", "10|e|e|new", "version 2"}));
    // The copy is the file as it was; an earlier copy is not overwritten.
    EXPECT_EQ(r.backupFile, file + ".bak-2");
    EXPECT_EQ(rows(r.backupFile), before);
    EXPECT_EQ(readFile(file + ".bak-1"), "an earlier copy");

    const QByteArray upgraded = readFile(file);
    EXPECT_EQ(upgradeShippedDatabase(file, content).status, ShippedUpgrade::Current);
    EXPECT_EQ(readFile(file), upgraded);
    EXPECT_EQ(backups().size(), 2);
}

TEST_F(ShippedUpgradeTest, MissingAndNewerFilesAreLeftAlone) {
    EXPECT_EQ(upgradeShippedDatabase(file, content).status, ShippedUpgrade::Missing);
    EXPECT_FALSE(QFile::exists(file));
    make(QString(kVersion1) + "PRAGMA user_version = 3;\n");
    const QByteArray newer = readFile(file);
    const ShippedUpgrade r = upgradeShippedDatabase(file, content);
    EXPECT_EQ(std::make_pair(r.status, r.fileVersion), std::make_pair(ShippedUpgrade::Newer, 3));
    EXPECT_EQ(readFile(file), newer);
    EXPECT_TRUE(backups().isEmpty());
}

TEST_F(ShippedUpgradeTest, AFailureLeavesTheFileAsItWasWithoutACopyAndSaysWhy) {
    const std::tuple<std::string, const char*, const char*> cases[] = {
        // what is wrong, the SQL the file is made from (none: a text file), reason
        {"read-only", kVersion1, "読み取り専用"},
        {"in use", kVersion1, "使用中"},
        {"not a database", nullptr, "データベースのファイルではありません"},
        {"no table", "CREATE TABLE Other (K TEXT);", "表 T がありません"},
        {"a shipped column missing", "CREATE TABLE T (ID INTEGER PRIMARY KEY, K TEXT);",
         "項目 A がありません"},
        {"no history for its version", kVersion1, "版 1 の出荷時の内容がない"},
        {"a key twice in the shipped content", kVersion1, "重複"}};
    for (const auto& [what, sql, reason] : cases) {
        SCOPED_TRACE(what);
        SetUp();
        sql ? make(sql) : (void)writeFile(file, "not a database at all");
        if (what == "read-only")
            QFile::setPermissions(file, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
        auto otherProgram = what == "in use" ? std::make_unique<SqlLock>(file, "IMMEDIATE") : nullptr;
        if (what == "no history for its version") content.historyFile = dir.filePath("elsewhere.v%1.sql");
        if (what == "a key twice in the shipped content")
            writeFile(dir.filePath("v2.sql"), QByteArray(kVersion2).replace("(6, 'g'", "(6, 'b'"));
        const QByteArray before = readFile(file);
        const ShippedUpgrade r = upgradeShippedDatabase(file, content);
        otherProgram.reset();
        EXPECT_EQ(r.status, ShippedUpgrade::Failed);
        EXPECT_TRUE(r.error.contains(QString::fromUtf8(reason))) << r.error.toStdString();
        EXPECT_EQ(readFile(file), before);
        EXPECT_TRUE(backups().isEmpty());
        QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner);
    }
}

}  // namespace
