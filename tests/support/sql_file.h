#pragma once

#include <gtest/gtest.h>

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUuid>
#include <QVariantList>

// A connection of its own to a database file while it lives, so a test sees the
// tables as they are on disk, not as the program reports them.
class SqlFile {
public:
    explicit SqlFile(const QString& path) {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        db.setDatabaseName(path);
        EXPECT_TRUE(db.open()) << db.lastError().text().toStdString();
    }
    ~SqlFile() {
        db().close();
        QSqlDatabase::removeDatabase(m_name);
    }
    SqlFile(const SqlFile&) = delete;
    SqlFile& operator=(const SqlFile&) = delete;

    QSqlDatabase db() const { return QSqlDatabase::database(m_name, false); }
    void exec(const QString& sql, const QVariantList& values = {}) const {
        QSqlQuery q(db());
        q.prepare(sql);
        for (const QVariant& v : values) q.addBindValue(v);
        EXPECT_TRUE(q.exec()) << q.lastError().text().toStdString();
    }
    // Every row the query gives, its fields joined by '|' ("∅" for null).
    QStringList rows(const QString& sql) const {
        QSqlQuery q(db());
        EXPECT_TRUE(q.exec(sql)) << q.lastError().text().toStdString();
        QStringList out;
        while (q.next()) {
            QStringList row;
            for (int i = 0; i < q.record().count(); ++i)
                row << (q.value(i).isNull() ? QStringLiteral("∅") : q.value(i).toString());
            out << row.join('|');
        }
        return out;
    }

private:
    const QString m_name = QUuid::createUuid().toString();
};

// Another program's open transaction while it lives: "IMMEDIATE" keeps writers
// out, "EXCLUSIVE" readers as well.
struct SqlLock : SqlFile {
    SqlLock(const QString& path, const QString& kind) : SqlFile(path) { exec("BEGIN " + kind); }
    ~SqlLock() { exec("ROLLBACK"); }
};
