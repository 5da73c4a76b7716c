#include "console/frmjserver.h"

#include "base/app_state.h"
#include "base/j_output_text.h"
#include "base/main_window.h"
#include "base/mouse_pointer.h"
#include "base/session_gate.h"
#include "controls/text_box.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>

#include <algorithm>
#include <vector>

namespace {

const QString kCrLf = QStringLiteral("\r\n");
const QString kFont = QStringLiteral("ＭＳ ゴシック");

// Selects a box's whole text; a long log is not walked character by character.
void selectWhole(TextBox& box) {
    if (auto* plain = qobject_cast<QPlainTextEdit*>(box.editor()))
        plain->selectAll();
    else
        box.selectAll();
}

}  // namespace

ConsoleLayout consoleLayout(int windowWidth, int windowHeight) {
    ConsoleLayout l;
    l.log = {120, 960, std::max(0, windowWidth - 360), std::max(0, windowHeight - 1815)};
    l.boxWidth = std::max(0, windowWidth - 960);
    return l;
}

frmjServer::frmjServer(AppState& app, QWidget* parent) : VbForm(app, parent, true) {
    setObjectName(QStringLiteral("frmjServer"));
    setWindowTitle(kConsoleCaption);
    QWidget* c = client();

    // The labels lie under the buttons, as designed; they are made first so the buttons cover them.
    Label2 = new QLabel(QStringLiteral("Do:"), c);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label1 = new QLabel(QStringLiteral("Get:"), c);
    Label1->setObjectName(QStringLiteral("Label1"));

    Text1 = new TextBox(TextBox::Mode::MultiLine, c);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setAccessibleName(QStringLiteral("ログ"));
    Text2 = new TextBox(TextBox::Mode::MultiLine, c);
    Text2->setObjectName(QStringLiteral("Text2"));
    Text2->setAccessibleName(QStringLiteral("結果"));
    Text2->setText(QStringLiteral("Text2"));
    Text2->hide();  // it lies over the log and only carries the last rendering

    Command1 = new QPushButton(QStringLiteral("Do"), c);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setToolTip(QStringLiteral("J コマンドを実行のみ"));
    Command1->setFocusPolicy(Qt::NoFocus);
    DoText = new TextBox(TextBox::Mode::SingleLine, c);
    DoText->setObjectName(QStringLiteral("DoText"));
    DoText->setAccessibleName(QStringLiteral("Do"));
    Command2 = new QPushButton(QStringLiteral("Get"), c);
    Command2->setObjectName(QStringLiteral("Command2"));
    Command2->setToolTip(QStringLiteral("Jコマンドを実行後結果を表示"));
    Command2->setFocusPolicy(Qt::NoFocus);
    GetText = new TextBox(TextBox::Mode::SingleLine, c);
    GetText->setObjectName(QStringLiteral("GetText"));
    GetText->setAccessibleName(QStringLiteral("Get"));

    for (TextBox* box : {DoText, GetText, Text1, Text2}) box->setFontName(kFont, 9);
    for (TextBox* box : {DoText, GetText}) {
        if (auto* line = qobject_cast<QLineEdit*>(box->editor())) line->setMaxLength(kMaxSentenceChars);
        box->setHistory(&app.history());  // the main window's expression box shares it
    }
    setTabOrder(DoText, GetText);
    setTabOrder(GetText, Text1);

    placeTwips(Command1, 120, 120, 495, 255);
    placeTwips(DoText, 720, 120, 5175, 255);
    placeTwips(Command2, 120, 480, 495, 255);
    placeTwips(GetText, 720, 480, 5175, 255);
    placeTwips(Text1, 120, 960, 5775, 1695);
    placeTwips(Text2, 3720, 1320, 855, 735);
    placeTwips(Label2, 120, 120, 255, 255);
    placeTwips(Label1, 120, 540, 315, 255);

    mnuTool = menuBar()->addMenu(QStringLiteral("&ツール"));
    mnuTool->setObjectName(QStringLiteral("mnuTool"));
    mnuClearJ = mnuTool->addAction(QStringLiteral("&Clear-J"));
    mnuClearJ->setObjectName(QStringLiteral("mnuClearJ"));
    connect(mnuClearJ, &QAction::triggered, this, &frmjServer::mnuClearJ_Click);

    connect(DoText, &TextBox::KeyPress, this, &frmjServer::DoText_KeyPress);
    connect(GetText, &TextBox::KeyPress, this, &frmjServer::GetText_KeyPress);

    setSize(6135, 3615);
    setMinimumTwips(kConsoleMinWidth, kConsoleMinHeight);
}

QString frmjServer::errorLine(int code) {
    if (isBreakCode(code)) return kBreakLine + kCrLf;
    const QString kind = code == 16  ? QStringLiteral("Value Error(Code=")
                         : code == 3 ? QStringLiteral("Domain Error(Code=")
                                     : QStringLiteral("Miscellaneous Error(Code=");
    return kind + QString::number(code) + QStringLiteral(")") + kCrLf;
}

QString frmjServer::readErrorLine(int code) {
    if (code == 16) return QStringLiteral("Value Error(Code=16)") + kCrLf;
    return QStringLiteral("Value Error(Code=%1)").arg(code) + kCrLf;
}

void frmjServer::Form_Load() {
    restoreRect(kMainRectKeys, {1000, 1000, 6135, 3615});
    if (WindowState() == 0) centreOnScreen();
    Initialise();
    mnuClearJ_Click();
    Form_Resize();
}

void frmjServer::Initialise() {
    // The console works on the main window's J session, so both see the same nouns.
    QString error;
    if (!app().CreateEngine(&error)) app().msgBox().MsgBox(error, mb::OKOnly | mb::Exclamation);
    setWindowTitle(kConsoleCaption);
}

int frmjServer::definedNameCount() {
    IJEngine& j = app().J();
    HostValue n;
    if (j.Do(QStringLiteral("count_kalvoret_=: # (4!:1 (0 1 2 3)) -. ;: 'J_Get JGet'")) != 0 ||
        j.GetB(QStringLiteral("count_kalvoret_"), n) != 0)
        return -1;
    return static_cast<int>(n.numberAt(0).value_or(-1));
}

void frmjServer::Form_Resize() {
    if (WindowState() == 1) return;
    const ConsoleLayout l = consoleLayout(Width(), Height());
    placeTwips(Text1, l.log);
    placeTwips(DoText, 720, 120, l.boxWidth, 255);
    placeTwips(GetText, 720, 480, l.boxWidth, 255);
}

void frmjServer::Form_Unload() {
    // Every window opened after the first one (the main window) closes with the console.
    const std::vector<VbForm*> forms = app().loadedForms();
    for (std::size_t i = forms.size(); i-- > 1;)
        if (forms[i] != this && (!app().MainWindow || forms[i] != &app().MainWindow->form()))
            forms[i]->Unload();
    saveRect(kMainRectKeys);
}

void frmjServer::DoText_KeyPress(int& keyAscii) {
    if (keyAscii != 13) return;
    keyAscii = 0;
    if (!app().hasEngine()) return;
    BusyPointer busy;
    const QString sentence = DoText->Text();
    IJEngine& j = app().J();
    j.takeOutputChunks();
    const int code = j.Do(sentence);
    // The Do box runs a sentence for its effect: what it prints shows, its value does not.
    std::vector<JOutput> chunks = j.takeOutputChunks();
    std::erase_if(chunks, [](const JOutput& c) { return c.kind == 1; });
    const JPrintedText out = splitJOutput(chunks, QString());
    QString entry = QStringLiteral("Do:") + sentence + kCrLf + printedLogText(out.printed);
    if (code != 0) {
        ShowJValue(HostValue::string(j.ErrorText(code)), *Text2, app().msgBox());
        entry += errorLine(code) + (isBreakCode(code) ? QString() : out.report) + kCrLf;
    }
    Text1->appendText(entry);
    afterEnter(*DoText);
}

void frmjServer::GetText_KeyPress(int& keyAscii) {
    if (keyAscii != 13) return;
    keyAscii = 0;
    if (!app().hasEngine()) return;
    BusyPointer busy;
    const QString sentence = GetText->Text();
    const QString prefix = QStringLiteral("JGet_base_=: ");
    IJEngine& j = app().J();
    j.takeOutputChunks();
    const int code = j.Do(prefix + sentence);
    const JPrintedText out = splitJOutput(j.takeOutputChunks(), prefix);
    QString entry = QStringLiteral("Get:") + sentence + kCrLf + printedLogText(out.printed);
    if (code != 0) {
        entry += errorLine(code) + (isBreakCode(code) ? QString() : out.report) + kCrLf;
    } else {
        HostValue v;
        const int code2 = j.GetB(QStringLiteral("JGet"), v);
        if (code2 == 0) {
            Text2->setText(QString());
            entry += renderedLogText(ShowJValue(v, *Text2, app().msgBox()));
        } else {
            entry += readErrorLine(code2) + kCrLf;
        }
    }
    Text1->appendText(entry);
    afterEnter(*GetText);
}

void frmjServer::afterEnter(TextBox& box) {
    selectWhole(*Text1);  // the caret at the end: the newest entry comes into view
    Text1->SetFocus();
    if (auto* plain = qobject_cast<QPlainTextEdit*>(Text1->editor())) plain->ensureCursorVisible();
    box.selectAll();
    box.SetFocus();
}

void frmjServer::mnuClearJ_Click() {
    // The names belong to the whole session: they go only when the user agrees.
    if (app().hasEngine()) {
        const int n = definedNameCount();
        if (n != 0 &&
            app().msgBox().MsgBox(QStringLiteral("定義済みのＪ変数 %1 個をすべて消去します。よろしいですか？")
                                      .arg(std::max(n, 0)),
                                  mb::YesNo | mb::Exclamation | mb::DefaultButton2) == mb::Yes) {
            app().J().Clear();
            if (IMainWindow* m = app().MainWindow) {
                m->resetJVariables();
                m->refreshJVariables(false);
            }
        }
    }
    GetText->setText(QString());
    Text1->setText(QString());
    Text2->setText(QString());
    DoText->setText(QString());
    DoText->selectAll();
    DoText->SetFocus();
}
