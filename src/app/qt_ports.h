#pragma once

#include "base/ports.h"

#include <QSettings>

#include <memory>

// The real implementations of the ports, wired by main().

class QtMessageBox final : public IMessageBox {
public:
    int MsgBox(const QString& prompt, int buttonsAndIcon, const QString& title) override;
};

class QtFileDialog final : public IFileDialog {
public:
    OpenFileAnswer ShowOpen(const OpenFileRequest& request) override;
    bool ShowPrinter(const QString& title) override;
};

class QtProcessStarter final : public IProcessStarter {
public:
    bool startDetached(const QString& program, const QStringList& arguments, QString* error) override;
};

class QtClipboard final : public IClipboard {
public:
    QString text() override;
    void setText(const QString& text) override;
    void clear() override;
};

// INI file $XDG_CONFIG_HOME/Kalvoret/Kalvoret.ini, or a given file.
class IniSettings final : public ISettings {
public:
    IniSettings();
    explicit IniSettings(const QString& fileName);
    QString GetSetting(const QString& section, const QString& key, const QString& defaultValue) override;
    void SaveSetting(const QString& section, const QString& key, const QString& value) override;

private:
    std::unique_ptr<QSettings> m_settings;
};

// Starts kalvoret-jsession from the program's folder (or a given path).
class QtJSessionStarter final : public IJSessionStarter {
public:
    QtJSessionStarter();
    explicit QtJSessionStarter(QString program) : m_program(std::move(program)) {}
    std::unique_ptr<IJSession> start(QString* error) override;

private:
    QString m_program;
};

// The data folder: KALVORET_DATA_DIR, else KalvoretParts beside the program,
// else (when that cannot be written) the per-user data location.
QString resolveDataDir();

// "desc|pattern|desc|pattern" -> Qt's "desc (patterns);;..." filter list.
QStringList qtFilters(const QString& vbFilter);
