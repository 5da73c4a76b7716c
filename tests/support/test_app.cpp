#include "support/test_app.h"

#include "app/frmjmain.h"
#include "controls/flex_grid.h"
#include "controls/sheet_widget.h"
#include "controls/text_box.h"
#include "engine/jdll_engine.h"

#include <QAction>
#include <QApplication>
#include <QTest>
#include <QTimer>

TestApp::TestApp() {
    engineFactory = [](QString* error) -> std::unique_ptr<IJEngine> { return JEngine::create(error); };
}

TestApp::~TestApp() {
    m_main.reset();
    m_app.reset();
}

AppState& TestApp::app() {
    if (!m_app)  // in the order Ports declares them
        m_app = std::make_unique<AppState>(Ports{&msgBox, &fileDialog, &process, &desktop, &clipboard, &settings,
                                                 &registry, &jsession, dataDir.path(), historyFile,
                                                 [this](QString* error) { return engineFactory(error); }});
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

void clickCell(FlexGrid* grid, int row, int col, Qt::MouseButton button) {
    const QModelIndex i = grid->grid().index(row, col);
    row == 0 ? grid->scrollToTop() : grid->scrollTo(i);
    QTest::mouseClick(grid->viewport(), button, {}, grid->visualRect(i).center());
}

void enter(TextBox* box, const QString& text) {
    box->setText(text);
    QTest::keyClick(box->editor(), Qt::Key_Return);
}

void fixRange(frmjMain& main, const SheetRange& range, double base) {
    for (int row = range.row1; base >= 0 && row <= range.row2; ++row)
        for (int col = range.col1; col <= range.col2; ++col) main.Spreadsheet1->setValue(row, col, base++);
    main.Spreadsheet1->select(range);
    main.toolButton(QStringLiteral("行列確定"))->trigger();
}
