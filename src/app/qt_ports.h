#pragma once

#include "base/ini_settings.h"
#include "base/ports.h"

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

// The desktop's default application, found with xdg-mime and started with xdg-open.
class QtDesktop final : public IDesktop {
public:
    Open openWithDefaultApplication(const QString& file, QString* error) override;
};

class QtClipboard final : public IClipboard {
public:
    QString text() override;
    void setText(const QString& text) override;
    void clear() override;
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
// else (when that cannot be written, or the program is installed) KalvoretParts in
// the per-user data location.
QString resolveDataDir();

// "desc|pattern|desc|pattern" -> Qt's name filters "desc (patterns)". Shown with
// HideNameFilterDetails, a label is the description as written.
QStringList qtFilters(const QString& vbFilter);
class QFileDialog;
void setUpOpenDialog(QFileDialog& dialog, const OpenFileRequest& request);
