#include "engine/j_home.h"

#include <QDir>
#include <QFileInfo>

std::vector<JHomeCandidate> jHomeCandidates() {
    const QString fromEnv = qEnvironmentVariable("KALVORET_J_HOME");
    if (!fromEnv.isEmpty()) return {{fromEnv, QStringLiteral("KALVORET_J_HOME")}};
#ifdef KALVORET_J_HOME_DEFAULT
    return {{QString::fromUtf8(KALVORET_J_HOME_DEFAULT), QStringLiteral("build default")}};
#else
    return {};
#endif
}

QString jLibraryPath(const QString& home) {
    const QDir dir(home);
    const QString inBin = dir.filePath(QStringLiteral("bin/libj.so"));
    if (!QFileInfo::exists(inBin) && QFileInfo::exists(dir.filePath(QStringLiteral("libj.so"))))
        return QDir::cleanPath(dir.absoluteFilePath(QStringLiteral("libj.so")));
    return QDir::cleanPath(dir.absoluteFilePath(QStringLiteral("bin/libj.so")));
}

QString jInstallAdvice() {
#ifdef KALVORET_SOURCE_DIR
    const QString repo = QString::fromUtf8(KALVORET_SOURCE_DIR);
#else
    const QString repo = QStringLiteral("<repository>");
#endif
    return QStringLiteral(
               "J をインストールしてください / Install J:\n"
               "  %1/scripts/setup\n"
               "or\n"
               "  pip install --no-deps --target %1/.deps/j jlanguage==9.7.1.1\n"
               "or set KALVORET_J_HOME to the folder holding bin/libj.so.")
        .arg(repo);
}
