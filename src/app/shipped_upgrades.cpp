#include "app/shipped_upgrades.h"

#include <QStringList>

#include "base/app_state.h"
#include "dictionary/dictionary_upgrade.h"
#include "library/library_upgrade.h"

void upgradeShippedFiles(AppState& app) {
    QStringList failures;
    for (const QString& failure : {upgradeLibraryFile(app.dataDir()), upgradeDictionaryFile(app.dataDir())})
        if (!failure.isEmpty()) failures << failure;
    if (!failures.isEmpty())
        app.msgBox().MsgBox(failures.join(QStringLiteral("\r\r")), mb::OKOnly | mb::Exclamation);
}
