#include "app/frmjmain.h"

#include "app/excel_handoff.h"
#include "app/frmabout.h"
#include "app/shipped_upgrades.h"
#include "base/app_state.h"
#include "base/mouse_pointer.h"
#include "base/session_gate.h"
#include "console/frmjserver.h"
#include "controls/flex_grid.h"
#include "controls/sheet_widget.h"
#include "controls/tab_strip.h"
#include "controls/text_box.h"
#include "controls/toolbar_icons.h"
#include "dictionary/dictionary_window.h"
#include "eval/expression_page.h"
#include "eval/jvar_list.h"
#include "eval/var_list_grids.h"
#include "library/cell_command_runner.h"
#include "library/frmcommand.h"
#include "matrix/fixed_matrices.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <algorithm>

namespace {

const QString kBreakKey = QStringLiteral("中断");

QFrame* page(QWidget* parent, const QString& name) {
    auto* f = new QFrame(parent);
    f->setObjectName(name);
    f->setFrameShape(QFrame::NoFrame);
    f->setAutoFillBackground(true);
    return f;
}

QLabel* label(QWidget* parent, const QString& name, const QString& caption) {
    auto* l = new QLabel(caption, parent);
    l->setObjectName(name);
    l->setAccessibleName(caption);
    return l;
}

}  // namespace

frmjMain::frmjMain(AppState& app, QWidget* parent)
    : VbForm(app, parent, true), m_layout(initialMainLayout()) {
    setObjectName(QStringLiteral("frmjMain"));
    setWindowTitle(QStringLiteral("frmjMain"));
    buildControls();
    buildMenus();
    buildToolbar();
    applyLayout();
    setSize(kMainMinWidthForResize, kMainMinHeightForResize);
    // Below the sizes where the resize rules start, the controls would be cut.
    setMinimumTwips(kMainMinWidthForResize, kMainMinHeightForResize);

    jvarList = std::make_unique<JVarList>(app, *MSFlexGrid2);
    matrices = std::make_unique<FixedMatrices>(app, *this, *MSFlexGrid1);
    expression = new ExpressionPage(app, *this, {Text1, Label2, Command1, Text2, Command2, Text3}, this);
    varLists = new VarListGrids(app, *this, {TabStrip2, MSFlexGrid1, MSFlexGrid2}, this);
    cellRunner = new CellCommandRunner(app, *this, this);
    excel = std::make_unique<ExcelHandoff>(app, *this);

    connect(TabStrip1, &TabStrip::Click, this, &frmjMain::TabStrip1_Click);
}

frmjMain::~frmjMain() { app().progress.setDisplay(nullptr); }

void frmjMain::showProgress(int percent) {
    ProgressBar1->setValue(percent);
    ProgressBar1->show();
    ProgressBar1->raise();
    // The work runs on this thread: paint now rather than when it is over.
    ProgressBar1->repaint();
}

void frmjMain::hideProgress() { ProgressBar1->hide(); }

void frmjMain::buildControls() {
    QWidget* c = client();
    c->setObjectName(QStringLiteral("frmjMainClient"));

    Frame1 = page(c, QStringLiteral("Frame1"));
    TabStrip1 = new TabStrip(Frame1);
    TabStrip1->setObjectName(QStringLiteral("TabStrip1"));
    TabStrip1->setAccessibleName(QStringLiteral("ページ"));
    TabStrip1->addTab(QStringLiteral("J言語インタープリター"));
    TabStrip1->addTab(QStringLiteral("Ｊ コマンド, XLS関数, 入出力グリッド"));

    Frame2[1] = page(Frame1, QStringLiteral("Frame2(1)"));
    Frame2[2] = page(Frame1, QStringLiteral("Frame2(2)"));
    QFrame* exprPage = Frame2[1];

    Label1[0] = label(exprPage, QStringLiteral("Label1(0)"), QStringLiteral("J Expression"));
    Label1[1] = label(exprPage, QStringLiteral("Label1(1)"), QStringLiteral("J Expression 実行結果"));
    Command1 = new QPushButton(QStringLiteral("Ｊ Expression 参照"), exprPage);
    Command1->setObjectName(QStringLiteral("Command1"));
    Text1 = new TextBox(TextBox::Mode::SingleLine, exprPage);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setAccessibleName(QStringLiteral("J Expression"));
    Text1->setFontName(QStringLiteral("ＭＳ ゴシック"), 10);
    Label2 = label(exprPage, QStringLiteral("Label2"), QString());
    Label2->setAccessibleName(QStringLiteral("式の種類"));
    Command2 = new QPushButton(QStringLiteral("結果クリア"), exprPage);
    Command2->setObjectName(QStringLiteral("Command2"));
    Text2 = new TextBox(TextBox::Mode::MultiLine, exprPage);
    Text2->setObjectName(QStringLiteral("Text2"));
    Text2->setAccessibleName(QStringLiteral("J Expression 実行結果"));
    Text2->setFontName(QStringLiteral("ＭＳ ゴシック"), 10);
    Text3 = new TextBox(TextBox::Mode::MultiLine, exprPage);
    Text3->setObjectName(QStringLiteral("Text3"));
    Text3->setAccessibleName(QStringLiteral("結果"));
    Text3->hide();  // it lies over the log; it only carries the last rendering

    TabStrip2 = new TabStrip(exprPage);
    TabStrip2->setObjectName(QStringLiteral("TabStrip2"));
    TabStrip2->setAccessibleName(QStringLiteral("変数一覧"));
    TabStrip2->addTab(QStringLiteral("VB定義変数"));
    TabStrip2->addTab(QStringLiteral("Ｊ 定義変数"));
    Frame3 = page(exprPage, QStringLiteral("Frame3"));
    MSFlexGrid1 = new FlexGrid(Frame3);
    MSFlexGrid1->setObjectName(QStringLiteral("MSFlexGrid1"));
    MSFlexGrid1->setAccessibleName(QStringLiteral("VB定義変数"));
    MSFlexGrid2 = new FlexGrid(Frame3);
    MSFlexGrid2->setObjectName(QStringLiteral("MSFlexGrid2"));
    MSFlexGrid2->setAccessibleName(QStringLiteral("Ｊ 定義変数"));

    Spreadsheet1 = new SheetWidget(Frame2[2]);
    Spreadsheet1->setObjectName(QStringLiteral("Spreadsheet1"));
    Spreadsheet1->setAccessibleName(QStringLiteral("Sheet1"));
    Spreadsheet1->setClipboard(&app().clipboard());

    tbToolBar = new QToolBar(c);
    tbToolBar->setObjectName(QStringLiteral("tbToolBar"));
    tbToolBar->setMovable(false);
    tbToolBar->setIconSize(QSize(16, 16));
    sbStatusBar = new QStatusBar(c);
    sbStatusBar->setObjectName(QStringLiteral("sbStatusBar"));
    sbStatusBar->setSizeGripEnabled(false);
    ProgressBar1 = new QProgressBar(c);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->hide();  // shown only while long work reports to it
    app().progress.setDisplay(this);

    // TabStrip2's Click is handled by VarListGrids.
}

QAction* frmjMain::menuItem(const QString& name) const { return findChild<QAction*>(name); }

void frmjMain::buildMenus() {
    QMenuBar* bar = menuBar();
    auto menu = [bar](const QString& name, const QString& caption) {
        QMenu* m = bar->addMenu(caption);
        m->setObjectName(name);
        return m;
    };
    auto item = [this](QMenu* m, const QString& name, const QString& caption, auto handler,
                       QKeySequence::StandardKey key = QKeySequence::UnknownKey, QKeySequence fallback = {}) {
        QAction* a = m->addAction(caption);
        a->setObjectName(name);
        // Shortcuts as this desktop writes them, shown in the menu beside the entry.
        if (key != QKeySequence::UnknownKey) a->setShortcuts(key);
        if (a->shortcuts().isEmpty() && !fallback.isEmpty()) a->setShortcut(fallback);
        connect(a, &QAction::triggered, this, handler);
        return a;
    };

    QMenu* file = menu(QStringLiteral("mnuFile"), QStringLiteral("ﾌｧｲﾙ(&F)"));
    item(file, QStringLiteral("mnuFileExcelOpen"), QStringLiteral("Jデータ・EXCELファイルを開く"),
         &frmjMain::mnuFileExcelOpen_Click);
    file->addSeparator();
    item(file, QStringLiteral("mnuFileNew"), QStringLiteral("新規作成(&N)"), &frmjMain::mnuFileNew_Click,
         QKeySequence::New);
    item(file, QStringLiteral("mnuFileOpen"), QStringLiteral("開く(&O)..."), &frmjMain::mnuFileOpen_Click,
         QKeySequence::Open);
    item(file, QStringLiteral("mnuFileSave"), QStringLiteral("上書き保存(&S)"),
         &frmjMain::showUnderConstruction);
    item(file, QStringLiteral("mnuFileSaveAs"), QStringLiteral("名前を付けて保存(&A)..."),
         &frmjMain::showUnderConstruction);
    file->addSeparator();
    item(file, QStringLiteral("mnuFileExit"), QStringLiteral("終了(&X)"), &frmjMain::Unload,
         QKeySequence::Quit, QKeySequence(Qt::CTRL | Qt::Key_Q));

    QMenu* edit = menu(QStringLiteral("mnuEdit"), QStringLiteral("編集(&E)"));
    item(edit, QStringLiteral("mnuEditUndo"), QStringLiteral("元に戻す(&U)"),
         &frmjMain::showUnderConstruction, QKeySequence::Undo);
    edit->addSeparator();
    item(edit, QStringLiteral("mnuEditCut"), QStringLiteral("切り取り(&T)"), &frmjMain::mnuEditCut_Click,
         QKeySequence::Cut);
    item(edit, QStringLiteral("mnuEditCopy"), QStringLiteral("ｺﾋﾟｰ(&C)"), &frmjMain::mnuEditCopy_Click,
         QKeySequence::Copy);
    item(edit, QStringLiteral("mnuEditPaste"), QStringLiteral("貼り付け(&P)"), &frmjMain::mnuEditPaste_Click,
         QKeySequence::Paste);
    item(edit, QStringLiteral("mnuEditPasteSpecial"), QStringLiteral("形式を選択して貼り付け(&S)..."),
         [this] { app().msgBox().MsgBox(kPleaseWait, mb::OKOnly); });

    QMenu* tool = menu(QStringLiteral("mnuTool"), QStringLiteral("ツール(&T)"));
    item(tool, QStringLiteral("mnuToolDataBase"), QStringLiteral("J Expression 参照"),
         &frmjMain::mnuToolDataBase_Click);
    item(tool, QStringLiteral("mnuToolTest"), QStringLiteral("j.EXE起動"), &frmjMain::mnuToolTest_Click);
    item(tool, QStringLiteral("mnuToolConsole"), QStringLiteral("Ｊコンソール"),
         &frmjMain::mnuToolConsole_Click);
    item(tool, QStringLiteral("mnuToolRunScript"), QStringLiteral("Ｊスクリプトを実行..."),
         [this] { expression->mnuToolRunScript_Click(); });
    tool->addSeparator();
    QAction* jFormat = item(tool, QStringLiteral("mnuToolJFormat"), QStringLiteral("Ｊ形式で表示"), [this](bool on) {
        app().settings().SaveSetting(QStringLiteral("Settings"), QStringLiteral("JFormat"),
                                     QString::number(on ? 1 : 0));
    });
    jFormat->setCheckable(true);
    connect(jFormat, &QAction::toggled, this, [this](bool on) { expression->JFormat = on; });
    tool->addSeparator();
    item(tool, QStringLiteral("mnuToolDict"), QStringLiteral("「日・中・英語」統計用語対応表"),
         &frmjMain::mnuToolDict_Click);
    tool->addSeparator();
    item(tool, QStringLiteral("mnuToolPickSheetApp"), QStringLiteral("表計算ソフトを選択..."),
         [this] { excel->mnuToolPickSheetApp_Click(); });
    tool->addSeparator();
    QAction* breakItem = item(tool, QStringLiteral("mnuToolBreak"), QStringLiteral("Ｊ実行の中断"),
                              &frmjMain::mnuToolBreak_Click);
    breakItem->setEnabled(false);
    // Only the menu holding Break opens while J runs.
    SessionGate::markBreakControl(bar);
    SessionGate::markBreakControl(tool);

    QMenu* help = menu(QStringLiteral("mnuHelp"), QStringLiteral("ﾍﾙﾌﾟ(&H)"));
    item(help, QStringLiteral("mnuHelpContents"), QStringLiteral("Kalvoretのヘルプ"),
         &frmjMain::mnuHelpContents_Click, QKeySequence::HelpContents);
    item(help, QStringLiteral("mnuHelpAuther"), QStringLiteral("製作者の宣伝"), [] {});
    help->addSeparator();
    item(help, QStringLiteral("mnuHelpAbout"), QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報(&A)"),
         &frmjMain::mnuHelpAbout_Click);
}

void frmjMain::buildToolbar() {
    struct Button {
        const char* key;
        const char* tip;
        const char* image;
    };
    const Button buttons[] = {
        {"新規作成", "新規作成", "New"},      {"開く", "開く", "Open"},
        {"上書き保存", "上書き保存", "Save"}, {nullptr, nullptr, nullptr},
        {"切り取り", "切り取り", "Cut"},      {"ｺﾋﾟｰ", "ｺﾋﾟｰ", "Copy"},
        {"貼り付け", "貼り付け", "Paste"},    {nullptr, nullptr, nullptr},
        {"行列確定", "VB行列確定", "SetMtx"}, {"行列解除", "VB行列解除", "ResetMtx"},
        {nullptr, nullptr, nullptr},          {"中断", "中断", "Break"},
    };
    for (const Button& b : buttons) {
        if (!b.key) {
            tbToolBar->addSeparator();
            continue;
        }
        const QString key = QString::fromUtf8(b.key);
        QAction* a = tbToolBar->addAction(toolbarIcon(QString::fromLatin1(b.image)), key);
        a->setObjectName(key);
        a->setToolTip(QString::fromUtf8(b.tip));
        a->setData(key);
        connect(a, &QAction::triggered, this, [this, key] { tbToolBar_ButtonClick(key); });
        m_buttons.insert(key, a);
    }
    m_buttons.value(QStringLiteral("行列解除"))->setEnabled(false);
    QAction* stop = m_buttons.value(kBreakKey);
    stop->setEnabled(false);
    SessionGate::markBreakControl(tbToolBar->widgetForAction(stop));
}

TabInsets frmjMain::tabInsets(const TabStrip* strip) const {
    const TwipsRect outer = twipsGeometry(strip);
    TabInsets in;
    in.left = strip->ClientLeft() - outer.left;
    in.top = strip->ClientTop() - outer.top;
    in.right = outer.width - strip->ClientWidth() - in.left;
    in.bottom = outer.height - strip->ClientHeight() - in.top;
    return in;
}

void frmjMain::applyLayout() {
    const MainLayout& l = m_layout;
    placeTwips(Frame1, l.Frame1);
    placeTwips(TabStrip1, l.TabStrip1);
    placeTwips(Frame2[1], l.Frame2_1);
    placeTwips(Frame2[2], l.Frame2_2);
    placeTwips(Label1[0], l.Label1_0);
    placeTwips(Command1, l.Command1);
    placeTwips(Text1, l.Text1);
    placeTwips(Label2, l.Label2);
    placeTwips(Command2, l.Command2);
    placeTwips(Label1[1], l.Label1_1);
    placeTwips(Text2, l.Text2);
    placeTwips(Text3, l.Text3);
    placeTwips(TabStrip2, l.TabStrip2);
    placeTwips(Frame3, l.Frame3);
    placeTwips(MSFlexGrid1, l.Grids);
    placeTwips(MSFlexGrid2, l.Grids);
    placeTwips(Spreadsheet1, l.Spreadsheet1);
    // Captions designed for narrower fonts keep their left edge and grow to fit.
    for (QLabel* lb : {Label1[0], Label1[1]})
        lb->resize(std::max(lb->width(), lb->sizeHint().width()), lb->height());

    // Toolbar and status bar keep to the top and bottom edges of the client area.
    const int w = client()->width() > 0 ? pixelsToTwips(client()->width()) : 9240;
    const int h = client()->height() > 0 ? pixelsToTwips(client()->height()) : 5715;
    placeTwips(tbToolBar, 0, 0, w, 420);
    placeTwips(sbStatusBar, 0, h - 360, w, 360);
    placeTwips(ProgressBar1, 1920, h - 315, 4095, 255);
    ProgressBar1->raise();
}

void frmjMain::Form_Load() {
    app().MainWindowLink = this;
    restoreRect(kMainRectKeys, {1000, 1000, 6500, 6500});
    menuItem(QStringLiteral("mnuToolJFormat"))
        ->setChecked(app().settings().GetNumber(QStringLiteral("Settings"), QStringLiteral("JFormat"), 0) != 0);
    TabStrip1->setSelectedIndex(1);
    varLists->HighlightRange = SheetRange::cell(1, 1);
    InitJ();
    if (!app().hasEngine()) return;

    Spreadsheet1->selectAll();
    Spreadsheet1->setFontName(QStringLiteral("ＭＳ ゴシック"));
    DefaultFillColor = Spreadsheet1->fill(1, 1);
    Spreadsheet1->select(SheetRange::cell(1, 1));

    matrices->InitFixedList();
    jvarList->InitJVarList();
    upgradeShippedFiles(app());
}

void frmjMain::InitJ() {
    QString error;
    if (!app().CreateEngine(&error)) {
        app().msgBox().MsgBox(error, mb::OKOnly | mb::Critical);
        return;
    }
    setWindowTitle(kMainCaption);
    SessionGate* gate = app().gate();
    connect(gate, &SessionGate::waitingChanged, this, &frmjMain::setJRunning);
    connect(gate, &SessionGate::statusChanged, this, [this](const QString& text) {
        if (text.isEmpty())
            sbStatusBar->clearMessage();
        else
            sbStatusBar->showMessage(text);
    });
}

void frmjMain::setJRunning(bool running) {
    // While J runs only Break is usable; afterwards everything is as it was.
    QAction* stopItem = menuItem(QStringLiteral("mnuToolBreak"));
    QAction* stopButton = m_buttons.value(kBreakKey);
    if (running) {
        m_disabledWhileRunning.clear();
        QList<QAction*> others = tbToolBar->actions();
        for (QAction* top : menuBar()->actions())
            if (QMenu* m = top->menu(); m && m->objectName() == QStringLiteral("mnuTool"))
                others += m->actions();
            else
                others += top;
        for (QAction* a : others)
            if (a != stopItem && a != stopButton && a->isEnabled() && !a->isSeparator()) {
                a->setEnabled(false);
                m_disabledWhileRunning.append(a);
            }
    } else {
        for (const QPointer<QAction>& a : m_disabledWhileRunning)
            if (a) a->setEnabled(true);
        m_disabledWhileRunning.clear();
    }
    stopItem->setEnabled(running);
    stopButton->setEnabled(running);
    if (!running && m_closeWhenIdle) QTimer::singleShot(0, this, &QWidget::close);
}

void frmjMain::mnuToolBreak_Click() {
    if (SessionGate* gate = app().gate(); gate && gate->waiting()) gate->requestBreak();
}

void frmjMain::closeEvent(QCloseEvent* e) {
    SessionGate* gate = app().gate();
    if (gate && gate->waiting()) {
        // The event loop below belongs to the running sentence: close once J has answered.
        e->ignore();
        if (m_closeWhenIdle) return;
        const int answer = app().msgBox().MsgBox(QStringLiteral("Ｊが実行中です。中断して終了しますか？"),
                                                 mb::YesNo | mb::Exclamation | mb::DefaultButton2);
        if (answer != mb::Yes || !gate->waiting()) return;
        m_closeWhenIdle = true;
        gate->requestBreak();
        return;
    }
    m_closeWhenIdle = false;
    VbForm::closeEvent(e);
}

void frmjMain::Form_Resize() {
    if (WindowState() == 1) return;
    m_layout = resizeMainLayout(m_layout, Width(), Height(), tabInsets(TabStrip1), tabInsets(TabStrip2));
    applyLayout();
}

void frmjMain::Form_Unload() {
    const std::vector<VbForm*> others = app().loadedForms();
    for (auto it = others.rbegin(); it != others.rend(); ++it)
        if (*it != this) (*it)->Unload();
    saveRect(kMainRectKeys);
    QCoreApplication::quit();
}

void frmjMain::TabStrip1_Click() {
    PageIndex = static_cast<std::int16_t>(TabStrip1->SelectedIndex());
    Frame2[PageIndex]->raise();
    TabStrip2->setSelectedIndex(3 - PageIndex);
    if (PageIndex == 1) {
        activateWindow();
        Text1->SetFocus();
    }
}

void frmjMain::tbToolBar_ButtonClick(const QString& key) {
    if (key == QStringLiteral("新規作成"))
        mnuFileNew_Click();
    else if (key == QStringLiteral("開く"))
        mnuFileOpen_Click();
    else if (key == QStringLiteral("上書き保存"))
        showUnderConstruction();
    else if (key == QStringLiteral("切り取り"))
        mnuEditCut_Click();
    else if (key == QStringLiteral("ｺﾋﾟｰ"))
        mnuEditCopy_Click();
    else if (key == QStringLiteral("貼り付け"))
        mnuEditPaste_Click();
    else if (key == QStringLiteral("行列確定"))
        matrices->FixMatrix();
    else if (key == QStringLiteral("行列解除"))
        ReleaseAll();
    else if (key == kBreakKey)
        mnuToolBreak_Click();
}

void frmjMain::showUnderConstruction() { app().msgBox().MsgBox(kUnderConstruction, mb::OKOnly); }

void frmjMain::ReleaseAll() {
    Answer = static_cast<std::int16_t>(
        app().msgBox().MsgBox(QStringLiteral("行列確定をすべて解除します。よろしいですか？"),
                              mb::YesNo | mb::Exclamation | mb::DefaultButton2));
    SetMousePointer(kPointerDefault);
    if (Answer != mb::No) matrices->ReleaseMatrices();
}

void frmjMain::mnuFileNew_Click() {
    Answer = static_cast<std::int16_t>(app().msgBox().MsgBox(
        QStringLiteral("新しい画面を作成すると、これまでのデータはすべて消失します。\r作成しますか？"),
        mb::YesNo | mb::DefaultButton2));
    if (Answer == mb::No) return;
    Text1->setText(QString());
    Text2->setText(QString());
    Text3->setText(QString());
    matrices->ReleaseMatrices();
}

void frmjMain::mnuFileOpen_Click() {
    const OpenFileAnswer a =
        app().fileDialog().ShowOpen({QStringLiteral("開く"), QStringLiteral("すべてのﾌｧｲﾙ (*.*)|*.*"), 1});
    if (!a.fileName.isEmpty()) showUnderConstruction();
}

void frmjMain::mnuEditCopy_Click() {
    const ExpressionPage& e = *expression;
    if (!e.LastTextBox || e.LastSelStart < 1) return;
    app().clipboard().setText(e.LastTextBox->Text().mid(e.LastSelStart - 1, e.LastSelLength));
}

void frmjMain::mnuEditCut_Click() {
    const ExpressionPage& e = *expression;
    if (!e.LastTextBox || e.LastSelStart < 1) return;
    const QString t = e.LastTextBox->Text();
    e.LastTextBox->setText(t.left(e.LastSelStart - 1) + t.mid(e.LastSelStart - 1 + e.LastSelLength));
}

void frmjMain::mnuEditPaste_Click() {
    ExpressionPage& e = *expression;
    if (!e.LastTextBox || e.LastSelStart < 1) return;
    if (e.LastTextBox == Text1 && e.pasteScript(app().clipboard().text())) return;
    const QString t = e.LastTextBox->Text();
    e.LastTextBox->setText(t.left(e.LastSelStart - 1) + app().clipboard().text() +
                           t.mid(e.LastSelStart - 1 + e.LastSelLength));
}

QString frmjMain::expressionText() const { return Text1->Text(); }
void frmjMain::setExpressionText(const QString& text) { Text1->setText(text); }
void frmjMain::showVariableList(int tab) { TabStrip2->setSelectedIndex(tab); }
int frmjMain::refreshJVariables(bool matrixOnly) { return jvarList->RefreshFromJ(matrixOnly); }
void frmjMain::resetJVariables() { jvarList->InitJVarList(); }
void frmjMain::setReleaseEnabled(bool on) {
    if (QAction* release = toolButton(QStringLiteral("行列解除"))) release->setEnabled(on);
}

void frmjMain::mnuFileExcelOpen_Click() { excel->mnuFileExcelOpen_Click(); }
void frmjMain::mnuToolDataBase_Click() {
    app().form<frmCommand>().ShowModal();
    Text1->setSelStart(static_cast<int>(Text1->Text().size()));
    Text1->SetFocus();
}
void frmjMain::mnuToolTest_Click() {
    QString error;
    std::unique_ptr<IJSession> server = app().jsessionStarter().start(&error);
    const bool ok = server && server->send(QStringLiteral("Quit")) &&
                    server->send(QStringLiteral("Do exit_z_=: 2!:55")) &&
                    server->send(QStringLiteral("Do 11!:0 :: ] 'psel minijx;pclose'")) &&
                    server->send(QStringLiteral("Do 0!:0 < 1!:45 ''")) &&
                    server->send(QStringLiteral("Show 1")) && server->send(QStringLiteral("Log 1"));
    if (!ok) {
        app().msgBox().MsgBox(QStringLiteral("jEXEserver(j.exe)がインストールされていません。\r"
                                             "現在状況を調査中です。V2の開発までお待ちください。"),
                              mb::OKOnly | mb::Exclamation);
        return;
    }
    app().jExeServers.push_back(std::move(server));
}
void frmjMain::mnuToolDict_Click() { ShowDictionary(app(), false); }
void frmjMain::mnuToolConsole_Click() { app().form<frmjServer>().Show(); }

void frmjMain::mnuHelpContents_Click() { app().msgBox().MsgBox(kPleaseWait, mb::Information, windowTitle()); }

void frmjMain::mnuHelpAbout_Click() { app().form<frmAbout>().ShowModal(); }
