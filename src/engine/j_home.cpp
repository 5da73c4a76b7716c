#include "engine/j_home.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>

std::vector<JHomeCandidate> jHomeCandidates() {
    const QString fromEnv = qEnvironmentVariable("KALVORET_J_HOME");
    if (!fromEnv.isEmpty()) return {{fromEnv, QStringLiteral("KALVORET_J_HOME")}};
    std::vector<JHomeCandidate> out;
#ifdef KALVORET_J_HOME_DEFAULT
    out.push_back({QString::fromUtf8(KALVORET_J_HOME_DEFAULT), QStringLiteral("build default")});
#endif
    // Starting python3 costs a moment: only when the build's J is not there.
    if (out.empty() || !QFileInfo::exists(jLibraryPath(out.front().folder))) {
        const QString py = pythonJHome();
        if (!py.isEmpty()) out.push_back({py, QStringLiteral("python3 jlanguage")});
    }
    for (const QString& home : usualJHomes()) out.push_back({home, QStringLiteral("usual folder")});
    return out;
}

QString pythonJHome() {
    QProcess p;
    p.setProcessChannelMode(QProcess::SeparateChannels);
    p.start(
        QStringLiteral("python3"),
        {QStringLiteral("-c"), QStringLiteral("import os, jlang; print(os.path.dirname(jlang.__file__))")});
    if (!p.waitForFinished(10000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        p.kill();
        p.waitForFinished(1000);
        return {};
    }
    const QString dir = QString::fromLocal8Bit(p.readAllStandardOutput()).trimmed();
    return dir.isEmpty() ? QString() : QDir(dir).filePath(QStringLiteral("j"));
}

QStringList usualJHomes() {
    const QString home = QDir::homePath();
    return {home + QStringLiteral("/j9.7"),  QStringLiteral("/usr/local/j9.7"),
            QStringLiteral("/opt/j9.7"),     QStringLiteral("/usr/share/j/9.7"),
            QStringLiteral("/usr/lib/j9.7"), QStringLiteral("/usr/lib/x86_64-linux-gnu/j9.7")};
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
               "  python3 -m pip install --user --break-system-packages jlanguage==9.7.1.1\n"
               "or, in a source folder,\n"
               "  %1/scripts/setup\n"
               "or set KALVORET_J_HOME to the folder holding bin/libj.so.")
        .arg(repo);
}
