#include "support/test_app.h"

#include "app/frmjmain.h"
#include "engine/jdll_engine.h"

#include <QApplication>
#include <QTimer>

TestApp::TestApp() {
    engineFactory = [](QString* error) -> std::unique_ptr<IJEngine> { return JEngine::create(error); };
}

TestApp::~TestApp() {
    m_main.reset();
    m_app.reset();
}

AppState& TestApp::app() {
    if (!m_app) {
        Ports p;
        p.msgBox = &msgBox;
        p.fileDialog = &fileDialog;
        p.process = &process;
        p.clipboard = &clipboard;
        p.settings = &settings;
        p.registry = &registry;
        p.jsession = &jsession;
        p.dataDir = dataDir.path();
        p.engineFactory = [this](QString* error) { return engineFactory(error); };
        m_app = std::make_unique<AppState>(p);
    }
    return *m_app;
}

frmjMain& TestApp::showMain() {
    AppState& a = app();
    a.FillMatrixColors();
    m_main = std::make_unique<frmjMain>(a);
    a.MainWindow = m_main.get();
    a.setFormOwner(m_main.get());
    m_main->Show();
    return *m_main;
}

void runOnNextModal(std::function<void(QWidget*)> fn) {
    auto* timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, fn] {
        QWidget* w = QApplication::activeModalWidget();
        if (!w || !w->isVisible()) return;
        timer->stop();
        timer->deleteLater();
        fn(w);
    });
    timer->start();
}
