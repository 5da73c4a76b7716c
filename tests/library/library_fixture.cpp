#include "library_fixture.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QUuid>
#include <QVariant>

namespace libfix {

Connection::Connection(const QString& path) : m_name(QUuid::createUuid().toString()) {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
    db.setDatabaseName(path);
    EXPECT_TRUE(db.open()) << db.lastError().text().toStdString();
}

Connection::~Connection() {
    QSqlDatabase::database(m_name, false).close();
    QSqlDatabase::removeDatabase(m_name);
}

void Connection::exec(const QString& sql, const QVariantList& values) const {
    QSqlQuery q(QSqlDatabase::database(m_name, false));
    q.prepare(sql);
    for (const QVariant& v : values) q.addBindValue(v);
    EXPECT_TRUE(q.exec()) << q.lastError().text().toStdString();
}

std::vector<LibraryRow> Connection::rows() const {
    std::vector<LibraryRow> out;
    QSqlQuery q(QSqlDatabase::database(m_name, false));
    EXPECT_TRUE(q.exec(
        QStringLiteral("SELECT jCmdType, jSeq, jCmdName, jCmd, jCmd2, jNote FROM jCMD ORDER BY rowid")));
    while (q.next())
        out.push_back({q.value(0).toInt(), q.value(1).toInt(), q.value(2).toString(), q.value(3).toString(),
                       q.value(4).toString(), q.value(5).toString()});
    return out;
}

void writeLibrary(const QString& path, const std::vector<Row>& rows) {
    const Connection c(path);
    c.exec(
        "CREATE TABLE jCMD (jCmdType INTEGER, jSeq INTEGER, jCmdName TEXT, jCmd TEXT, jCmd2 TEXT, jNote "
        "TEXT)");
    for (const Row& r : rows) {
        const bool cat = r.seq == 0;
        c.exec(QStringLiteral("INSERT INTO jCMD VALUES (?, ?, ?, ?, ?, ?)"),
               {r.type, r.seq, r.name, cat ? QVariant() : QVariant(r.cmd),
                cat || r.nullTexts ? QVariant() : QVariant(QString()),
                cat || r.nullTexts ? QVariant() : QVariant(r.note)});
    }
    // Made by this program: start-up leaves it as it is.
    QFile shipped(QStringLiteral(":/shipped/jCmd.sql"));
    EXPECT_TRUE(shipped.open(QIODevice::ReadOnly));
    const QByteArray all = shipped.readAll();
    c.exec(QString::fromUtf8(all.mid(all.lastIndexOf("PRAGMA user_version"))).trimmed());
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
