#include "dictionary/dictionary_search.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <atomic>

#include "base/shipped_database.h"
#include "dictionary/folded_like.h"
#include "dictionary/search_fold.h"

namespace {

const QString kTable = QStringLiteral("Mox5StatWord");

QString reasonText(const QString& sqliteText) {
    if (sqliteText.contains(QLatin1String("not a database"), Qt::CaseInsensitive))
        return QStringLiteral("データベースのファイルではありません。");
    if (sqliteText.contains(QLatin1String("no such table"), Qt::CaseInsensitive))
        return QStringLiteral("表 %1 がありません。").arg(kTable);
    if (sqliteText.contains(QLatin1String("no such column"), Qt::CaseInsensitive))
        return QStringLiteral("表 %1 に必要な項目がありません。（%2）").arg(kTable, sqliteText.trimmed());
    return sqliteText.trimmed();
}

QString failure(const QString& file, const QString& reason) {
    return QStringLiteral("統計用語データベースを読めません。\rファイル: %1\r理由: %2")
        .arg(QDir::toNativeSeparators(file), reason);
}

QString connectionName() {
    static std::atomic<int> counter{0};
    return QStringLiteral("dictionary-%1").arg(++counter);
}

}  // namespace

DictionarySearch::DictionarySearch(QString databaseFile, QString shippedSql)
    : m_file(std::move(databaseFile)), m_shippedSql(std::move(shippedSql)) {}

QString DictionarySearch::fileIn(const QString& dataDir) {
    return QDir(dataDir).filePath(QStringLiteral("Mox5StatWordDataBase.sqlite"));
}

std::array<QString, 7> DictionarySearch::columnFields(DicSearchKind kind) {
    const QString ck = QStringLiteral("ChineseK"), ch = QStringLiteral("ChineseH");
    const QString jk = QStringLiteral("JapaneseK"), jh = QStringLiteral("JapaneseH");
    const QString ek = QStringLiteral("EnglishK"), n1 = QStringLiteral("Note1"), n2 = QStringLiteral("Note2");
    switch (kind) {
        case DicSearchKind::Chinese:
            return {ck, ch, jk, jh, ek, n1, n2};
        case DicSearchKind::Japanese:
            return {jk, jh, ck, ch, ek, n1, n2};
        case DicSearchKind::English:
            break;
    }
    return {ek, jk, jh, ck, ch, n1, n2};
}

DictionarySearch::Condition DictionarySearch::condition(DicSearchKind kind, const QString& text,
                                                        const QString& wildcard, bool withForms) {
    // Each field is folded in the database the way the text is folded here.
    auto pattern = [&](SearchFold::Kind fold) {
        return QVariant(wildcard + SearchFold(fold)(text) + wildcard);
    };
    Condition c;
    switch (kind) {
        case DicSearchKind::Chinese:
            c.sql = QStringLiteral("folded_like(ChineseKey, %1, ?)").arg(SearchFold::Pinyin);
            c.values << pattern(SearchFold::Pinyin);
            if (SearchFold::hasHan(text)) {
                c.sql += QStringLiteral(" OR folded_like(ChineseK, %1, ?)").arg(SearchFold::Plain);
                c.values << pattern(SearchFold::Plain);
            }
            break;
        case DicSearchKind::Japanese:
            c.sql = QStringLiteral("folded_like(JapaneseKey, %1, ?)").arg(SearchFold::Reading);
            c.values << pattern(SearchFold::Reading);
            if (SearchFold::hasKanjiOrKatakana(text)) {
                c.sql += QStringLiteral(" OR folded_like(JapaneseK, %1, ?)").arg(SearchFold::Reading);
                c.values << pattern(SearchFold::Reading);
            }
            break;
        case DicSearchKind::English:
            c.sql = QStringLiteral("folded_like(EnglishK, %1, ?)").arg(SearchFold::Plain);
            c.values << pattern(SearchFold::Plain);
            if (withForms) {
                c.sql += QStringLiteral(" OR folded_like(EnglishA, %1, ?)").arg(kFoldForms);
                c.values << pattern(SearchFold::Plain);
            }
            break;
    }
    return c;
}

DicSearchResult DictionarySearch::run(DicSearchKind kind, const QString& text,
                                      const QString& wildcard) const {
    DicSearchResult result;
    if (!QFileInfo::exists(m_file)) {
        QString error;
        if (!ensureShippedDatabase(m_file, m_shippedSql, &error)) {
            result.error = failure(m_file, QStringLiteral("ファイルを作成できません。") + error);
            return result;
        }
    }
    if (!QFileInfo(m_file).isFile()) {
        result.error = failure(m_file, QStringLiteral("ファイルではありません。"));
        return result;
    }

    const std::array<QString, 7> fields = columnFields(kind);
    QString sql = QStringLiteral("SELECT ");
    for (std::size_t i = 0; i < fields.size(); ++i) sql += (i ? QStringLiteral(", ") : QString()) + fields[i];
    sql += QStringLiteral(" FROM ") + kTable;

    const QString name = connectionName();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(m_file);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (!db.open()) {
            result.error = failure(m_file, reasonText(db.lastError().text()));
        } else if (!registerFoldedLike(db)) {
            result.error = failure(m_file, QStringLiteral("検索の関数を登録できません。"));
        } else {
            // A file from before the abbreviation column still answers on the English word.
            Condition where;
            if (!text.isEmpty()) {
                const bool forms =
                    kind == DicSearchKind::English && db.record(kTable).contains(QStringLiteral("EnglishA"));
                where = condition(kind, text, wildcard, forms);
                sql += QStringLiteral(" WHERE ") + where.sql;
            }
            {
                QSqlQuery q(db);
                q.setForwardOnly(true);
                // The patterns are always bound, so quotes in them are only characters to match.
                bool ok = q.prepare(sql);
                for (const QVariant& v : where.values) q.addBindValue(v);
                ok = ok && q.exec();
                if (!ok) {
                    result.error = failure(m_file, reasonText(q.lastError().text()));
                } else {
                    while (q.next()) {
                        DicRow& row = result.rows.emplace_back();
                        for (int c = 0; c < 7; ++c) row[c] = q.value(c).toString();
                    }
                    if (q.lastError().isValid()) {
                        result.rows.clear();
                        result.error = failure(m_file, reasonText(q.lastError().text()));
                    } else {
                        result.ok = true;
                    }
                }
            }
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(name);
    return result;
}
