#include "base/shipped_upgrade.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <functional>

#include "base/shipped_database.h"

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
public:
    void SetUp() override {
        write(dir.filePath("v2.sql"), kVersion2);
        write(dir.filePath("history.v1.sql"), kVersion1);
        content = {dir.filePath("v2.sql"), dir.filePath("history.v%1.sql"), "T", {"K"}, "ID"};
    }
    static void write(const QString& path, const QByteArray& text) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }
    static QByteArray bytes(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    // A file as the version 1 program made it, then changed by statements.
    void makeOld(const QString& changes = {}) {
        QString error;
        ASSERT_TRUE(createDatabaseFromSql(file, QString::fromUtf8(kVersion1) + changes, &error))
            << error.toStdString();
    }
    // The rows by rowid, "∅" for null; the version last.
    static QStringList rows(const QString& path) {
        QStringList out;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "look");
            db.setDatabaseName(path);
            EXPECT_TRUE(db.open());
            QSqlQuery q(db);
            q.exec("SELECT * FROM T ORDER BY rowid");
            while (q.next()) {
                QStringList row;
                for (int i = 0; i < q.record().count(); ++i)
                    row << (q.value(i).isNull() ? QStringLiteral("∅") : q.value(i).toString());
                out << row.join('|');
            }
            q.exec("PRAGMA user_version");
            out << (q.next() ? "version " + q.value(0).toString() : "no version");
        }
        QSqlDatabase::removeDatabase("look");
        return out;
    }
    QStringList backups() const {
        return QDir(dir.path()).entryList({"terms.sqlite.bak-*"}, QDir::Files, QDir::Name);
    }

    QTemporaryDir dir;
    QString file = dir.filePath("terms.sqlite");
    ShippedContent content;
};

TEST_F(ShippedUpgradeTest, UnchangedShippedRowsTakeTheNewContentAndTheUsersRowsStayAsTheyAre) {
    makeOld(
        "UPDATE T SET A = 'mine' WHERE K = 'c';\n"     // edited
        "DELETE FROM T WHERE K = 'b';\n"               // deleted
        "INSERT INTO T VALUES (6, 'f', 'user f');\n"   // added, with the key of a new entry
        "INSERT INTO T VALUES (7, 'z', 'user z');\n"   // added
        "INSERT INTO T VALUES (9, 'a', 'old a');\n");  // a second copy of a shipped row
    const QStringList before = rows(file);
    write(file + ".bak-1", "an earlier copy");

    const ShippedUpgrade r = upgradeShippedDatabase(file, content);
    ASSERT_EQ(r.status, ShippedUpgrade::Upgraded) << r.error.toStdString();
    EXPECT_EQ((std::array{r.fileVersion, r.shippedVersion, r.added, r.corrected, r.withdrawn, r.userRows}),
              (std::array{1, 2, 1, 1, 1, 4}));
    EXPECT_EQ(rows(file), QStringList({"1|a|new a|x", "3|c|mine|∅", "5|g|g|∅", "6|f|user f|∅", "7|z|user z|∅",
                                       "9|a|old a|∅", "10|e|e|new", "version 2"}));
    // The copy is the file as it was; an earlier copy is not overwritten.
    EXPECT_EQ(r.backupFile, file + ".bak-2");
    EXPECT_EQ(rows(r.backupFile), before);
    EXPECT_EQ(bytes(file + ".bak-1"), "an earlier copy");

    const QByteArray upgraded = bytes(file);
    EXPECT_EQ(upgradeShippedDatabase(file, content).status, ShippedUpgrade::Current);
    EXPECT_EQ(bytes(file), upgraded);
    EXPECT_EQ(backups().size(), 2);
}

TEST_F(ShippedUpgradeTest, NewFilesAreCurrentNewerFilesAndMissingOnesAreLeftAlone) {
    EXPECT_EQ(upgradeShippedDatabase(file, content).status, ShippedUpgrade::Missing);
    EXPECT_FALSE(QFile::exists(file));
    QString error;
    ASSERT_TRUE(createDatabaseFromSql(file, QString::fromUtf8(kVersion2), &error));
    EXPECT_EQ(upgradeShippedDatabase(file, content).status, ShippedUpgrade::Current);
    QFile::remove(file);
    makeOld("PRAGMA user_version = 3;\n");
    const QByteArray newer = bytes(file);
    const ShippedUpgrade r = upgradeShippedDatabase(file, content);
    EXPECT_EQ(r.status, ShippedUpgrade::Newer);
    EXPECT_EQ(r.fileVersion, 3);
    EXPECT_EQ(bytes(file), newer);
    EXPECT_TRUE(backups().isEmpty());
}

TEST_F(ShippedUpgradeTest, AFailureLeavesTheFileAsItWasWithoutACopyAndSaysWhy) {
    const std::tuple<const char*, std::function<void(ShippedUpgradeTest&)>, const char*> cases[] = {
        {"read-only",
         [](ShippedUpgradeTest& t) {
             t.makeOld();
             QFile::setPermissions(t.file, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
         },
         "読み取り専用"},
        {"not a database", [](ShippedUpgradeTest& t) { write(t.file, "not a database at all"); },
         "データベースのファイルではありません"},
        {"no table",
         [](ShippedUpgradeTest& t) {
             QString e;
             createDatabaseFromSql(t.file, "CREATE TABLE Other (K TEXT);", &e);
         },
         "表 T がありません"},
        {"a shipped column missing",
         [](ShippedUpgradeTest& t) {
             QString e;
             createDatabaseFromSql(t.file, "CREATE TABLE T (ID INTEGER PRIMARY KEY, K TEXT);", &e);
         },
         "項目 A がありません"},
        {"no history for its version",
         [](ShippedUpgradeTest& t) {
             t.makeOld();
             t.content.historyFile = t.dir.filePath("elsewhere.v%1.sql");
         },
         "版 1 の出荷時の内容がない"},
        {"a key twice in the shipped content",
         [](ShippedUpgradeTest& t) {
             t.makeOld();
             write(t.dir.filePath("v2.sql"), QByteArray(kVersion2).replace("(6, 'g'", "(6, 'b'"));
         },
         "重複"},
    };
    for (const auto& [name, prepare, reason] : cases) {
        SCOPED_TRACE(name);
        QFile::remove(file);
        SetUp();
        prepare(*this);
        const QByteArray before = bytes(file);
        const ShippedUpgrade r = upgradeShippedDatabase(file, content);
        EXPECT_EQ(r.status, ShippedUpgrade::Failed);
        EXPECT_TRUE(r.error.contains(QString::fromUtf8(reason))) << r.error.toStdString();
        EXPECT_EQ(bytes(file), before);
        EXPECT_TRUE(backups().isEmpty());
        QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner);
    }
}

TEST_F(ShippedUpgradeTest, AFileAnotherProgramIsWritingIsLeftAsItWas) {
    makeOld();
    const QByteArray before = bytes(file);
    ShippedUpgrade r;
    {
        QSqlDatabase other = QSqlDatabase::addDatabase("QSQLITE", "other");
        other.setDatabaseName(file);
        ASSERT_TRUE(other.open());
        QSqlQuery q(other);
        ASSERT_TRUE(q.exec("BEGIN IMMEDIATE"));
        r = upgradeShippedDatabase(file, content);
        q.exec("ROLLBACK");
    }
    QSqlDatabase::removeDatabase("other");
    EXPECT_EQ(r.status, ShippedUpgrade::Failed);
    EXPECT_TRUE(r.error.contains("使用中")) << r.error.toStdString();
    EXPECT_EQ(bytes(file), before);
    EXPECT_TRUE(backups().isEmpty());
}

}  // namespace
