#pragma once

#include "base/ports.h"

#include <QString>

class AppState;

// Reads a registry value as text: strings as they are, 32-bit numbers as their
// decimal text. False (and KeyVal "") when the key or value is missing.
bool GetKeyValue(IRegistry& registry, RegistryRoot keyRoot, const QString& keyName, const QString& subKeyRef,
                 QString& keyVal);

// Starts the system-information tool, or says that none can be used.
void StartSysInfo(AppState& app);

inline const QString kNoSysInfo = QStringLiteral("現時点ではｼｽﾃﾑ情報を使用できません");
inline const QString kMsInfoKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
inline const QString kMsInfoLocationKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location");

// Linux has no registry: the one value answered is the path of a
// system-information program found on PATH.
class LinuxRegistry final : public IRegistry {
public:
    std::optional<RegistryValue> query(RegistryRoot root, const QString& keyName,
                                       const QString& valueName) override;
    static QStringList candidatePrograms();
};
