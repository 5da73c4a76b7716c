#pragma once

#include "base/ports.h"

#include <QSettings>

#include <memory>

// The settings store: the INI file $XDG_CONFIG_HOME/Kalvoret/Kalvoret.ini, or a given file.
class IniSettings final : public ISettings {
public:
    IniSettings();
    explicit IniSettings(const QString& fileName);
    QString GetSetting(const QString& section, const QString& key, const QString& defaultValue) override;
    void SaveSetting(const QString& section, const QString& key, const QString& value) override;
    QString fileName() const { return m_settings->fileName(); }

private:
    std::unique_ptr<QSettings> m_settings;
};
