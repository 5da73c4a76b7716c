#include "base/shipped_upgrade.h"

#include <sqlite3.h>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>
#include <QUuid>
#include <QVariant>
#include <algorithm>
#include <memory>
#include <vector>

#include "base/shipped_database.h"
#include "base/sqlite_handle.h"

namespace {

// One connection for the length of the upgrade, removed with it.
class Connection {
public:
    Connection(const QString& database, const QString& options) {
        m_name = QStringLiteral("shipped-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
        m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        m_db.setDatabaseName(database);
        m_db.setConnectOptions(options);
        m_db.open();
    }
    ~Connection() {
        m_db.close();
        m_db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_name);
    }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
    QSqlDatabase& db() { return m_db; }

private:
    QString m_name;
    QSqlDatabase m_db;
};

QString quoted(const QString& name) {
    return QLatin1Char('"') + QString(name).replace(QLatin1Char('"'), QStringLiteral("\"\"")) +
           QLatin1Char('"');
}

QString columnList(const QStringList& columns) {
    QStringList q;
    for (const QString& c : columns) q << quoted(c);
    return q.join(QStringLiteral(", "));
}

// The values with their SQLite types, as one comparable text.
QString signature(const QVariantList& values) {
    QString s;
    for (const QVariant& v : values) {
        if (v.isNull()) {
            s += QStringLiteral("N;");
            continue;
        }
        switch (v.typeId()) {
            case QMetaType::LongLong:
            case QMetaType::Int:
                s += QLatin1Char('I') + QString::number(v.toLongLong());
                break;
            case QMetaType::Double:
                s += QLatin1Char('R') + QString::number(v.toDouble(), 'g', 17);
                break;
            case QMetaType::QByteArray:
                s += QLatin1Char('B') + QString::fromLatin1(v.toByteArray().toHex());
                break;
            default: {
                const QString t = v.toString();
                s += QLatin1Char('T') + QString::number(t.size()) + QLatin1Char(':') + t;
            }
        }
        s += QLatin1Char(';');
    }
    return s;
}

QVariantList pick(const QVariantList& row, const QStringList& from, const QStringList& columns) {
    QVariantList out;
    for (const QString& c : columns) {
        const qsizetype i = from.indexOf(c);
        out << (i < 0 ? QVariant() : row[i]);
    }
    return out;
}

bool fail(ShippedUpgrade& r, const QString& why) {
    r.status = ShippedUpgrade::Failed;
    r.error = why;
    return false;
}

QString sqlReason(const QSqlError& e) {
    const QString text = e.databaseText().isEmpty() ? e.text() : e.databaseText();
    if (text.contains(QLatin1String("not a database"), Qt::CaseInsensitive))
        return QStringLiteral("データベースのファイルではありません。");
    if (text.contains(QLatin1String("locked"), Qt::CaseInsensitive))
        return QStringLiteral("ほかのプログラムが使用中です。");
    if (text.contains(QLatin1String("readonly"), Qt::CaseInsensitive))
        return QStringLiteral("ファイルが読み取り専用です。");
    return text.trimmed();
}

// A table's column names and its rows in stored order.
struct Rows {
    QStringList columns;
    QStringList types;
    std::vector<QVariantList> rows;
};

bool readColumns(QSqlDatabase& db, const QString& table, Rows& out) {
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("PRAGMA table_info(%1)").arg(quoted(table)))) return false;
    while (q.next()) {
        out.columns << q.value(1).toString();
        out.types << q.value(2).toString();
    }
    return !out.columns.isEmpty();
}

// The shipped content of one version, loaded into memory.
bool loadShipped(const QString& path, const QString& table, Rows& out, int& version, QString& why) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        why = QStringLiteral("出荷時の内容 %1 がありません。").arg(path);
        return false;
    }
    Connection c(QStringLiteral(":memory:"), QString());
    QString error;
    if (!runSqlLines(c.db(), QString::fromUtf8(f.readAll()), &error) || !readColumns(c.db(), table, out)) {
        why = QStringLiteral("出荷時の内容 %1 を読めません。%2").arg(path, error);
        return false;
    }
    QSqlQuery q(c.db());
    q.exec(QStringLiteral("PRAGMA user_version"));
    version = q.next() ? std::max(1, q.value(0).toInt()) : 1;
    q.exec(QStringLiteral("SELECT %1 FROM %2 ORDER BY rowid").arg(columnList(out.columns), quoted(table)));
    while (q.next()) {
        QVariantList row;
        for (int i = 0; i < out.columns.size(); ++i) row << q.value(i);
        out.rows.push_back(std::move(row));
    }
    return true;
}

QString freeBackupName(const QString& file) {
    for (int n = 1;; ++n) {
        const QString name = QStringLiteral("%1.bak-%2").arg(file).arg(n);
        if (!QFileInfo::exists(name)) return name;
    }
}

// A page-for-page copy through SQLite, consistent while the caller holds its
// read transaction.
bool copyDatabase(QSqlDatabase& db, const QString& to, QString& why) {
    sqlite3* from = sqliteHandle(db);
    sqlite3* dest = nullptr;
    int rc = from ? sqlite3_open_v2(to.toUtf8().constData(), &dest,
                                    SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr)
                  : SQLITE_MISUSE;
    if (rc == SQLITE_OK) {
        if (sqlite3_backup* b = sqlite3_backup_init(dest, "main", from, "main")) {
            rc = sqlite3_backup_step(b, -1);
            if (rc == SQLITE_DONE) rc = SQLITE_OK;
            const int finish = sqlite3_backup_finish(b);
            if (rc == SQLITE_OK) rc = finish;
        } else {
            rc = sqlite3_errcode(dest);
        }
    }
    if (rc != SQLITE_OK) why = QString::fromUtf8(dest ? sqlite3_errmsg(dest) : sqlite3_errstr(rc));
    sqlite3_close(dest);
    if (rc != SQLITE_OK) QFile::remove(to);
    return rc == SQLITE_OK;
}

class Upgrade {
public:
    Upgrade(const QString& file, const ShippedContent& content, ShippedUpgrade& r)
        : m_file(file), m_content(content), m_r(r) {}

    bool run();

private:
    bool check();
    bool classify();
    bool apply();
    int freeNumber(const QVariantList& values, const QStringList& columns, qint64 self);
    bool exec(const QString& sql, const QVariantList& values = {});
    QString keyOf(const QVariantList& row, const QStringList& columns) const {
        return signature(pick(row, columns, m_content.keyColumns));
    }

    const QString& m_file;
    const ShippedContent& m_content;
    ShippedUpgrade& m_r;
    std::unique_ptr<Connection> m_c;
    Rows m_old, m_new, m_fileTable;
    QStringList m_compared;                  // the old content's columns but the auto column
    QStringList m_extra;                     // columns of the file that the old content did not have
    QHash<QString, qint64> m_shippedRowids;  // key of an unchanged shipped row -> its rowid
    QSet<QString> m_userKeys;
};

bool Upgrade::exec(const QString& sql, const QVariantList& values) {
    QSqlQuery q(m_c->db());
    bool ok = q.prepare(sql);
    for (const QVariant& v : values) q.addBindValue(v);
    ok = ok && q.exec();
    return ok || fail(m_r, sqlReason(q.lastError()));
}

// Both contents and the file's table agree on what the upgrade relies on.
bool Upgrade::check() {
    if (!readColumns(m_c->db(), m_content.table, m_fileTable))
        return fail(m_r, QStringLiteral("表 %1 がありません。").arg(m_content.table));
    for (const QString& k : m_content.keyColumns)
        if (!m_old.columns.contains(k) || !m_new.columns.contains(k) || k == m_content.autoColumn)
            return fail(m_r, QStringLiteral("見出しの項目 %1 が出荷時の内容にありません。").arg(k));
    for (const QString& c : m_old.columns) {
        if (!m_fileTable.columns.contains(c))
            return fail(m_r, QStringLiteral("表 %1 に項目 %2 がありません。").arg(m_content.table, c));
        if (c != m_content.autoColumn) m_compared << c;
    }
    for (const QString& c : m_fileTable.columns)
        if (!m_old.columns.contains(c) && c != m_content.autoColumn) m_extra << c;
    for (const Rows* rows : {&m_old, &m_new}) {
        QSet<QString> keys;
        for (const QVariantList& row : rows->rows) {
            const QString key = keyOf(row, rows->columns);
            if (keys.contains(key))
                return fail(m_r, QStringLiteral("出荷時の内容で見出しが重複しています。"));
            keys.insert(key);
        }
    }
    return true;
}

// Which rows of the file are shipped and unchanged, and which keys the user's rows hold.
bool Upgrade::classify() {
    QHash<QString, QList<QString>> unclaimed;  // a shipped row's values -> its key, once per copy
    for (const QVariantList& row : m_old.rows)
        unclaimed[signature(pick(row, m_old.columns, m_compared))] << keyOf(row, m_old.columns);
    QSqlQuery q(m_c->db());
    q.setForwardOnly(true);
    const QStringList read = m_compared + m_extra;
    if (!q.exec(QStringLiteral("SELECT rowid, %1 FROM %2 ORDER BY rowid")
                    .arg(columnList(read), quoted(m_content.table))))
        return fail(m_r, sqlReason(q.lastError()));
    while (q.next()) {
        QVariantList row;
        for (int i = 0; i < read.size(); ++i) row << q.value(i + 1);
        bool extrasEmpty = true;
        for (int i = static_cast<int>(m_compared.size()); i < row.size(); ++i) extrasEmpty &= row[i].isNull();
        const QString sig = signature(row.mid(0, m_compared.size()));
        auto it = unclaimed.find(sig);
        if (extrasEmpty && it != unclaimed.end() && !it->isEmpty()) {
            m_shippedRowids.insert(it->takeFirst(), q.value(0).toLongLong());
        } else {
            ++m_r.userRows;
            m_userKeys.insert(keyOf(row, read));
        }
    }
    return !q.lastError().isValid() || fail(m_r, sqlReason(q.lastError()));
}

// 0 when a row may keep its number; else the next free number of its group, or -1 for a
// group row (number 0) whose group already has one.
int Upgrade::freeNumber(const QVariantList& values, const QStringList& columns, qint64 self) {
    if (m_content.numberColumn.isEmpty()) return 0;
    const QVariant number = values.value(columns.indexOf(m_content.numberColumn));
    const QVariant group = values.value(columns.indexOf(m_content.groupColumn));
    QSqlQuery q(m_c->db());
    q.prepare(
        QStringLiteral("SELECT COUNT(*), (SELECT COALESCE(MAX(%1), 0) FROM %3 WHERE %2 = ?) FROM %3 "
                       "WHERE %2 = ? AND %1 = ? AND rowid <> ?")
            .arg(quoted(m_content.numberColumn), quoted(m_content.groupColumn), quoted(m_content.table)));
    for (const QVariant& v : {group, group, number, QVariant(self)}) q.addBindValue(v);
    if (!q.exec() || !q.next() || q.value(0).toInt() == 0) return 0;
    return number.toInt() == 0 ? -1 : q.value(1).toInt() + 1;
}

bool Upgrade::apply() {
    for (int i = 0; i < m_new.columns.size(); ++i)
        if (!m_fileTable.columns.contains(m_new.columns[i]) &&
            !exec(QStringLiteral("ALTER TABLE %1 ADD COLUMN %2 %3")
                      .arg(quoted(m_content.table), quoted(m_new.columns[i]), m_new.types[i])))
            return false;
    QStringList written = m_new.columns;
    written.removeAll(m_content.autoColumn);
    QHash<QString, QString> oldText;  // key -> the old content's values in the written columns
    for (const QVariantList& row : m_old.rows)
        oldText.insert(keyOf(row, m_old.columns), signature(pick(row, m_old.columns, written)));

    // Entries no longer shipped go first, so the numbers they held are free again.
    QSet<QString> shippedNow;
    for (const QVariantList& row : m_new.rows) shippedNow.insert(keyOf(row, m_new.columns));
    for (auto it = m_shippedRowids.begin(); it != m_shippedRowids.end();) {
        if (shippedNow.contains(it.key())) {
            ++it;
            continue;
        }
        if (!exec(QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(quoted(m_content.table)), {*it}))
            return false;
        ++m_r.withdrawn;
        it = m_shippedRowids.erase(it);
    }

    QStringList sets;
    for (const QString& c : written) sets << quoted(c) + QStringLiteral(" = ?");
    const QString update = QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?")
                               .arg(quoted(m_content.table), sets.join(QStringLiteral(", ")));
    const QString insert =
        QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
            .arg(quoted(m_content.table), columnList(written),
                 QStringList(written.size(), QStringLiteral("?")).join(QStringLiteral(", ")));
    for (const QVariantList& row : m_new.rows) {
        const QString key = keyOf(row, m_new.columns);
        QVariantList values = pick(row, m_new.columns, written);
        const qint64 self = m_shippedRowids.value(key, -1);
        if (int free = freeNumber(values, written, self); free < 0) {
            continue;  // the group already has its own row
        } else if (free > 0) {
            values[written.indexOf(m_content.numberColumn)] = free;
            ++m_r.renumbered;
        }
        if (auto it = m_shippedRowids.find(key); it != m_shippedRowids.end()) {
            const qint64 rowid = *it;
            m_shippedRowids.erase(it);
            if (oldText.value(key) == signature(values)) continue;
            if (!exec(update, values + QVariantList{rowid})) return false;
            ++m_r.corrected;
        } else if (!oldText.contains(key) && !m_userKeys.contains(key)) {
            if (!exec(insert, values)) return false;
            ++m_r.added;
        }
    }
    return exec(QStringLiteral("PRAGMA user_version = %1").arg(m_r.shippedVersion));
}

bool Upgrade::run() {
    QString why;
    int ignored = 0;
    if (!loadShipped(m_content.sqlFile, m_content.table, m_new, m_r.shippedVersion, why))
        return fail(m_r, why);

    // mode=rw: a file that went away in the meantime is not made anew, empty.
    const QString uri =
        QUrl::fromLocalFile(QFileInfo(m_file).absoluteFilePath()).toString(QUrl::FullyEncoded) + "?mode=rw";
    m_c = std::make_unique<Connection>(uri, QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=1500"));
    if (!m_c->db().isOpen()) return fail(m_r, sqlReason(m_c->db().lastError()));
    {
        QSqlQuery q(m_c->db());
        if (!q.exec(QStringLiteral("PRAGMA user_version")) || !q.next())
            return fail(m_r, sqlReason(q.lastError()));
        m_r.fileVersion = std::max(1, q.value(0).toInt());
    }
    if (m_r.fileVersion == m_r.shippedVersion) {
        m_r.status = ShippedUpgrade::Current;
        return true;
    }
    if (m_r.fileVersion > m_r.shippedVersion) {
        m_r.status = ShippedUpgrade::Newer;
        return true;
    }

    // A file the user made read-only stays as it is, even for a user who could write it.
    const QFileInfo info(m_file);
    if (!info.isWritable() || !(info.permissions() & QFileDevice::WriteOwner) ||
        !QFileInfo(info.absolutePath()).isWritable())
        return fail(m_r, QStringLiteral("ファイルが読み取り専用です。"));
    const QString history = m_content.historyFile.arg(m_r.fileVersion);
    if (!loadShipped(history, m_content.table, m_old, ignored, why))
        return fail(m_r, QStringLiteral("版 %1 の出荷時の内容がないため、利用者の行を見分けられません。")
                             .arg(m_r.fileVersion));
    if (!check()) return false;

    // Read, copy and change under one transaction, so the copy is the file the
    // change starts from and nothing is half done.
    if (!m_c->db().transaction()) return fail(m_r, sqlReason(m_c->db().lastError()));
    const QString backup = freeBackupName(m_file);
    bool ok = classify() && (copyDatabase(m_c->db(), backup, why) ||
                             fail(m_r, QStringLiteral("控えを作れません。%1").arg(why)));
    const bool copied = ok;
    ok = ok && apply();
    if (ok && !m_c->db().commit()) ok = fail(m_r, sqlReason(m_c->db().lastError()));
    if (!ok) {
        m_c->db().rollback();
        if (copied) QFile::remove(backup);
        return false;
    }
    m_r.status = ShippedUpgrade::Upgraded;
    m_r.backupFile = backup;
    return true;
}

}  // namespace

ShippedUpgrade upgradeShippedDatabase(const QString& file, const ShippedContent& content) {
    ShippedUpgrade r;
    if (!QFileInfo(file).isFile()) return r;
    Upgrade(file, content, r).run();
    return r;
}
