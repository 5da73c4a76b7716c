#include "support/sql_file.h"

#include <gtest/gtest.h>

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUuid>

SqlFile::SqlFile(const QString& path) : m_name(QUuid::createUuid().toString()) {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
    db.setDatabaseName(path);
    EXPECT_TRUE(db.open()) << db.lastError().text().toStdString();
}

SqlFile::~SqlFile() {
    QSqlDatabase::database(m_name, false).close();
    QSqlDatabase::removeDatabase(m_name);
}

QSqlDatabase SqlFile::db() const { return QSqlDatabase::database(m_name, false); }

void SqlFile::exec(const QString& sql, const QVariantList& values) const {
    QSqlQuery q(db());
    q.prepare(sql);
    for (const QVariant& v : values) q.addBindValue(v);
    EXPECT_TRUE(q.exec()) << q.lastError().text().toStdString();
}

QStringList SqlFile::rows(const QString& sql) const {
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
