#include "app/frmjmain.h"
#include "app/qt_ports.h"
#include "app/sys_info.h"
#include "base/app_state.h"
#include "base/fonts.h"
#include "engine/jdll_engine.h"

#include <QApplication>

#include <clocale>

int main(int argc, char** argv) {
    QApplication qapp(argc, argv);
    QApplication::setApplicationName(kAppTitle);
    // J formats numbers with printf; keep the C decimal point whatever the user's locale.
    std::setlocale(LC_NUMERIC, "C");
    registerFontSubstitutions();
    installJapaneseTranslations();

    QtMessageBox msgBox;
    QtFileDialog fileDialog;
    QtProcessStarter process;
    QtClipboard clipboard;
    IniSettings settings;
    LinuxRegistry registry;
    QtJSessionStarter jsession;
    Ports ports;
    ports.msgBox = &msgBox;
    ports.fileDialog = &fileDialog;
    ports.process = &process;
    ports.clipboard = &clipboard;
    ports.settings = &settings;
    ports.registry = &registry;
    ports.jsession = &jsession;
    ports.dataDir = resolveDataDir();
    ports.engineFactory = [](QString* error) -> std::unique_ptr<IJEngine> { return JEngine::create(error); };

    AppState app(ports);
    app.FillMatrixColors();
    frmjMain main(app);
    app.MainWindow = &main;
    app.setFormOwner(&main);
    main.Show();
    if (!app.hasEngine()) return 1;
    return QApplication::exec();
}
