// kalvoret-jsession: a separate J session with its own engine and window,
// driven by one command a line on standard input ("Quit", "Do <sentence>",
// "Show <n>", "Log <n>").
#include "base/fonts.h"
#include "console/jsession_window.h"
#include "engine/j_session.h"
#include "engine/jdll_engine.h"

#include <QApplication>
#include <QMessageBox>
#include <QSocketNotifier>

#include <unistd.h>

#include <atomic>
#include <clocale>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kalvoret-jsession"));
    std::setlocale(LC_NUMERIC, "C");
    registerFontSubstitutions();
    installJapaneseTranslations();

    // J prints on the session thread; the window shows it on its own.
    std::atomic<JSessionWindow*> shown{nullptr};
    auto makeEngine = [&shown](QString* error) -> std::unique_ptr<IJEngine> {
        std::unique_ptr<JEngine> e = JEngine::create(error);
        if (e)
            e->setOutputHandler([&shown](int kind, const QString& text) {
                if (JSessionWindow* w = shown.load())
                    QMetaObject::invokeMethod(
                        w, [w, kind, text] { w->jOutput(kind, text); }, Qt::QueuedConnection);
            });
        return e;
    };
    QString error;
    std::unique_ptr<JSession> session = JSession::start(makeEngine, &error);
    if (!session) {
        QMessageBox::critical(nullptr, QStringLiteral("kalvoret-jsession"), error);
        return 1;
    }
    JSessionWindow window(*session);
    shown = &window;
    QObject::connect(&window, &JSessionWindow::finished, &app, &QApplication::quit, Qt::QueuedConnection);

    // Lines from the program that started us; a closed input means it has gone.
    QByteArray pending;
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        char buf[4096];
        const ssize_t n = ::read(STDIN_FILENO, buf, sizeof buf);
        if (n <= 0) {
            input.setEnabled(false);
            window.parentGone();
            return;
        }
        pending.append(buf, n);
        qsizetype nl;
        while ((nl = pending.indexOf('\n')) >= 0) {
            window.command(QString::fromUtf8(pending.left(nl)));
            pending.remove(0, nl + 1);
        }
    });
    // Closing the window ends the session (the application quits with its last window).
    const int rc = QApplication::exec();
    shown = nullptr;
    return rc;
}
