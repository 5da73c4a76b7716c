#include "base/ini_settings.h"

namespace {
const QString kApplication = QStringLiteral("Kalvoret");
}

IniSettings::IniSettings()
    : m_settings(std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, kApplication,
                                             kApplication)) {}

IniSettings::IniSettings(const QString& fileName)
    : m_settings(std::make_unique<QSettings>(fileName, QSettings::IniFormat)) {}

QString IniSettings::GetSetting(const QString& section, const QString& key, const QString& defaultValue) {
    const QVariant v = m_settings->value(section + QLatin1Char('/') + key);
    if (!v.isValid()) return defaultValue;
    // A hand-edited file may hold a list where text is expected.
    if (v.typeId() == QMetaType::QStringList) return v.toStringList().join(QLatin1Char(','));
    return v.toString();
}

void IniSettings::SaveSetting(const QString& section, const QString& key, const QString& value) {
    m_settings->setValue(section + QLatin1Char('/') + key, value);
    m_settings->sync();
}
