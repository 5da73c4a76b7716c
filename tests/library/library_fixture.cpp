#include "library_fixture.h"

#include <gtest/gtest.h>

#include <QSqlQuery>
#include <QTemporaryDir>

#include "support/files.h"

namespace libfix {

std::vector<LibraryRow> readAll(const QString& path) {
    const SqlFile f(path);
    std::vector<LibraryRow> out;
    QSqlQuery q(f.db());
    EXPECT_TRUE(q.exec("SELECT jCmdType, jSeq, jCmdName, jCmd, jCmd2, jNote FROM jCMD ORDER BY rowid"));
    while (q.next())
        out.push_back({q.value(0).toInt(), q.value(1).toInt(), q.value(2).toString(), q.value(3).toString(),
                       q.value(4).toString(), q.value(5).toString()});
    return out;
}

void writeLibrary(const QString& path, const std::vector<Row>& rows) {
    const SqlFile f(path);
    f.exec(
        "CREATE TABLE jCMD (jCmdType INTEGER, jSeq INTEGER, jCmdName TEXT, jCmd TEXT, jCmd2 TEXT, jNote "
        "TEXT)");
    for (const Row& r : rows) {
        const bool cat = r.seq == 0;
        f.exec("INSERT INTO jCMD VALUES (?, ?, ?, ?, ?, ?)",
               {r.type, r.seq, r.name, cat ? QVariant() : QVariant(r.cmd),
                cat || r.nullTexts ? QVariant() : QVariant(QString()),
                cat || r.nullTexts ? QVariant() : QVariant(r.note)});
    }
    // Made by this program: start-up leaves it as it is.
    const QByteArray shipped = readFile(":/shipped/jCmd.sql");
    f.exec(QString::fromUtf8(shipped.mid(shipped.lastIndexOf("PRAGMA user_version"))).trimmed());
}

std::vector<LibraryRow> shippedExpressions(int* categories) {
    QTemporaryDir dir;
    LibraryStore store(LibraryStore::fileIn(dir.path()));
    std::vector<LibraryRow> out;
    const auto cats = store.ReadCategories();
    EXPECT_TRUE(cats) << store.lastError().toStdString();
    if (categories) *categories = cats ? static_cast<int>(cats->size()) : 0;
    for (const LibraryRow& c : cats.value_or(std::vector<LibraryRow>{}))
        for (const LibraryRow& r : store.ReadExpressions(c.jCmdType).value_or(std::vector<LibraryRow>{}))
            out.push_back(r);
    return out;
}

}  // namespace libfix
