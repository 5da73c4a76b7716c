#include "dictionary/dictionary_upgrade.h"

#include <QDir>

#include "dictionary/dictionary_search.h"

ShippedContent dictionaryContent() {
    return {QStringLiteral(":/shipped/Mox5StatWord.sql"),
            QStringLiteral(":/shipped/history/Mox5StatWord.v%1.sql"),
            QStringLiteral("Mox5StatWord"),
            {QStringLiteral("ChineseK")},
            QStringLiteral("ID")};
}

QString upgradeDictionaryFile(const QString& dataDir) {
    const QString file = DictionarySearch::fileIn(dataDir);
    const ShippedUpgrade r = upgradeShippedDatabase(file, dictionaryContent());
    if (r.status != ShippedUpgrade::Failed) return {};
    return QStringLiteral(
               "統計用語データベースを新しい内容に更新できませんでした。ファイルは元のままです。\r"
               "ファイル: %1\r理由: %2")
        .arg(QDir::toNativeSeparators(file), r.error);
}
