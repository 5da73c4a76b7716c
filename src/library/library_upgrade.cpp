#include "library/library_upgrade.h"

#include <QDir>

#include "library/library_store.h"

ShippedContent libraryContent() {
    ShippedContent c{QStringLiteral(":/shipped/jCmd.sql"),
                     QStringLiteral(":/shipped/history/jCmd.v%1.sql"),
                     QStringLiteral("jCMD"),
                     {QStringLiteral("jCmdType"), QStringLiteral("jCmdName")},
                     {}};
    c.numberColumn = QStringLiteral("jSeq");
    c.groupColumn = QStringLiteral("jCmdType");
    return c;
}

QString upgradeLibraryFile(const QString& dataDir) {
    const QString file = LibraryStore::fileIn(dataDir);
    const ShippedUpgrade r = upgradeShippedDatabase(file, libraryContent());
    if (r.status != ShippedUpgrade::Failed) return {};
    return QStringLiteral(
               "J Expression のデータベースを新しい内容に更新できませんでした。ファイルは元のままです。\r"
               "ファイル: %1\r理由: %2")
        .arg(QDir::toNativeSeparators(file), r.error);
}
