#include "library_fixture.h"

#include <gtest/gtest.h>

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>
#include <QVariant>

namespace libfix {
namespace {

QString openDb(const QString& path) {
    const QString name = QUuid::createUuid().toString();
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    db.setDatabaseName(path);
    EXPECT_TRUE(db.open()) << db.lastError().text().toStdString();
    return name;
}

void closeDb(const QString& name) {
    QSqlDatabase::database(name, false).close();
    QSqlDatabase::removeDatabase(name);
}

template <class F>
void withQuery(const QString& path, F f) {
    const QString name = openDb(path);
    {
        QSqlQuery q(QSqlDatabase::database(name, false));
        f(q);
    }
    closeDb(name);
}

}  // namespace

void writeLibrary(const QString& path, const std::vector<Row>& rows) {
    execute(path,
            "CREATE TABLE jCMD (jCmdType INTEGER, jSeq INTEGER, jCmdName TEXT, jCmd TEXT, jCmd2 TEXT, jNote "
            "TEXT)");
    withQuery(path, [&](QSqlQuery& q) {
        for (const Row& r : rows) {
            const bool cat = r.seq == 0;
            q.prepare(QStringLiteral("INSERT INTO jCMD VALUES (?, ?, ?, ?, ?, ?)"));
            for (const QVariant& v :
                 {QVariant(r.type), QVariant(r.seq), QVariant(r.name), cat ? QVariant() : QVariant(r.cmd),
                  cat || r.nullTexts ? QVariant() : QVariant(QString()),
                  cat || r.nullTexts ? QVariant() : QVariant(r.note)})
                q.addBindValue(v);
            EXPECT_TRUE(q.exec()) << q.lastError().text().toStdString();
        }
    });
}

std::vector<LibraryRow> readAll(const QString& path) {
    std::vector<LibraryRow> out;
    withQuery(path, [&](QSqlQuery& q) {
        EXPECT_TRUE(q.exec(
            QStringLiteral("SELECT jCmdType, jSeq, jCmdName, jCmd, jCmd2, jNote FROM jCMD ORDER BY rowid")));
        while (q.next())
            out.push_back({q.value(0).toInt(), q.value(1).toInt(), q.value(2).toString(),
                           q.value(3).toString(), q.value(4).toString(), q.value(5).toString()});
    });
    return out;
}

std::vector<std::pair<int, int>> keys(const QString& path) {
    std::vector<std::pair<int, int>> out;
    for (const LibraryRow& r : readAll(path)) out.emplace_back(r.jCmdType, r.jSeq);
    return out;
}

void execute(const QString& path, const QString& sql) {
    withQuery(path, [&](QSqlQuery& q) { EXPECT_TRUE(q.exec(sql)) << q.lastError().text().toStdString(); });
}

LockHolder::LockHolder(const QString& path, const QString& kind) : m_name(openDb(path)) {
    QSqlQuery q(QSqlDatabase::database(m_name, false));
    EXPECT_TRUE(q.exec(QStringLiteral("BEGIN ") + kind)) << q.lastError().text().toStdString();
}

LockHolder::~LockHolder() {
    QSqlQuery(QSqlDatabase::database(m_name, false)).exec(QStringLiteral("ROLLBACK"));
    closeDb(m_name);
}

}  // namespace libfix
