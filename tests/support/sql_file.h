#pragma once

#include <QSqlDatabase>
#include <QStringList>
#include <QVariantList>

// A connection of its own to a database file while it lives, so a test sees the
// tables as they are on disk, not as the program reports them.
class SqlFile {
public:
    explicit SqlFile(const QString& path);
    ~SqlFile();
    SqlFile(const SqlFile&) = delete;
    SqlFile& operator=(const SqlFile&) = delete;

    void exec(const QString& sql, const QVariantList& values = {}) const;
    // Every row the query gives, its fields joined by '|' ("∅" for null).
    QStringList rows(const QString& sql) const;
    QSqlDatabase db() const;

private:
    QString m_name;
};

// Another program's open transaction while it lives: "IMMEDIATE" keeps writers
// out, "EXCLUSIVE" readers as well.
struct SqlLock : SqlFile {
    SqlLock(const QString& path, const QString& kind) : SqlFile(path) { exec("BEGIN " + kind); }
    ~SqlLock() { exec("ROLLBACK"); }
};
