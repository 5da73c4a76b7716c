#include "app/frmjmain.h"
#include "app/qt_ports.h"
#include "app/sys_info.h"
#include "base/app_state.h"
#include "base/fonts.h"
#include "engine/jdll_engine.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

#include <clocale>
#include <cstdio>
#include <cstring>

namespace {

// Answers --version and --help on the terminal, before any window or display is
// needed; -1 when the program should start as usual.
int commandLine(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--version") || !std::strcmp(argv[i], "-v")) {
            std::printf("kalvoret %s\n", KALVORET_VERSION);
            return 0;
        }
        if (!std::strcmp(argv[i], "--help") || !std::strcmp(argv[i], "-h")) {
            std::printf(
                "使い方 / Usage: kalvoret [--version | --help]\n"
                "J 言語のための日本語デスクトップ環境。引数なしで起動するとメインウィンドウを開きます。\n"
                "A Japanese desktop front end for the J language; without arguments it opens its main "
                "window.\n"
                "\n"
                "Environment:\n"
                "  KALVORET_J_HOME   folder holding bin/libj.so (J 9.7)\n"
                "  KALVORET_DATA_DIR folder for the expression library and dictionary files\n");
            return 0;
        }
    }
    return -1;
}

}  // namespace

int main(int argc, char** argv) {
    if (const int code = commandLine(argc, argv); code >= 0) return code;
    QApplication qapp(argc, argv);
    QApplication::setApplicationName(kAppTitle);
    // J formats numbers with printf; keep the C decimal point whatever the user's locale.
    std::setlocale(LC_NUMERIC, "C");
    registerFontSubstitutions();
    installJapaneseTranslations();

    QtMessageBox msgBox;
    QtFileDialog fileDialog;
    QtProcessStarter process;
    QtDesktop desktop;
    QtClipboard clipboard;
    IniSettings settings;
    LinuxRegistry registry;
    QtJSessionStarter jsession;
    Ports ports;
    ports.msgBox = &msgBox;
    ports.fileDialog = &fileDialog;
    ports.process = &process;
    ports.desktop = &desktop;
    ports.clipboard = &clipboard;
    ports.settings = &settings;
    ports.registry = &registry;
    ports.jsession = &jsession;
    ports.dataDir = resolveDataDir();
    ports.historyFile = QFileInfo(settings.fileName()).dir().filePath(QStringLiteral("history.txt"));
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
