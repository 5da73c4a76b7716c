#include "app/qt_ports.h"

#include "base/app_state.h"
#include "base/shipped_database.h"
#include "base/vb_units.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QMimeDatabase>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QUrl>

#include <algorithm>

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
        QPushButton* no = box.addButton(QStringLiteral("いいえ(&N)"), QMessageBox::NoRole);
        box.setDefaultButton(buttonsAndIcon & mb::DefaultButton2 ? no : yes);
        box.setEscapeButton(no);
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
        QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        // "*.*" means every file, also one whose name has no dot.
        for (QString& p : patterns)
            if (p.trimmed() == QStringLiteral("*.*")) p = QStringLiteral("*");
        out << QStringLiteral("%1 (%2)").arg(parts[i], patterns.join(QLatin1Char(' ')));
    }
    return out;
}

void setUpOpenDialog(QFileDialog& dlg, const OpenFileRequest& request) {
    dlg.setWindowTitle(request.title);
    dlg.setFileMode(QFileDialog::ExistingFile);
    dlg.setAcceptMode(QFileDialog::AcceptOpen);
    // The descriptions already name their patterns; Qt would add them a second time.
    dlg.setOption(QFileDialog::HideNameFilterDetails);
    const QStringList filters = qtFilters(request.filter);
    if (!filters.isEmpty()) {
        dlg.setNameFilters(filters);
        dlg.selectNameFilter(filters.value(std::clamp(request.filterIndex - 1, 0, int(filters.size()) - 1)));
    }
}

OpenFileAnswer QtFileDialog::ShowOpen(const OpenFileRequest& request) {
    QFileDialog dlg(QApplication::activeWindow());
    setUpOpenDialog(dlg, request);
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

QtDesktop::Open QtDesktop::openWithDefaultApplication(const QString& file, QString* error) {
    // xdg-mime names the desktop's default application for a type, or nothing.
    const QMimeType type = QMimeDatabase().mimeTypeForFile(file);
    bool asked = false;
    bool known = false;
    for (const QString& name : QStringList{type.name()} + type.allAncestors()) {
        if (name == QStringLiteral("application/octet-stream")) continue;  // any bytes at all
        QProcess q;
        q.start(QStringLiteral("xdg-mime"), {QStringLiteral("query"), QStringLiteral("default"), name});
        if (!q.waitForFinished(5000)) break;
        asked = true;
        if (!QString::fromLocal8Bit(q.readAllStandardOutput()).trimmed().isEmpty()) {
            known = true;
            break;
        }
    }
    if (asked && !known) return Open::NoApplication;
    if (QDesktopServices::openUrl(QUrl::fromLocalFile(file))) return Open::Opened;
    if (error) *error = QStringLiteral("xdg-open");
    return asked ? Open::Failed : Open::NoApplication;
}

QString QtClipboard::text() { return QGuiApplication::clipboard()->text(); }
void QtClipboard::setText(const QString& text) { QGuiApplication::clipboard()->setText(text); }
void QtClipboard::clear() { QGuiApplication::clipboard()->clear(); }

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
    // The session talks through its window; what it would print stays off the terminal.
    p->setStandardOutputFile(QProcess::nullDevice());
    p->setStandardErrorFile(QProcess::nullDevice());
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
    // An installed program never writes beside itself, even when run by root.
    if (installedShareDir().isEmpty() && QDir().mkpath(beside) && QFileInfo(beside).isWritable())
        return beside;
    const QString user = QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
                             .filePath(QStringLiteral("KalvoretParts"));
    QDir().mkpath(user);
    return user;
}
