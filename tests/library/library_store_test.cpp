#include "library/library_store.h"
#include "base/shipped_database.h"
#include "library/library_upgrade.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <map>
#include <set>

#include "library_fixture.h"
#include "support/files.h"

using libfix::Row;
using Keys = std::vector<std::pair<int, int>>;

namespace {

class LibraryStoreTest : public ::testing::Test {
protected:
    LibraryStoreTest() { store.setBusyTimeoutMs(50); }
    QString path() const { return store.filePath(); }

    QTemporaryDir dir;
    LibraryStore store{LibraryStore::fileIn(dir.path())};
};

LibraryExpression expr(int category, int number = 0) { return {"式", "+/ y", "", "備考", category, number}; }

// Every operation of a store, the two reads first; each answers whether it succeeded.
std::vector<std::function<bool()>> operations(LibraryStore& s, LibraryExpression& e) {
    return {[&] { return s.ReadCategories().has_value(); },
            [&] { return s.ReadExpressions(1).has_value(); },
            [&] { return s.Class_AddNew("x", 5); },
            [&] { return s.Class_Update("x", 1); },
            [&] { return s.Class_Delete(1); },
            [&] { return s.Cont_AddNew(e); },
            [&] { return s.Cont_Update(e); },
            [&] { return s.Cont_Delete(e); }};
}

TEST_F(LibraryStoreTest, NewExpressionIsOneAboveTheHighestOfItsCategoryAndNeverADuplicate) {
    const std::vector<Row> three = {{1, 0, "分類"}, {1, 1, "a"}, {1, 2, "b"}, {1, 3, "c"}};
    const std::tuple<std::vector<Row>, std::vector<int>, int> cases[] = {
        // rows, numbers deleted first, new number
        {{{1, 0, "only its own row"}}, {}, 1},
        {three, {2}, 4},  // middle deleted
        {three, {3}, 3},  // last deleted
        {{{1, 0, "imported"}, {1, 5, "a"}, {1, 2, "b"}}, {}, 6},
        {{{2, 0, "other"}, {2, 7, "x"}, {1, 0, "own"}}, {}, 1}};
    for (const auto& [rows, deleted, expected] : cases) {
        QFile::remove(path());
        libfix::writeLibrary(path(), rows);
        for (int n : deleted) ASSERT_TRUE(store.Cont_Delete(expr(1, n)));
        LibraryExpression e = expr(1);
        ASSERT_TRUE(store.Cont_AddNew(e)) << store.lastError().toStdString();
        EXPECT_EQ(e.number, expected);
        const Keys k = libfix::keys(path());
        EXPECT_EQ(k.back(), std::make_pair(1, expected));
        EXPECT_FALSE(libfix::readAll(path()).back().jCmd2.isNull());  // an empty text, not NULL
        EXPECT_EQ(std::set(k.begin(), k.end()).size(), k.size());
    }
}

TEST_F(LibraryStoreTest, DeletingACategoryTakesAllItsRowsAndNoOthersOrNothingAtAll) {
    libfix::writeLibrary(
        path(), {{1, 0, "一"}, {2, 0, "二"}, {1, 1, "a"}, {2, 1, "b"}, {1, 2, "c"}, {12, 0, "十二"}});
    ASSERT_TRUE(store.Class_Delete(1));
    EXPECT_EQ(libfix::keys(path()), (Keys{{2, 0}, {2, 1}, {12, 0}}));

    // A failure half way (a crash or a full disk) must not leave half a category.
    libfix::execute(path(),
                    "CREATE TRIGGER stop BEFORE DELETE ON jCMD WHEN old.jSeq = 1 "
                    "BEGIN SELECT RAISE(FAIL, 'interrupted'); END");
    EXPECT_FALSE(store.Class_Delete(2));
    EXPECT_TRUE(store.lastError().contains(QDir::toNativeSeparators(path())));
    EXPECT_EQ(libfix::keys(path()).size(), 3u);
}

// Texts are bound, not pasted into the statement; reads keep the stored order and
// give NULL texts as empty ones.
TEST_F(LibraryStoreTest, RenameChangeAndDeleteTouchOnlyTheirOwnRow) {
    libfix::writeLibrary(
        path(), {{1, 0, "一"}, {3, 0, "旧名"}, {3, 2, "b"}, {3, 1, "a", "1", "", true}, {1, 2, "c"}});
    const QString tricky = "'; DROP TABLE jCMD; -- \" ｶﾀｶﾅ\t 'x' ";
    ASSERT_TRUE(store.Class_Update("新名", 3));
    ASSERT_TRUE(store.Cont_Update({"名", tricky, "第二", tricky, 3, 2}));
    const auto read = store.ReadExpressions(3);
    ASSERT_TRUE(read && read->size() == 2u);
    EXPECT_EQ((*read)[0].jCmdName + (*read)[1].jCmdName + (*read)[1].jNote + (*read)[1].jCmd2, "名a");
    ASSERT_TRUE(store.Cont_Delete(expr(3, 1)));
    ASSERT_TRUE(store.Cont_Delete(expr(3, 9)));  // nothing there: nothing changes
    const auto rows = libfix::readAll(path());
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[1].jCmdName + QString::number(rows[1].jCmdType), "新名3");
    EXPECT_EQ(rows[2].jCmdName + rows[2].jCmd + rows[2].jCmd2 + rows[2].jNote,
              "名" + tricky + "第二" + tricky);
    EXPECT_EQ(rows[3].jCmdName, "c");
}

TEST_F(LibraryStoreTest, WhatCannotBeDoneIsRefusedWithAReasonAndNothingWritten) {
    libfix::writeLibrary(path(), {{1, 0, "一"}, {1, 32767, "満杯"}, {2, 1, "親なし"}});
    LibraryExpression full = expr(1), orphan = expr(2);
    const std::vector<std::pair<std::function<bool()>, const char*>> refused = {
        {[&] { return store.Class_AddNew("x", 32768); }, "32767"},  // past 16 bits
        {[&] { return store.Class_AddNew("x", 1); }, "すでに"},     // number taken
        {[&] { return store.Cont_AddNew(full); }, "32767"},
        {[&] { return store.Cont_AddNew(orphan); }, "見つかりません"},  // no category row
        {[&] { return store.Class_Update("x", 9); }, "見つかりません"},
        {[&] { return store.Cont_Update(expr(1, 5)); }, "見つかりません"},
        {[&] { return store.Cont_Delete(expr(1, 0)); }, "式を指していません"},  // the category row itself
    };
    for (const auto& [op, reason] : refused) {
        EXPECT_FALSE(op());
        EXPECT_TRUE(store.lastError().contains(QString::fromUtf8(reason))) << store.lastError().toStdString();
    }
    EXPECT_EQ(libfix::keys(path()), (Keys{{1, 0}, {1, 32767}, {2, 1}}));
    ASSERT_TRUE(store.Class_AddNew("最後", 32767));
}

TEST(LibraryStoreFiles, EveryOperationOnABadFileNamesTheFileAndReasonAndChangesNothing) {
    for (const auto& [bad, reason] : {std::pair{"text", "データベース ファイルではありません"},
                                      {"folder", "開けません"},
                                      {"other table", "表 jCMD がありません"},
                                      {"file as folder", "作成できません"}}) {
        QTemporaryDir dir;
        const std::string kind = bad;
        QString file = LibraryStore::fileIn(dir.path());
        if (kind == "text") writeFile(file, QByteArray(4096, 'x'));
        if (kind == "folder") QDir().mkpath(file);
        if (kind == "other table") libfix::execute(file, "CREATE TABLE other (a INTEGER)");
        if (kind == "file as folder") file = LibraryStore::fileIn(writeFile(dir.filePath("f"), "x"));
        const QByteArray before = readFile(file);
        LibraryStore store(file);
        LibraryExpression e = expr(1, 1);
        for (const auto& op : operations(store, e)) {
            EXPECT_FALSE(op());
            EXPECT_TRUE(store.lastError().contains(QDir::toNativeSeparators(file)) &&
                        store.lastError().contains(QString::fromUtf8(reason)))
                << store.lastError().toStdString();
        }
        EXPECT_EQ(readFile(file), before) << bad;
    }
}

TEST_F(LibraryStoreTest, AFileLockedByAnotherProgramIsReportedAndLeftAlone) {
    libfix::writeLibrary(path(), {{1, 0, "一"}, {1, 1, "a"}});
    LibraryExpression e = expr(1, 1);
    const auto ops = operations(store, e);
    {
        SqlLock writer(path(), "IMMEDIATE");
        EXPECT_TRUE(ops[0]());  // reading goes on beside a writer
        for (std::size_t i = 2; i < ops.size(); ++i) {
            EXPECT_FALSE(ops[i]()) << i;
            EXPECT_TRUE(store.lastError().contains("ロック")) << store.lastError().toStdString();
        }
    }
    {
        SqlLock exclusive(path(), "EXCLUSIVE");
        EXPECT_FALSE(ops[0]());
        EXPECT_TRUE(store.lastError().contains("ロック"));
    }
    EXPECT_EQ(libfix::keys(path()), (Keys{{1, 0}, {1, 1}}));
    EXPECT_TRUE(ops[1]());
}

}  // namespace

// A file made from the first shipped library, with an expression the user added and a
// shipped one the user changed, gets the new entries and corrections; the user's rows
// stay as they were, no number is held twice in a category, and a copy is kept.
TEST_F(LibraryStoreTest, AnOldLibraryIsUpgradedAroundTheUsersRows) {
    QString error;
    ASSERT_TRUE(
        createDatabaseFromSql(path(), QString::fromUtf8(readFile(":/shipped/history/jCmd.v1.sql")), &error));
    LibraryExpression mine{"私の式", "+/ *: y", "", "自作", 1, 0};
    ASSERT_TRUE(store.Cont_AddNew(mine));
    libfix::execute(path(), "UPDATE jCMD SET jNote = '書き換えた' WHERE jCmdName = '平均'");
    const std::vector<LibraryRow> before = libfix::readAll(path());

    const ShippedUpgrade r = upgradeShippedDatabase(path(), libraryContent());
    ASSERT_EQ(r.status, ShippedUpgrade::Upgraded) << r.error.toStdString();
    EXPECT_EQ(r.userRows, 2);
    EXPECT_GE(r.renumbered, 1);  // a new entry whose number the user's expression took
    EXPECT_EQ(libfix::readAll(r.backupFile).size(), before.size());

    std::map<std::pair<int, QString>, LibraryRow> now;
    std::set<std::pair<int, int>> numbers;
    for (const LibraryRow& row : libfix::readAll(path())) {
        now[{row.jCmdType, row.jCmdName}] = row;
        EXPECT_TRUE(numbers.insert({row.jCmdType, row.jSeq}).second) << row.jCmdName.toStdString();
    }
    const LibraryRow &mineNow = now[{1, "私の式"}], &edited = now[{1, "平均"}];
    EXPECT_EQ(mineNow.jCmd + "|" + mineNow.jNote + "|" + edited.jNote, "+/ *: y|自作|書き換えた");
    for (const LibraryRow& row : libfix::shippedExpressions())
        EXPECT_TRUE(now.count({row.jCmdType, row.jCmdName})) << row.jCmdName.toStdString();
}
