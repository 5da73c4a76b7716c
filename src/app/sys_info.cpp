#include "app/sys_info.h"

#include "base/app_state.h"

#include <QFileInfo>
#include <QStandardPaths>

#include <cstdint>
#include <cstring>

bool GetKeyValue(IRegistry& registry, RegistryRoot keyRoot, const QString& keyName, const QString& subKeyRef,
                 QString& keyVal) {
    const std::optional<RegistryValue> v = registry.query(keyRoot, keyName, subKeyRef);
    if (!v) {
        keyVal.clear();
        return false;
    }
    if (v->type == 1) {
        QString s = QString::fromUtf8(v->data);
        const qsizetype nul = s.indexOf(QChar(0));
        keyVal = nul >= 0 ? s.left(nul) : s;
    } else if (v->type == 4) {
        // A 32-bit number, stored little-endian.
        std::uint32_t n = 0;
        std::memcpy(&n, v->data.constData(),
                    std::min<std::size_t>(sizeof n, static_cast<std::size_t>(v->data.size())));
        keyVal = QString::number(n);
    }
    return true;
}

void StartSysInfo(AppState& app) {
    QString path;
    if (!GetKeyValue(app.registry(), RegistryRoot::LocalMachine, kMsInfoKey, QStringLiteral("PATH"), path)) {
        QString folder;
        if (GetKeyValue(app.registry(), RegistryRoot::LocalMachine, kMsInfoLocationKey,
                        QStringLiteral("MSINFO"), folder) &&
            QFileInfo::exists(folder + QStringLiteral("\\MSINFO32.EXE"))) {
            path = folder + QStringLiteral("\\MSINFO32.EXE");
        } else {
            app.msgBox().MsgBox(kNoSysInfo, mb::OKOnly);
            return;
        }
    }
    QString error;
    if (path.isEmpty() || !app.process().startDetached(path, {}, &error))
        app.msgBox().MsgBox(kNoSysInfo, mb::OKOnly);
}

QStringList LinuxRegistry::candidatePrograms() {
    return {QStringLiteral("hardinfo"),
            QStringLiteral("hardinfo2"),
            QStringLiteral("kinfocenter"),
            QStringLiteral("gnome-system-monitor"),
            QStringLiteral("mate-system-monitor"),
            QStringLiteral("xfce4-taskmanager"),
            QStringLiteral("lxtask")};
}

std::optional<RegistryValue> LinuxRegistry::query(RegistryRoot root, const QString& keyName,
                                                  const QString& valueName) {
    if (root != RegistryRoot::LocalMachine || keyName.compare(kMsInfoKey, Qt::CaseInsensitive) != 0 ||
        valueName.compare(QStringLiteral("PATH"), Qt::CaseInsensitive) != 0)
        return std::nullopt;
    for (const QString& p : candidatePrograms()) {
        const QString found = QStandardPaths::findExecutable(p);
        if (!found.isEmpty()) return RegistryValue{1, found.toUtf8()};
    }
    return std::nullopt;
}
