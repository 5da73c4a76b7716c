#include "app/qt_ports.h"

#include "base/app_state.h"
#include "base/vb_units.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>

int QtMessageBox::MsgBox(const QString& prompt, int buttonsAndIcon, const QString& title) {
    const int buttons = buttonsAndIcon & 0x0F;
    const int icon = buttonsAndIcon & 0x70;
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(title.isEmpty() ? kAppTitle : title);
    box.setText(toDisplayText(prompt));
    switch (icon) {
        case mb::Critical:
            box.setIcon(QMessageBox::Critical);
            break;
        case mb::Question:
            box.setIcon(QMessageBox::Question);
            break;
        case mb::Exclamation:
            box.setIcon(QMessageBox::Warning);
            break;
        case mb::Information:
            box.setIcon(QMessageBox::Information);
            break;
        default:
            box.setIcon(QMessageBox::NoIcon);
            break;
    }
    if (buttons == mb::YesNo) {
        QPushButton* yes = box.addButton(QStringLiteral("はい(&Y)"), QMessageBox::YesRole);
        box.addButton(QStringLiteral("いいえ(&N)"), QMessageBox::NoRole);
        box.setDefaultButton(yes);
        box.exec();
        return box.clickedButton() == yes ? mb::Yes : mb::No;
    }
    box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.exec();
    return mb::OK;
}

QStringList qtFilters(const QString& vbFilter) {
    const QStringList parts = vbFilter.split(QLatin1Char('|'));
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        out << QStringLiteral("%1 (%2)").arg(parts[i], patterns);
    }
    return out;
}

OpenFileAnswer QtFileDialog::ShowOpen(const OpenFileRequest& request) {
    QFileDialog dlg(QApplication::activeWindow(), request.title);
    dlg.setFileMode(QFileDialog::ExistingFile);
    dlg.setAcceptMode(QFileDialog::AcceptOpen);
    const QStringList filters = qtFilters(request.filter);
    if (!filters.isEmpty()) {
        dlg.setNameFilters(filters);
        dlg.selectNameFilter(filters.value(std::max(0, request.filterIndex - 1)));
    }
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return {};
    const QString file = QDir::toNativeSeparators(dlg.selectedFiles().first());
    return {file, QFileInfo(file).fileName()};
}

bool QtFileDialog::ShowPrinter(const QString& title) {
    QPrinter printer;
    QPageSetupDialog dlg(&printer, QApplication::activeWindow());
    dlg.setWindowTitle(title);
    return dlg.exec() == QDialog::Accepted;
}

bool QtProcessStarter::startDetached(const QString& program, const QStringList& arguments, QString* error) {
    QProcess p;
    p.setProgram(program);
    p.setArguments(arguments);
    if (p.startDetached()) return true;
    if (error) *error = p.errorString();
    return false;
}

QString QtClipboard::text() { return QGuiApplication::clipboard()->text(); }
void QtClipboard::setText(const QString& text) { QGuiApplication::clipboard()->setText(text); }
void QtClipboard::clear() { QGuiApplication::clipboard()->clear(); }

IniSettings::IniSettings()
    : m_settings(
          std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, kAppTitle, kAppTitle)) {}

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

namespace {

class QtJSession final : public IJSession {
public:
    explicit QtJSession(std::unique_ptr<QProcess> p) : m_process(std::move(p)) {}
    ~QtJSession() override {
        // Closing its input tells the session we have gone; it ends itself after a Quit.
        m_process->closeWriteChannel();
        if (!m_process->waitForFinished(2000)) m_process->kill();
        m_process->waitForFinished(1000);
    }
    bool send(const QString& commandLine) override {
        if (m_process->state() != QProcess::Running) return false;
        QString line = commandLine;
        line.replace(QLatin1Char('\n'), QLatin1Char(' ')).replace(QLatin1Char('\r'), QLatin1Char(' '));
        const QByteArray bytes = line.toUtf8() + '\n';
        return m_process->write(bytes) == bytes.size();
    }

private:
    std::unique_ptr<QProcess> m_process;
};

}  // namespace

QtJSessionStarter::QtJSessionStarter()
    : m_program(QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("kalvoret-jsession"))) {}

std::unique_ptr<IJSession> QtJSessionStarter::start(QString* error) {
    auto p = std::make_unique<QProcess>();
    p->setProgram(m_program);
    p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p->setStandardOutputFile(QProcess::nullDevice());
    p->start(QIODevice::WriteOnly);
    if (!p->waitForStarted(5000)) {
        if (error) *error = p->errorString();
        return nullptr;
    }
    return std::make_unique<QtJSession>(std::move(p));
}

QString resolveDataDir() {
    const QString env = qEnvironmentVariable("KALVORET_DATA_DIR");
    if (!env.isEmpty()) {
        QDir().mkpath(env);
        return QDir(env).absolutePath();
    }
    const QString beside =
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("KalvoretParts"));
    if (QDir().mkpath(beside) && QFileInfo(beside).isWritable()) return beside;
    const QString user = QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
                             .filePath(QStringLiteral("KalvoretParts"));
    QDir().mkpath(user);
    return user;
}
