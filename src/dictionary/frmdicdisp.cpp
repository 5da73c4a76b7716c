#include "dictionary/frmdicdisp.h"

#include <QAction>
#include <QApplication>
#include <QDateTime>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <algorithm>

#include "base/app_state.h"
#include "base/main_window.h"
#include "base/mouse_pointer.h"
#include "controls/flex_grid.h"
#include "controls/tab_strip.h"
#include "controls/text_box.h"
#include "dictionary/dicdisp_layout.h"
#include "dictionary/dicdisp_toolbar.h"
#include "dictionary/dictionary_grid.h"
#include "dictionary/frmdicedit.h"

namespace {

constexpr int kToolBarHeight = 420;
constexpr int kStatusBarHeight = 300;
// The program's major, minor and revision numbers.
constexpr int kVersion[3] = {1, 1, 51};

constexpr DicSearchKind kindOf(int panel) {
    return panel == 1   ? DicSearchKind::Chinese
           : panel == 2 ? DicSearchKind::Japanese
                        : DicSearchKind::English;
}
constexpr int panelOf(DicSearchKind kind) {
    return kind == DicSearchKind::Chinese ? 1 : kind == DicSearchKind::Japanese ? 2 : 3;
}

QString indexed(const char* name, int index) {
    return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index);
}

void setBack(QWidget* w, std::uint32_t bgr) {
    QPalette p = w->palette();
    p.setColor(QPalette::Window, vbColor(bgr));
    p.setColor(QPalette::Button, vbColor(bgr));
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

void setFore(QWidget* w, std::uint32_t bgr) {
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, vbColor(bgr));
    w->setPalette(p);
}

QLabel* label(QWidget* parent, const QString& name, const QString& text) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    return l;
}

// A label that grows to its text, from its designed width up to a limit.
void fitWidth(QLabel* l, int designTwips, int maxTwips) {
    const int need = pixelsToTwips(l->fontMetrics().horizontalAdvance(l->text()) + 4);
    TwipsRect r = twipsGeometry(l);
    r.width = std::clamp(need, designTwips, std::max(designTwips, maxTwips));
    placeTwips(l, r);
}

}  // namespace

frmDicDisp::frmDicDisp(AppState& app, QWidget* parent) : VbForm(app, parent, true) {
    setObjectName(QStringLiteral("frmDicDisp"));
    setWindowTitle(QStringLiteral("KalvoretStatWord"));
    showPopupMenu = [](QMenu& menu, const QPoint& globalPos) { menu.popup(globalPos); };
    buildControls();
    buildMenus();
    buildToolbar();
    buildStatusBar();
    m_clock = new QTimer(this);
    m_clock->setInterval(1000);
    connect(m_clock, &QTimer::timeout, this, &frmDicDisp::updateClock);
    // The designed client area is 8535 x 6315.
    setSize(8535 + kNonClientWidth, 6315 + kCaptionHeight + kMenuHeight);
    setMinimumTwips(kDicMinWidth, kDicMinHeight, true);
    const TwipsRect f = dicFrameRect(Width(), Height());
    placeTwips(Frame1, f);
    placeTwips(TabStrip1, 0, 0, f.width, f.height);
    for (int n = 1; n <= 3; ++n) placeTwips(Picture1[n], TabStrip1->clientRect());
    layoutBars();
}

frmDicDisp::~frmDicDisp() = default;

void frmDicDisp::buildControls() {
    QWidget* c = client();
    c->setObjectName(QStringLiteral("frmDicDispClient"));
    c->setFont(QFont(QStringLiteral("ＭＳ Ｐゴシック"), 9));

    Frame1 = new QFrame(c);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    TabStrip1 = new TabStrip(Frame1);
    TabStrip1->setObjectName(QStringLiteral("TabStrip1"));
    TabStrip1->setAccessibleName(QStringLiteral("検索する言語"));
    TabStrip1->addTab(QStringLiteral("中国語（繁體字）"));
    TabStrip1->addTab(QStringLiteral("日本語"));
    TabStrip1->addTab(QStringLiteral("英語"));
    for (int n = 1; n <= 3; ++n) buildPanel(n);
    connect(TabStrip1, &TabStrip::Click, this, &frmDicDisp::TabStrip1_Click);

    PopUp = new QMenu(this);
    PopUp->setObjectName(QStringLiteral("PopUp"));
    PopUpCopy = PopUp->addAction(QStringLiteral("コピー"));
    PopUpCopy->setObjectName(QStringLiteral("PopUpCopy"));
    connect(PopUpCopy, &QAction::triggered, this, &frmDicDisp::PopUpCopy_Click);
}

void frmDicDisp::buildPanel(int n) {
    static constexpr std::uint32_t kPanelColour[4] = {0, 0xE0E0E0, 0xFFFFC0, 0xFFC0C0};
    static const char* const kTitles[4] = {"", "中国語発音（英語併音）検索", "日本語発音（平仮名）検索",
                                           "英語・単語（アルファ）検索"};
    static constexpr int kTitleWidth[4] = {0, 2160, 1980, 1980};
    static constexpr int kConditionLeft[4] = {0, 1920, 1980, 1890};
    const std::uint32_t colour = kPanelColour[n];

    QFrame* p = new QFrame(Frame1);
    Picture1[n] = p;
    p->setObjectName(indexed("Picture1", n));
    p->setFrameShape(QFrame::NoFrame);
    setBack(p, colour);

    Label1[n] = label(p, indexed("Label1", n), QString::fromUtf8(kTitles[n]));
    placeTwips(Label1[n], 120, 120, kTitleWidth[n], 180);
    fitWidth(Label1[n], kTitleWidth[n], 2400 - 120 - 60);

    Text1[n] = new TextBox(TextBox::Mode::SingleLine, p);
    Text1[n]->setObjectName(indexed("Text1", n));
    Text1[n]->setAccessibleName(Label1[n]->text());
    Text1[n]->setFontName(QStringLiteral("ＭＳ ゴシック"), 9);
    // Tall enough for a framed line of text; the designed 200 twips would cut it.
    placeTwips(Text1[n], 2400, 60, 2775, 285);
    connect(Text1[n], &TextBox::Change, this, [this, n] { Text1_Change(n); });
    connect(Text1[n], &TextBox::KeyPress, this, [this, n](int& key) { Text1_KeyPress(n, key); });

    Command1[n] = new QPushButton(QStringLiteral("検索"), p);
    Command1[n]->setObjectName(indexed("Command1", n));
    Command1[n]->setProperty("Caption", QStringLiteral("検索"));
    setBack(Command1[n], colour);
    placeTwips(Command1[n], 5400, 120, 735, 615);
    connect(Command1[n], &QPushButton::clicked, this, [this, n] { Command1_Click(n); });

    Label5[n] = label(p, indexed("Label5", n), QStringLiteral("検索件数 = "));
    setFore(Label5[n], 0x0000FF);
    placeTwips(Label5[n], 120, 480, 930, 180);

    Label4[n] = label(p, indexed("Label4", n), QStringLiteral("条件"));
    setFore(Label4[n], 0xFF0000);
    placeTwips(Label4[n], kConditionLeft[n], 480, 360, 180);

    OptionFrame[n] = new QGroupBox(p);
    OptionFrame[n]->setObjectName(indexed("OptionFrame", n));
    placeTwips(OptionFrame[n], 2400, 345, 2775, 390);
    QRadioButton** opts = n == 1 ? Option2 : n == 2 ? Option3 : Option4;
    const char* optName = n == 1 ? "Option2" : n == 2 ? "Option3" : "Option4";
    opts[0] = new QRadioButton(QStringLiteral("キーワード検索"), OptionFrame[n]);
    opts[1] = new QRadioButton(QStringLiteral("一致検索"), OptionFrame[n]);
    placeTwips(opts[0], 60, 75, 1575, 255);
    placeTwips(opts[1], 1680, 75, 1035, 255);
    for (int i = 0; i < 2; ++i) {
        opts[i]->setObjectName(indexed(optName, i));
        connect(opts[i], &QRadioButton::clicked, this, [this, n, i] { Option_Click(n, i); });
    }
    opts[0]->setChecked(true);

    Label2[n] = label(p, indexed("Label2", n), QStringLiteral("複写語"));
    setFore(Label2[n], 0xFF0000);
    placeTwips(Label2[n], 120, 840, 540, 180);

    Label6[n] = label(p, indexed("Label6", n), QString());
    Label6[n]->setFont(QFont(QStringLiteral("MS UI Gothic"), 9));
    QPalette lp = Label6[n]->palette();
    lp.setColor(QPalette::Window, QApplication::palette().color(QPalette::Base));
    Label6[n]->setPalette(lp);
    Label6[n]->setAutoFillBackground(true);
    placeTwips(Label6[n], 720, 840, 495, 210);
    Label6[n]->hide();

    MSFlexGrid1[n] = new FlexGrid(p);
    MSFlexGrid1[n]->setObjectName(indexed("MSFlexGrid1", n));
    MSFlexGrid1[n]->setAccessibleName(QStringLiteral("検索結果"));
    setUpResultGrid(*MSFlexGrid1[n]);
    resetResultGrid(*MSFlexGrid1[n], kindOf(n));
    placeTwips(MSFlexGrid1[n], 120, 1080, 8055, 2775);
    connect(MSFlexGrid1[n], &FlexGrid::MouseUp, this,
            [this, n](int button, int shift, int x, int y) { MSFlexGrid1_MouseUp(n, button, shift, x, y); });
}

QAction* frmDicDisp::menuItem(const QString& name) const { return findChild<QAction*>(name); }

QRadioButton* frmDicDisp::option(int panel, int index) const {
    if (index < 0 || index > 1) return nullptr;
    switch (panel) {
        case 1:
            return Option2[index];
        case 2:
            return Option3[index];
        case 3:
            return Option4[index];
        default:
            return nullptr;
    }
}

QString frmDicDisp::caption(const QPushButton* button) { return button->property("Caption").toString(); }

void frmDicDisp::buildMenus() {
    QMenuBar* bar = menuBar();
    auto menu = [bar](const QString& name, const QString& caption) {
        QMenu* m = bar->addMenu(caption);
        m->setObjectName(name);
        return m;
    };
    auto item = [this](QMenu* m, const QString& name, const QString& caption, std::function<void()> handler) {
        QAction* a = m->addAction(caption);
        a->setObjectName(name);
        if (handler) connect(a, &QAction::triggered, this, std::move(handler));
        return a;
    };
    auto stub = [this, item](QMenu* m, const QString& name, const QString& caption) {
        return item(m, name, caption, [this, name] { placeholder(name + QStringLiteral("_Click")); });
    };

    QMenu* file = menu(QStringLiteral("mnuFile"), QStringLiteral("ﾌｧｲﾙ(&F)"));
    stub(file, QStringLiteral("mnuFileNew"), QStringLiteral("新規作成(&N)"));
    item(file, QStringLiteral("mnuFileOpen"), QStringLiteral("開く(&O)..."), [this] { mnuFileOpen_Click(); });
    stub(file, QStringLiteral("mnuFileClose"), QStringLiteral("閉じる(&C)"));
    file->addSeparator();
    stub(file, QStringLiteral("mnuFileSave"), QStringLiteral("上書き保存(&S)"));
    stub(file, QStringLiteral("mnuFileSaveAs"), QStringLiteral("名前を付けて保存(&A)..."));
    stub(file, QStringLiteral("mnuFileSaveAll"), QStringLiteral("すべて保存(&L)"));
    file->addSeparator();
    stub(file, QStringLiteral("mnuFileProperties"), QStringLiteral("ﾌﾟﾛﾊﾟﾃｨ(&I)"));
    file->addSeparator();
    item(file, QStringLiteral("mnuFilePageSetup"), QStringLiteral("ﾍﾟｰｼﾞ設定(&U)..."),
         [this] { mnuFilePageSetup_Click(); });
    stub(file, QStringLiteral("mnuFilePrintPreview"), QStringLiteral("印刷ﾌﾟﾚﾋﾞｭｰ(&V)"));
    stub(file, QStringLiteral("mnuFilePrint"), QStringLiteral("印刷(&P)..."));
    file->addSeparator();
    stub(file, QStringLiteral("mnuFileSend"), QStringLiteral("送信(&D)..."));
    file->addSeparator();
    // Recently used files are never recorded, so these stay hidden and empty.
    for (int i = 1; i <= 3; ++i) item(file, indexed("mnuFileMRU", i), QString(), {})->setVisible(false);
    file->addSeparator();
    item(file, QStringLiteral("mnuFileExit"), QStringLiteral("終了(&X)"), [this] { mnuFileExit_Click(); });

    QMenu* edit = menu(QStringLiteral("mnuEdit"), QStringLiteral("編集(&E)"));
    stub(edit, QStringLiteral("mnuEditUndo"), QStringLiteral("元に戻す(&U)"));
    edit->addSeparator();
    stub(edit, QStringLiteral("mnuEditCut"), QStringLiteral("切り取り(&T)"));
    stub(edit, QStringLiteral("mnuEditCopy"), QStringLiteral("ｺﾋﾟｰ(&C)"));
    stub(edit, QStringLiteral("mnuEditPaste"), QStringLiteral("貼り付け(&P)"));
    stub(edit, QStringLiteral("mnuEditPasteSpecial"), QStringLiteral("形式を選択して貼り付け(&S)..."));

    QMenu* tool = menu(QStringLiteral("mnuTool"), QStringLiteral("ツール"));
    item(tool, QStringLiteral("mnuToolEdit"), QStringLiteral("辞書編集(&E)"),
         [this] { mnuToolEdit_Click(); });

    QMenu* view = menu(QStringLiteral("mnuView"), QStringLiteral("表示(&V)"));
    QAction* toolbar = item(view, QStringLiteral("mnuViewToolbar"), QStringLiteral("ﾂｰﾙ ﾊﾞｰ(&T)"), {});
    QAction* status = item(view, QStringLiteral("mnuViewStatusBar"), QStringLiteral("ｽﾃｰﾀｽ ﾊﾞｰ(&B)"), {});
    for (QAction* a : {toolbar, status}) {
        a->setCheckable(true);
        a->setChecked(true);
    }
    // The bar is visible exactly while its entry bears the check mark.
    connect(toolbar, &QAction::toggled, this, [this](bool on) { tbToolBar->setVisible(on); });
    connect(status, &QAction::toggled, this, [this](bool on) { sbStatusBar->setVisible(on); });
    view->addSeparator();
    stub(view, QStringLiteral("mnuViewRefresh"), QStringLiteral("最新の情報に更新(&R)"));
    stub(view, QStringLiteral("mnuViewOptions"), QStringLiteral("ｵﾌﾟｼｮﾝ(&O)..."));
    stub(view, QStringLiteral("mnuViewWebBrowser"), QStringLiteral("WWW ﾌﾞﾗｳｻﾞ(&W)"));

    QMenu* help = menu(QStringLiteral("mnuHelp"), QStringLiteral("ﾍﾙﾌﾟ(&H)"));
    item(help, QStringLiteral("mnuHelpContents"), QStringLiteral("目次(&C)"),
         [this] { mnuHelpContents_Click(); });
    item(help, QStringLiteral("mnuHelpSearchForHelpOn"), QStringLiteral("ﾄﾋﾟｯｸの検索(&S)..."),
         [this] { mnuHelpSearchForHelpOn_Click(); });
    help->addSeparator();
    item(help, QStringLiteral("mnuHelpAbout"), QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報(&A)"),
         [this] { mnuHelpAbout_Click(); });
}

void frmDicDisp::buildToolbar() {
    tbToolBar = buildDicToolBar(client());
    for (QAction* a : tbToolBar->actions()) {
        if (a->isSeparator()) continue;
        const QString key = a->objectName();
        connect(a, &QAction::triggered, this, [this, key] { tbToolBar_ButtonClick(key); });
        m_buttons.insert(key, a);
    }
}

void frmDicDisp::buildStatusBar() {
    sbStatusBar = new QStatusBar(client());
    sbStatusBar->setObjectName(QStringLiteral("sbStatusBar"));
    sbStatusBar->setSizeGripEnabled(false);
    for (int i = 1; i <= 3; ++i) {
        StatusPanel[i] = new QLabel(sbStatusBar);
        StatusPanel[i]->setObjectName(indexed("Panel", i));
        StatusPanel[i]->setFrameShape(QFrame::Panel);
        StatusPanel[i]->setFrameShadow(QFrame::Sunken);
        StatusPanel[i]->setContentsMargins(4, 0, 4, 0);
    }
    StatusPanel[1]->setText(QStringLiteral("ｽﾃｰﾀｽ"));
    sbStatusBar->addWidget(StatusPanel[1], 1);
    sbStatusBar->addPermanentWidget(StatusPanel[2]);
    sbStatusBar->addPermanentWidget(StatusPanel[3]);
    updateClock();
}

void frmDicDisp::updateClock() {
    const QDateTime now = QDateTime::currentDateTime();
    StatusPanel[2]->setText(now.toString(QStringLiteral("yyyy/MM/dd")));
    StatusPanel[3]->setText(now.toString(QStringLiteral("H:mm")));
}

void frmDicDisp::layoutBars() {
    const int w = pixelsToTwips(client()->width());
    const int h = pixelsToTwips(client()->height());
    placeTwips(tbToolBar, 0, 0, w, kToolBarHeight);
    placeTwips(sbStatusBar, 0, h - kStatusBarHeight, w, kStatusBarHeight);
    sbStatusBar->raise();
}

// Back to the designed state, as a window that is loaded again starts afresh.
void frmDicDisp::resetControls() {
    for (int n = 1; n <= 3; ++n) {
        {
            const QSignalBlocker block(Text1[n]);
            Text1[n]->setText(QString());
        }
        option(n, 0)->setChecked(true);
        setCopiedWord(n, QString());
        setCount(n, countPrefix(DicSearchKind::Chinese));
    }
    CurrentDisplay = nullptr;
    CopiedWord.clear();
    menuItem(QStringLiteral("mnuViewToolbar"))->setChecked(true);
    menuItem(QStringLiteral("mnuViewStatusBar"))->setChecked(true);
}

void frmDicDisp::Form_Load() {
    restoreRect(kMainRectKeys, {1000, 1000, 6500, 6500});
    if (app().MainWindow) cascadeFrom(app().MainWindow->form());  // it shares the main window's keys

    resetControls();
    const QString twoLines = QStringLiteral("検索\r実行");
    Command1[1]->setProperty("Caption", twoLines);
    Command1[1]->setText(toDisplayText(twoLines));
    {
        const QSignalBlocker block(TabStrip1);
        TabStrip1->setSelectedIndex(1);
    }
    Picture1[1]->raise();

    // One message is enough when the file cannot be read at all.
    QString firstError;
    for (DicSearchKind kind : {DicSearchKind::Chinese, DicSearchKind::Japanese, DicSearchKind::English}) {
        SearchText.clear();
        wildcard(kind) = QStringLiteral("%");
        QString error;
        if (!Search(kind, &error) && firstError.isEmpty()) firstError = error;
    }
    updateClock();
    m_clock->start();
    if (!firstError.isEmpty()) app().msgBox().MsgBox(firstError, mb::OKOnly | mb::Exclamation);
}

void frmDicDisp::Form_Resize() {
    const int state = WindowState();
    if (state == 1) return;
    // Only a window in its normal state is held to the minimum size. The resize
    // this causes may be folded into the current one, so lay out for it now.
    if (state == 0 && dicBelowMinimum(Width(), Height())) setSize(kDicMinWidth, kDicMinHeight);
    const TwipsRect f = dicFrameRect(Width(), Height());
    placeTwips(Frame1, f);
    placeTwips(TabStrip1, 0, 0, f.width, f.height);
    const TwipsRect area = TabStrip1->clientRect();
    for (int n = 1; n <= 3; ++n) {
        placeTwips(Picture1[n], area);
        placeTwips(MSFlexGrid1[n], dicGridRect(area.width, area.height));
    }
    layoutBars();
}

void frmDicDisp::Form_Unload() {
    m_clock->stop();
    saveRect(kMainRectKeys);
}

QString& frmDicDisp::wildcard(DicSearchKind kind) {
    switch (kind) {
        case DicSearchKind::Chinese:
            return ChineseWildcard;
        case DicSearchKind::Japanese:
            return JapaneseWildcard;
        case DicSearchKind::English:
            break;
    }
    return EnglishWildcard;
}

QString frmDicDisp::databaseFile() const { return DictionarySearch::fileIn(app().dataDir()); }

void frmDicDisp::ResetGrid(DicSearchKind kind) { resetResultGrid(*MSFlexGrid1[panelOf(kind)], kind); }

bool frmDicDisp::Search(DicSearchKind kind, QString* error) {
    const int n = panelOf(kind);
    ResetGrid(kind);
    DicSearchResult result;
    {
        BusyPointer busy;
        result = DictionarySearch(databaseFile()).run(kind, SearchText, wildcard(kind));
        if (result.ok) fillResultGrid(*MSFlexGrid1[n], kind, result.rows, &app().progress);
    }
    if (!result.ok) {
        setCount(n, QString());
        if (error)
            *error = result.error;
        else
            app().msgBox().MsgBox(result.error, mb::OKOnly | mb::Exclamation);
        return false;
    }
    // No hits shows a zero count rather than the count of an earlier search.
    setCount(n, countText(kind, static_cast<int>(result.rows.size())));
    if (!result.rows.empty()) {
        Text1[n]->setSelStart(0);
        Text1[n]->setSelLength(1000);
    }
    return true;
}

void frmDicDisp::setCount(int panel, const QString& text) {
    Label5[panel]->setText(text);
    fitWidth(Label5[panel], 930, 1800);
}

void frmDicDisp::TabStrip1_Click() {
    const int n = TabStrip1->SelectedIndex();
    if (n < 1 || n > 3) return;
    Picture1[n]->raise();
    Text1[n]->SetFocus();
}

void frmDicDisp::Text1_Change(int panel) {
    SearchText = Text1[panel]->Text();
    for (int n = 1; n <= 3; ++n) setCopiedWord(n, QString());
    app().clipboard().clear();
    ResetGrid(kindOf(panel));
    Label5[panel]->setText(QString());
}

void frmDicDisp::Option_Click(int panel, int index) {
    wildcard(kindOf(panel)) = index == 0 ? QStringLiteral("%") : QString();
}

void frmDicDisp::Text1_KeyPress(int panel, int& key) {
    if (key != 13) return;
    key = 0;
    Command1_Click(panel);
}

// The box gets the focus back with its text selected, ready for the next text.
void frmDicDisp::Command1_Click(int panel) {
    Search(kindOf(panel));
    Text1[panel]->SetFocus();
    Text1[panel]->selectAll();
}

void frmDicDisp::MSFlexGrid1_MouseUp(int panel, int button, int, int x, int y) {
    CurrentDisplay = Label6[panel];
    FlexGrid* g = MSFlexGrid1[panel];
    // One result cell only: not a header row, not the number column, not a range.
    if (g->Row() != g->RowSel() || g->Col() != g->ColSel()) return;
    if (g->Row() <= 1 || g->Col() <= 0) return;
    if (button == 2) {
        CopiedWord = g->TextMatrix(g->Row(), g->Col());
        showPopupMenu(*PopUp, g->viewport()->mapToGlobal(QPoint(x / kTwipsPerPixel, y / kTwipsPerPixel)));
    } else if (button == 1) {
        CopiedWord = g->TextMatrix(g->Row(), g->Col());
        setCopiedWord(panel, CopiedWord);
        app().clipboard().setText(CopiedWord);
    }
}

void frmDicDisp::PopUpCopy_Click() {
    for (int n = 1; n <= 3; ++n)
        if (CurrentDisplay == Label6[n]) setCopiedWord(n, CopiedWord);
    app().clipboard().setText(CopiedWord);
}

void frmDicDisp::setCopiedWord(int panel, const QString& word) {
    Label6[panel]->setText(word);
    Label6_Change(panel);
}

void frmDicDisp::Label6_Change(int panel) {
    QLabel* l = Label6[panel];
    l->setVisible(!l->text().isEmpty());
    if (l->isVisibleTo(Picture1[panel]))
        fitWidth(l, 495, pixelsToTwips(Picture1[panel]->width()) - 720 - 120);
}

void frmDicDisp::placeholder(const QString& handler) {
    app().msgBox().MsgBox(QStringLiteral(" '%1' のｺｰﾄﾞを追加します。").arg(handler), mb::OKOnly);
}

void frmDicDisp::tbToolBar_ButtonClick(const QString& key) {
    if (key == QStringLiteral("新規作成"))
        app().msgBox().MsgBox(QStringLiteral(" '新規作成' ﾎﾞﾀﾝのｺｰﾄﾞを追加します。"), mb::OKOnly);
    else if (key == QStringLiteral("開く"))
        mnuFileOpen_Click();
    else if (key == QStringLiteral("上書き保存"))
        placeholder(QStringLiteral("mnuFileSave_Click"));
    else if (key == QStringLiteral("印刷"))
        placeholder(QStringLiteral("mnuFilePrint_Click"));
    else if (key == QStringLiteral("切り取り"))
        placeholder(QStringLiteral("mnuEditCut_Click"));
    else if (key == QStringLiteral("ｺﾋﾟｰ"))
        placeholder(QStringLiteral("mnuEditCopy_Click"));
    else if (key == QStringLiteral("貼り付け"))
        placeholder(QStringLiteral("mnuEditPaste_Click"));
    else if (key == QStringLiteral("DB編集"))
        mnuToolEdit_Click();
}

void frmDicDisp::mnuFileOpen_Click() {
    // The chosen file is not used yet; cancelling is not an error.
    app().fileDialog().ShowOpen({QStringLiteral("開く"), QStringLiteral("すべてのﾌｧｲﾙ (*.*)|*.*"), 1});
}

void frmDicDisp::mnuFilePageSetup_Click() { app().fileDialog().ShowPrinter(QStringLiteral("ﾍﾟｰｼﾞ設定")); }

void frmDicDisp::mnuToolEdit_Click() { app().form<frmDicEdit>().ShowModal(); }

void frmDicDisp::mnuViewStatusBar_Click() { menuItem(QStringLiteral("mnuViewStatusBar"))->toggle(); }

void frmDicDisp::mnuHelpContents_Click() {
    app().msgBox().MsgBox(
        QStringLiteral("ﾍﾙﾌﾟの目次を表示できません。 このﾌﾟﾛｼﾞｪｸﾄに関連付けられたﾍﾙﾌﾟが存在しません。"),
        mb::OKOnly | mb::Information, windowTitle());
}

void frmDicDisp::mnuHelpAbout_Click() {
    app().msgBox().MsgBox(
        QStringLiteral("ﾊﾞｰｼﾞｮﾝ %1.%2.%3").arg(kVersion[0]).arg(kVersion[1]).arg(kVersion[2]), mb::OKOnly);
}
