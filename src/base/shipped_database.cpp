#include "base/shipped_database.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

bool runSqlLines(QSqlDatabase& db, const QString& sqlText, QString* error) {
    QSqlQuery q(db);
    const QStringList lines = sqlText.split(QLatin1Char('\n'));
    for (const QString& line : lines) {
        if (line.trimmed().isEmpty()) continue;
        if (!q.exec(line)) {
            if (error) *error = q.lastError().text() + QStringLiteral(": ") + line.left(80);
            return false;
        }
    }
    return true;
}

bool createDatabaseFromSql(const QString& path, const QString& sqlText, QString* error) {
    // Build beside the target and rename, so a failure never leaves half a file.
    const QString part = path + QStringLiteral(".part");
    QFile::remove(part);
    QDir().mkpath(QFileInfo(path).absolutePath());
    bool ok = true;
    {
        const QString name = QStringLiteral("seed-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
            db.setDatabaseName(part);
            if (!db.open()) {
                if (error) *error = db.lastError().text();
                ok = false;
            } else {
                db.transaction();
                ok = runSqlLines(db, sqlText, error);
                if (ok)
                    db.commit();
                else
                    db.rollback();
                db.close();
            }
        }
        QSqlDatabase::removeDatabase(name);
    }
    if (ok) {
        QFile::remove(path);
        if (!QFile::rename(part, path)) {
            if (error) *error = QStringLiteral("%1 を作成できません。").arg(path);
            ok = false;
        }
    }
    if (!ok) QFile::remove(part);
    return ok;
}

QString installedShareDir() {
    const QString dir =
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("../share/kalvoret"));
    return QFileInfo(dir).isDir() ? QDir::cleanPath(dir) : QString();
}

QString shippedSqlFile(const QString& sqlResource, const QString& shareDir) {
    if (!shareDir.isEmpty()) {
        const QString installed = QDir(shareDir).filePath(QFileInfo(sqlResource).fileName());
        if (QFileInfo(installed).isFile()) return installed;
    }
    return sqlResource;
}

bool ensureShippedDatabase(const QString& path, const QString& sqlResource, QString* error) {
    if (QFileInfo::exists(path)) return true;
    QFile f(shippedSqlFile(sqlResource, installedShareDir()));
    if (!f.open(QIODevice::ReadOnly)) {
        if (error) *error = QStringLiteral("%1 がありません。").arg(sqlResource);
        return false;
    }
    return createDatabaseFromSql(path, QString::fromUtf8(f.readAll()), error);
}
