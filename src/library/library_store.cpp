#include "library/library_store.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>
#include <QUuid>
#include <QVariant>

#include "base/shipped_database.h"

namespace {

const QString kShippedSql = QStringLiteral(":/shipped/jCmd.sql");

// SQLite's primary result code behind a driver error, -1 when there is none.
int sqliteCode(const QSqlError& e) {
    bool ok = false;
    const int code = e.nativeErrorCode().toInt(&ok);
    return ok ? (code & 0xFF) : -1;
}

QString reasonText(const QSqlError& e) {
    switch (sqliteCode(e)) {
        case 5:  // SQLITE_BUSY
        case 6:  // SQLITE_LOCKED
            return QStringLiteral("ほかのプログラムが使用中です（ロックされています）。");
        case 26:
            return QStringLiteral("SQLite のデータベース ファイルではありません。");
        case 11:
            return QStringLiteral("ファイルが壊れています。");
        case 14:
            return QStringLiteral("ファイルを開けません。");
        case 8:
            return QStringLiteral("書き込みが許可されていません（読み取り専用）。");
        case 3:
        case 23:
            return QStringLiteral("アクセスが許可されていません。");
        case 13:
            return QStringLiteral("ディスクに空きがありません。");
        case 10:
            return QStringLiteral("ファイルの読み書きに失敗しました。");
        default:
            break;
    }
    if (e.databaseText().contains(QStringLiteral("no such table"), Qt::CaseInsensitive))
        return QStringLiteral("表 jCMD がありません。");
    return QStringLiteral("データベースの操作に失敗しました。");
}

QString unusableMessage(const QString& path, const QString& reason, const QString& detail) {
    QString m = QStringLiteral("式ライブラリのファイルを使用できません。\r%1\r%2")
                    .arg(QDir::toNativeSeparators(path), reason);
    if (!detail.isEmpty()) m += QStringLiteral("\r(%1)").arg(detail);
    return m;
}

bool isNumber16(int n) { return n >= -32768 && n <= LibraryStore::kMaxNumber; }

LibraryRow readRow(const QSqlQuery& q) {
    // Null texts (possible in imported files) read as empty strings.
    return {q.value(0).toInt(),    q.value(1).toInt(),    q.value(2).toString(),
            q.value(3).toString(), q.value(4).toString(), q.value(5).toString()};
}

const QString kColumns = QStringLiteral("jCmdType, jSeq, jCmdName, jCmd, jCmd2, jNote");

}  // namespace

// One connection for one operation: opened on the existing file (made from the
// shipped content when missing), closed and removed when the operation ends.
class LibraryStore::Session {
public:
    explicit Session(LibraryStore& store) : m_store(store) {
        m_name = QStringLiteral("jCmd-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    }
    ~Session() {
        if (m_db.isValid()) {
            // Undo a half-done write; its own failure must not hide the first error.
            if (m_inTransaction) QSqlQuery(m_db).exec(QStringLiteral("ROLLBACK"));
            m_db.close();
        }
        m_db = QSqlDatabase();
        if (m_added) QSqlDatabase::removeDatabase(m_name);
    }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    bool open() {
        const QString& path = m_store.m_path;
        if (!QFileInfo::exists(path)) {
            QString why;
            if (!ensureShippedDatabase(path, kShippedSql, &why))
                return m_store.fail(unusableMessage(path, QStringLiteral("ファイルを作成できません。"), why));
        }
        m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        m_added = true;
        // mode=rw: a file that vanished is reported, never silently recreated empty.
        m_db.setDatabaseName(
            QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toString(QUrl::FullyEncoded) +
            QStringLiteral("?mode=rw"));
        m_db.setConnectOptions(
            QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=%1").arg(m_store.m_busyTimeoutMs));
        if (!m_db.open()) return failWith(m_db.lastError());
        return true;
    }

    // Runs one statement with its values bound as parameters.
    bool exec(QSqlQuery& q, const QString& sql, const QVariantList& values = {}) {
        if (!q.prepare(sql)) return failWith(q.lastError());
        for (int i = 0; i < values.size(); ++i) q.bindValue(i, values[i]);
        if (!q.exec()) return failWith(q.lastError());
        return true;
    }
    bool exec(const QString& sql, const QVariantList& values = {}) {
        QSqlQuery q(m_db);
        return exec(q, sql, values);
    }

    // BEGIN IMMEDIATE takes the write lock at once, so a check and the write after it
    // see the same table.
    bool begin() {
        if (!exec(QStringLiteral("BEGIN IMMEDIATE"))) return false;
        m_inTransaction = true;
        return true;
    }
    bool commit() {
        if (!exec(QStringLiteral("COMMIT"))) return false;
        m_inTransaction = false;
        return true;
    }

    QSqlDatabase& db() { return m_db; }

private:
    bool failWith(const QSqlError& e) {
        const QString detail = e.databaseText().isEmpty() ? e.driverText() : e.databaseText();
        return m_store.fail(unusableMessage(m_store.m_path, reasonText(e), detail));
    }

    LibraryStore& m_store;
    QString m_name;
    QSqlDatabase m_db;
    bool m_added = false;
    bool m_inTransaction = false;
};

LibraryStore::LibraryStore(QString filePath) : m_path(std::move(filePath)) {}

QString LibraryStore::fileIn(const QString& dataDir) {
    return QDir(dataDir).filePath(QStringLiteral("jCmd.sqlite"));
}

bool LibraryStore::fail(const QString& message) {
    m_error = message;
    return false;
}

std::optional<std::vector<LibraryRow>> LibraryStore::ReadCategories() {
    m_error.clear();
    Session s(*this);
    if (!s.open()) return std::nullopt;
    std::vector<LibraryRow> rows;
    {
        QSqlQuery q(s.db());
        // All category rows, by category number.
        if (!s.exec(
                q, QStringLiteral("SELECT %1 FROM jCMD WHERE jSeq = 0 ORDER BY jCmdType ASC, jSeq ASC, rowid")
                       .arg(kColumns)))
            return std::nullopt;
        while (q.next()) rows.push_back(readRow(q));
    }
    return rows;
}

std::optional<std::vector<LibraryRow>> LibraryStore::ReadExpressions(int category) {
    m_error.clear();
    Session s(*this);
    if (!s.open()) return std::nullopt;
    std::vector<LibraryRow> rows;
    {
        QSqlQuery q(s.db());
        // The expressions of one category, in the order they were stored.
        if (!s.exec(q,
                    QStringLiteral("SELECT %1 FROM jCMD WHERE (jCmdType = ? AND jSeq > 0) ORDER BY rowid")
                        .arg(kColumns),
                    {category}))
            return std::nullopt;
        while (q.next()) rows.push_back(readRow(q));
    }
    return rows;
}

bool LibraryStore::Class_AddNew(const QString& text, int listInd) {
    m_error.clear();
    if (listInd < 1 || listInd > kMaxNumber)
        return fail(QStringLiteral("分類番号 %1 は使えません。\r分類番号は 1 から %2 までです。")
                        .arg(listInd)
                        .arg(kMaxNumber));
    Session s(*this);
    if (!s.open() || !s.begin()) return false;
    {
        QSqlQuery q(s.db());
        // Is the number already a category?
        if (!s.exec(q, QStringLiteral("SELECT COUNT(*) FROM jCMD WHERE jSeq = 0 AND jCmdType = ?"),
                    {listInd}))
            return false;
        if (q.next() && q.value(0).toInt() > 0)
            return fail(QStringLiteral("分類番号 %1 はすでに使われています。").arg(listInd));
    }
    // The category row itself.
    if (!s.exec(QStringLiteral("INSERT INTO jCMD (jCmdType, jSeq, jCmdName) VALUES (?, 0, ?)"),
                {listInd, text}))
        return false;
    return s.commit();
}

bool LibraryStore::Class_Update(const QString& text, int listInd) {
    m_error.clear();
    if (!isNumber16(listInd)) return fail(QStringLiteral("分類番号 %1 は範囲外です。").arg(listInd));
    Session s(*this);
    if (!s.open()) return false;
    QSqlQuery q(s.db());
    // Renames the (first) category row of that number; its expressions keep their number.
    if (!s.exec(
            q,
            QStringLiteral("UPDATE jCMD SET jCmdName = ? WHERE rowid = "
                           "(SELECT rowid FROM jCMD WHERE jSeq = 0 AND jCmdType = ? ORDER BY rowid LIMIT 1)"),
            {text, listInd}))
        return false;
    if (q.numRowsAffected() < 1)
        return fail(QStringLiteral("分類番号 %1 の分類が見つかりません。").arg(listInd));
    return true;
}

bool LibraryStore::Class_Delete(int listInd) {
    m_error.clear();
    if (!isNumber16(listInd)) return fail(QStringLiteral("分類番号 %1 は範囲外です。").arg(listInd));
    Session s(*this);
    // One transaction: the category goes with all its expressions or not at all.
    if (!s.open() || !s.begin()) return false;
    // The category row and every expression of that number.
    if (!s.exec(QStringLiteral("DELETE FROM jCMD WHERE jCmdType = ?"), {listInd})) return false;
    return s.commit();
}

bool LibraryStore::Cont_AddNew(LibraryExpression& e) {
    m_error.clear();
    if (!isNumber16(e.category)) return fail(QStringLiteral("分類番号 %1 は範囲外です。").arg(e.category));
    Session s(*this);
    if (!s.open() || !s.begin()) return false;
    int next = 0;
    {
        QSqlQuery q(s.db());
        // Does the category exist, and what is the highest number in it (its own row is 0)?
        if (!s.exec(q, QStringLiteral("SELECT SUM(jSeq = 0), MAX(jSeq) FROM jCMD WHERE jCmdType = ?"),
                    {e.category}))
            return false;
        if (!q.next() || q.value(0).toInt() < 1)
            return fail(QStringLiteral("分類番号 %1 の分類が見つかりません。\r式は追加されませんでした。")
                            .arg(e.category));
        next = std::max(0, q.value(1).toInt()) + 1;
    }
    if (next > kMaxNumber)
        return fail(QStringLiteral("この分類の式番号が上限の %1 に達しているため、式を追加できません。")
                        .arg(kMaxNumber));
    // The new expression row.
    if (!s.exec(
            QStringLiteral(
                "INSERT INTO jCMD (jSeq, jCmdName, jCmdType, jCmd, jCmd2, jNote) VALUES (?, ?, ?, ?, ?, ?)"),
            {next, e.name, e.category, e.expression, e.second, e.note}))
        return false;
    if (!s.commit()) return false;
    e.number = next;
    return true;
}

// Expressions are numbered from 1; number 0 is the category row itself.
bool LibraryStore::pointsAtExpression(const LibraryExpression& e) {
    if (e.number >= 1 && isNumber16(e.number) && isNumber16(e.category)) return true;
    return fail(
        QStringLiteral("式番号 %1（分類番号 %2）は式を指していません。").arg(e.number).arg(e.category));
}

bool LibraryStore::Cont_Update(const LibraryExpression& e) {
    m_error.clear();
    if (!pointsAtExpression(e)) return false;
    Session s(*this);
    if (!s.open()) return false;
    QSqlQuery q(s.db());
    // Rewrites the four texts of one expression in a single statement.
    if (!s.exec(
            q,
            QStringLiteral("UPDATE jCMD SET jCmdName = ?, jCmd = ?, jCmd2 = ?, jNote = ? WHERE rowid = "
                           "(SELECT rowid FROM jCMD WHERE jSeq = ? AND jCmdType = ? ORDER BY rowid LIMIT 1)"),
            {e.name, e.expression, e.second, e.note, e.number, e.category}))
        return false;
    if (q.numRowsAffected() < 1)
        return fail(
            QStringLiteral("式番号 %1（分類番号 %2）の式が見つかりません。\r変更は保存されませんでした。")
                .arg(e.number)
                .arg(e.category));
    return true;
}

bool LibraryStore::Cont_Delete(const LibraryExpression& e) {
    m_error.clear();
    if (!pointsAtExpression(e)) return false;  // the category row goes only with Class_Delete
    Session s(*this);
    if (!s.open()) return false;
    // One expression (the first stored, should an imported file hold the number twice).
    return s.exec(
        QStringLiteral("DELETE FROM jCMD WHERE rowid = "
                       "(SELECT rowid FROM jCMD WHERE jCmdType = ? AND jSeq = ? ORDER BY rowid LIMIT 1)"),
        {e.category, e.number});
}
