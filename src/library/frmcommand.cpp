#include "library/frmcommand.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

#include "base/app_state.h"
#include "base/main_window.h"
#include "controls/flex_grid.h"
#include "controls/text_box.h"
#include "dictionary/dictionary_window.h"

namespace {

constexpr int kColumns = 7;
constexpr int kColWidths[kColumns] = {600, 1500, 2000, 1500, 0, 0, 0};
const QString kGothic = QStringLiteral("ＭＳ ゴシック");
const QString kPGothic = QStringLiteral("ＭＳ Ｐゴシック");

// Leading and trailing blanks only; other white space belongs to the text.
QString trimBlanks(const QString& s) {
    qsizetype b = 0, e = s.size();
    while (b < e && s[b] == QLatin1Char(' ')) ++b;
    while (e > b && s[e - 1] == QLatin1Char(' ')) --e;
    return s.mid(b, e - b);
}

QGroupBox* frame(QWidget* parent, const QString& name, const QString& caption) {
    auto* f = new QGroupBox(caption, parent);
    f->setObjectName(name);
    return f;
}

QPushButton* button(QWidget* parent, const QString& name, const QString& caption) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

QLabel* label(QWidget* parent, const QString& name, const QString& caption) {
    auto* l = new QLabel(caption, parent);
    l->setObjectName(name);
    return l;
}

TextBox* textBox(QWidget* parent, const QString& name, const QString& accessible) {
    auto* t = new TextBox(TextBox::Mode::SingleLine, parent);
    t->setObjectName(name);
    t->setAccessibleName(accessible);
    return t;
}

void setBackColor(QPushButton* b, std::uint32_t bgr) {
    QPalette p = b->palette();
    p.setColor(QPalette::Button, vbColor(bgr));
    b->setPalette(p);
    b->setAutoFillBackground(true);
}

}  // namespace

frmCommand::frmCommand(AppState& app, QWidget* parent)
    : VbForm(app, parent, true), m_store(LibraryStore::fileIn(app.dataDir())) {
    setObjectName(QStringLiteral("frmCommand"));
    setWindowTitle(kLibraryCaption);
    buildControls();
    setSize(8880 + kNonClientWidth, 4650 + kCaptionHeight + kMenuHeight);
}

void frmCommand::buildControls() {
    QWidget* c = client();
    c->setObjectName(QStringLiteral("frmCommandClient"));

    Frame1 = frame(c, QStringLiteral("Frame1"), QStringLiteral("Ｊ Expression 分類"));
    placeTwips(Frame1, 120, 1320, 2415, 3255);
    List1 = new QListWidget(Frame1);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setAccessibleName(QStringLiteral("Ｊ Expression 分類"));
    placeTwips(List1, 120, 240, 2175, 2940);

    Frame2 = frame(c, QStringLiteral("Frame2"), QStringLiteral("Ｊ Expression 内容"));
    placeTwips(Frame2, 2640, 1320, 6135, 3255);
    MSFlexGrid1 = new FlexGrid(Frame2);
    MSFlexGrid1->setObjectName(QStringLiteral("MSFlexGrid1"));
    MSFlexGrid1->setAccessibleName(QStringLiteral("Ｊ Expression 内容"));
    MSFlexGrid1->setFont(QFont(kPGothic, 9));
    placeTwips(MSFlexGrid1, 120, 240, 5895, 2895);

    Frame3 = frame(c, QStringLiteral("Frame3"), QStringLiteral("分類を追加/修正"));
    placeTwips(Frame3, 120, 120, 2415, 1095);
    Text1 = textBox(Frame3, QStringLiteral("Text1"), QStringLiteral("分類名"));
    Text1->setFontName(kGothic, 9);
    placeTwips(Text1, 120, 240, 2175, 270);
    Command2 = button(Frame3, QStringLiteral("Command2"), QStringLiteral("追加"));
    placeTwips(Command2, 120, 600, 615, 375);
    Command3 = button(Frame3, QStringLiteral("Command3"), QStringLiteral("修正"));
    placeTwips(Command3, 960, 600, 615, 375);
    Command6 = button(Frame3, QStringLiteral("Command6"), QStringLiteral("削除"));
    placeTwips(Command6, 1680, 600, 615, 375);

    Frame4 = frame(c, QStringLiteral("Frame4"), QString());
    placeTwips(Frame4, 2640, 120, 6135, 1095);
    Label1 = label(Frame4, QStringLiteral("Label1"), QStringLiteral("式名"));
    placeTwips(Label1, 720, 0, 360, 180);
    Label2 = label(Frame4, QStringLiteral("Label2"), QStringLiteral("式( j Expression)"));
    placeTwips(Label2, 2400, 0, 1305, 180);
    Label3 = label(Frame4, QStringLiteral("Label3"), QStringLiteral("備考"));
    placeTwips(Label3, 5040, 0, 360, 180);
    for (QLabel* l : {Label1, Label2, Label3}) {
        QFont f = l->font();
        f.setPointSize(8);  // the labels are 180 twips (12 pixels) high
        l->setFont(f);
    }
    Text2 = textBox(Frame4, QStringLiteral("Text2"), QStringLiteral("式名"));
    Text2->setFontName(kGothic, 9);
    placeTwips(Text2, 120, 240, 1455, 270);
    Text3 = textBox(Frame4, QStringLiteral("Text3"), QStringLiteral("式( j Expression)"));
    Text3->setFontName(kGothic, 9);
    placeTwips(Text3, 1680, 240, 2655, 270);
    Text4 = textBox(Frame4, QStringLiteral("Text4"), QStringLiteral("備考"));
    placeTwips(Text4, 4440, 240, 1575, 270);
    Command4 = button(Frame4, QStringLiteral("Command4"), QStringLiteral("追加"));
    placeTwips(Command4, 120, 600, 615, 375);
    Command5 = button(Frame4, QStringLiteral("Command5"), QStringLiteral("修正"));
    placeTwips(Command5, 960, 600, 615, 375);
    Command7 = button(Frame4, QStringLiteral("Command7"), QStringLiteral("削除"));
    placeTwips(Command7, 1680, 600, 615, 375);
    Command8 = button(Frame4, QStringLiteral("Command8"), QStringLiteral("表示クリア"));
    setBackColor(Command8, 0x00FFFFC0);
    placeTwips(Command8, 2400, 600, 975, 375);
    Command9 = button(Frame4, QStringLiteral("Command9"), QStringLiteral("再表示"));
    setBackColor(Command9, 0x00C0FFFF);
    placeTwips(Command9, 3480, 600, 855, 375);
    Command1 = button(Frame4, QStringLiteral("Command1"), QStringLiteral("更新/終了"));
    placeTwips(Command1, 4800, 600, 1215, 375);

    mnuTool = menuBar()->addMenu(QStringLiteral("ツール"));
    mnuTool->setObjectName(QStringLiteral("mnuTool"));
    mnuToolDic = mnuTool->addAction(QStringLiteral("「日・中・英」統計用語対応表"));
    mnuToolDic->setObjectName(QStringLiteral("mnuToolDic"));

    connect(List1, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!m_quietList && row >= 0) List1_Click();
    });
    connect(MSFlexGrid1, &FlexGrid::Click, this, &frmCommand::MSFlexGrid1_Click);
    connect(MSFlexGrid1, &FlexGrid::GotFocus, this, &frmCommand::MSFlexGrid1_GotFocus);
    connect(Command1, &QPushButton::clicked, this, &frmCommand::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &frmCommand::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &frmCommand::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &frmCommand::Command4_Click);
    connect(Command5, &QPushButton::clicked, this, &frmCommand::Command5_Click);
    connect(Command6, &QPushButton::clicked, this, &frmCommand::Command6_Click);
    connect(Command7, &QPushButton::clicked, this, &frmCommand::Command7_Click);
    connect(Command8, &QPushButton::clicked, this, &frmCommand::Command8_Click);
    connect(Command9, &QPushButton::clicked, this, &frmCommand::Command9_Click);
    connect(mnuToolDic, &QAction::triggered, this, &frmCommand::mnuToolDic_Click);

    gridReset();
    setEditingEnabled(false);
}

// ---- helpers ---------------------------------------------------------------------

int frmCommand::itemNumber(int listRow) const {
    const QListWidgetItem* item = List1->item(listRow);
    return item ? item->data(Qt::UserRole).toInt() : 0;
}

bool frmCommand::isDataRow(int row) const { return row > 0 && row < MSFlexGrid1->Rows(); }

void frmCommand::gridReset() {
    FlexGrid* g = MSFlexGrid1;
    g->Clear();
    g->setRows(1);
    g->setCols(kColumns);
    g->setFixedRows(1);
    for (int c = 0; c < kColumns; ++c) g->setColWidth(c, kColWidths[c]);
    g->setTextMatrix(0, 0, QStringLiteral("No."));
    g->setTextMatrix(0, 1, QStringLiteral("式名"));
    g->setTextMatrix(0, 2, QStringLiteral("j Expression"));
    g->setTextMatrix(0, 3, QStringLiteral("備考"));
}

void frmCommand::setEditingEnabled(bool on) {
    for (QWidget* w : std::initializer_list<QWidget*>{Frame3, Frame4, Command1, Command2, Command3, Command4,
                                                      Command5, Command6, Command7, Label1, Label2, Label3})
        w->setEnabled(on);
}

void frmCommand::setMainExpression(const QString& text) {
    if (IMainWindow* m = app().MainWindow) m->setExpressionText(text);
}

void frmCommand::selectGridRow(int row) {
    MSFlexGrid1->setRow(row);
    MSFlexGrid1->setCol(0);
    MSFlexGrid1->setRowSel(row);
    MSFlexGrid1->setColSel(MSFlexGrid1->Cols() - 1);
}

void frmCommand::focusGrid() {
    // The row steps have just filled the boxes; the focus handler would only
    // refill them with the untrimmed text.
    m_ownFocus = true;
    MSFlexGrid1->setFocus(Qt::OtherFocusReason);
    m_ownFocus = false;
}

bool frmCommand::reported(bool ok) {
    if (!ok) app().msgBox().MsgBox(m_store.lastError(), mb::OKOnly | mb::Exclamation);
    return ok;
}

// ---- opening -----------------------------------------------------------------------

void frmCommand::Form_Load() {
    if (WindowState() == 0) centreOnScreen();
    app().PendingKind = 0;
    gridReset();
    // A fresh opening starts from empty controls, as a newly loaded window does.
    m_quietList = true;
    List1->clear();
    m_quietList = false;
    for (TextBox* t : {Text1, Text2, Text3, Text4}) t->setText(QString());
    setEditingEnabled(false);

    const auto rows = m_store.ReadCategories();
    if (!rows) {
        reported(false);
        // Leave the close button usable; nothing else can work without the file.
        Frame4->setEnabled(true);
        Command1->setEnabled(true);
        return;
    }
    if (rows->empty()) {
        // An empty library can still get its first category.
        Frame3->setEnabled(true);
        Command2->setEnabled(true);
        return;
    }
    m_quietList = true;
    for (const LibraryRow& r : *rows) {
        HighestCategory = std::max(HighestCategory, r.jCmdType);
        auto* item = new QListWidgetItem(r.jCmdName, List1);
        item->setData(Qt::UserRole, r.jCmdType);
    }
    List1->setCurrentRow(-1);
    m_quietList = false;
    setEditingEnabled(true);
}

// ---- category chosen, row chosen, grid focus ------------------------------------

void frmCommand::List1_Click() { showCategory(List1->currentRow()); }

void frmCommand::showCategory(int listRow) {
    const QListWidgetItem* item = List1->item(listRow);
    if (!item) return;
    Text1->setText(item->text());
    SelectedCategory = itemNumber(listRow);

    const auto rows = m_store.ReadExpressions(SelectedCategory);
    gridReset();
    if (!rows) {
        reported(false);
        for (TextBox* t : {Text2, Text3, Text4}) t->setText(QString());
        return;
    }
    if (rows->empty()) {
        for (TextBox* t : {Text2, Text3, Text4}) t->setText(QString());
        setMainExpression(QString());
        MSFlexGrid1->setRow(0);
        MSFlexGrid1->setCol(0);
        return;
    }
    FlexGrid* g = MSFlexGrid1;
    g->setRedraw(false);
    g->setRows(static_cast<int>(rows->size()) + 1);
    int r = 1;
    for (const LibraryRow& row : *rows) {
        // Cells are set one by one: an expression may itself hold a tab.
        g->setTextMatrix(r, 0, QString::number(r));
        g->setTextMatrix(r, 1, row.jCmdName);
        g->setTextMatrix(r, 2, row.jCmd);
        g->setTextMatrix(r, 3, row.jNote);
        g->setTextMatrix(r, 4, QString::number(row.jSeq));
        g->setTextMatrix(r, 5, QString::number(row.jCmdType));
        g->setTextMatrix(r, 6, row.jCmd2);
        ++r;
    }
    g->setRedraw(true);
    selectGridRow(1);
    rowChosen();
    focusGrid();
}

void frmCommand::MSFlexGrid1_Click() { rowChosen(); }

void frmCommand::rowChosen() {
    FlexGrid* g = MSFlexGrid1;
    const int r = g->Row();
    if (!isDataRow(r)) {
        for (TextBox* t : {Text2, Text3, Text4}) t->setText(QString());
        return;
    }
    Text2->setText(g->TextMatrix(r, 1));
    Text3->setText(g->TextMatrix(r, 2));
    Text4->setText(g->TextMatrix(r, 3));
    Current.name = Text2->Text();
    Current.expression = trimBlanks(Text3->Text());
    Current.second = trimBlanks(Text4->Text());
    Current.note = g->TextMatrix(r, 3);
    Current.number = g->TextMatrix(r, 4).toInt();
    Current.category = itemNumber(List1->currentRow());
    setMainExpression(Current.expression);
    selectGridRow(r);
}

void frmCommand::MSFlexGrid1_GotFocus() {
    if (m_ownFocus) return;
    FlexGrid* g = MSFlexGrid1;
    const int r = g->Row();
    if (!isDataRow(r)) return;
    Text2->setText(g->TextMatrix(r, 1));
    Text3->setText(g->TextMatrix(r, 2));
    Text4->setText(g->TextMatrix(r, 3));
    Current.name = Text2->Text();
    Current.expression = trimBlanks(Text3->Text());
    Current.second = trimBlanks(Text4->Text());
    Current.note = g->TextMatrix(r, 3);
    setMainExpression(Text3->Text());
}

// ---- categories ------------------------------------------------------------------

void frmCommand::Command2_Click() {
    const QString name = Text1->Text();
    if (name.isEmpty()) return;
    const int number = HighestCategory + 1;
    if (!Class_AddNew(name, number)) return;
    HighestCategory = number;
    const bool first = List1->count() == 0;
    m_quietList = true;
    auto* item = new QListWidgetItem(name, List1);
    item->setData(Qt::UserRole, number);
    m_quietList = false;
    // The first category of an empty library opens up the rest of the window.
    if (first) setEditingEnabled(true);
    rowChosen();
}

void frmCommand::Command3_Click() {
    const QString name = Text1->Text();
    const int row = List1->currentRow();
    if (name.isEmpty() || row < 0) return;
    if (!Class_Update(name, itemNumber(row))) return;
    List1->item(row)->setText(name);
    rowChosen();
}

void frmCommand::Command6_Click() {
    const int row = List1->currentRow();
    if (Text1->Text().isEmpty() || row < 0) return;
    const int answer =
        app().msgBox().MsgBox(QStringLiteral("データベースからデータを削除すると元に戻せません。\r"
                                             "また、この分類に所属する全ての jExprssion も削除されます。\r"
                                             "削除しますか？"),
                              mb::YesNo);
    if (answer == mb::No) return;
    if (!Class_Delete(itemNumber(row))) return;
    m_quietList = true;
    delete List1->takeItem(row);
    List1->setCurrentRow(-1);
    m_quietList = false;
    if (List1->count() > 0) {
        m_quietList = true;
        List1->setCurrentRow(0);
        m_quietList = false;
        showCategory(0);
    } else {
        // Nothing left to show.
        gridReset();
        Text1->setText(QString());
        SelectedCategory = 0;
    }
    rowChosen();
}

// ---- expressions -----------------------------------------------------------------

void frmCommand::Command4_Click() {
    const int listRow = List1->currentRow();
    if (Text2->Text().isEmpty() || Text3->Text().isEmpty() || listRow < 0) return;
    Current.name = Text2->Text();
    Current.category = itemNumber(listRow);
    Current.expression = Text3->Text();
    Current.second = QString();
    Current.note = Text4->Text();
    if (!Cont_AddNew()) return;

    FlexGrid* g = MSFlexGrid1;
    const int r = g->Rows();
    g->setRows(r + 1);
    g->setTextMatrix(r, 0, QString::number(r));
    g->setTextMatrix(r, 1, Current.name);
    g->setTextMatrix(r, 2, QStringLiteral(" ") + trimBlanks(Current.expression));
    g->setTextMatrix(r, 3, Current.note);
    g->setTextMatrix(r, 4, QString::number(Current.number));
    g->setTextMatrix(r, 5, QString::number(Current.category));
    selectGridRow(r);
    focusGrid();
    rowChosen();
}

void frmCommand::Command5_Click() {
    FlexGrid* g = MSFlexGrid1;
    const int r = g->Row();
    if (Text2->Text().isEmpty() || Text3->Text().isEmpty() || !isDataRow(r)) return;
    Current.name = Text2->Text();
    Current.expression = trimBlanks(Text3->Text());
    Current.second = trimBlanks(Text4->Text());
    Current.note = Text4->Text();
    Current.number = g->TextMatrix(r, 4).toInt();
    Current.category = g->TextMatrix(r, 5).toInt();
    if (!Cont_Update()) return;
    g->setTextMatrix(r, 1, Current.name);
    g->setTextMatrix(r, 2, QStringLiteral(" ") + Current.expression);
    g->setTextMatrix(r, 3, Current.note);
    g->setTextMatrix(r, 6, Current.second);
    rowChosen();
}

void frmCommand::Command7_Click() {
    FlexGrid* g = MSFlexGrid1;
    if (g->Rows() < 2) return;
    const int answer = app().msgBox().MsgBox(
        QStringLiteral("データベースからデータを削除するともとに戻せません。\r削除しますか？"), mb::YesNo);
    if (answer == mb::No) return;
    const int r = g->Row();
    if (isDataRow(r)) {
        // The row on screen is what goes, even when it was reached by keyboard
        // after another row was clicked.
        Current.number = g->TextMatrix(r, 4).toInt();
        Current.category = g->TextMatrix(r, 5).toInt();
        if (!Cont_Delete()) return;
        g->RemoveItem(r);
    }
    rowChosen();
}

void frmCommand::Command8_Click() {
    for (TextBox* t : {Text2, Text3, Text4}) t->setText(QString());
}

void frmCommand::Command9_Click() {
    FlexGrid* g = MSFlexGrid1;
    const int r = g->Row();
    if (!isDataRow(r)) return;
    Text2->setText(g->TextMatrix(r, 1));
    Text3->setText(g->TextMatrix(r, 2));
    Text4->setText(g->TextMatrix(r, 3));
}

void frmCommand::Command1_Click() { Unload(); }

void frmCommand::mnuToolDic_Click() { ShowDictionary(app(), true); }

// ---- store operations --------------------------------------------------------------

bool frmCommand::Class_AddNew(const QString& Text, int ListInd) {
    return reported(m_store.Class_AddNew(Text, ListInd));
}
bool frmCommand::Class_Update(const QString& Text, int ListInd) {
    return reported(m_store.Class_Update(Text, ListInd));
}
bool frmCommand::Class_Delete(int ListInd) { return reported(m_store.Class_Delete(ListInd)); }
bool frmCommand::Cont_AddNew() { return reported(m_store.Cont_AddNew(Current)); }
bool frmCommand::Cont_Update() { return reported(m_store.Cont_Update(Current)); }
bool frmCommand::Cont_Delete() { return reported(m_store.Cont_Delete(Current)); }
