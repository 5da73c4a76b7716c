#include "eval/expression_page.h"

#include "base/app_state.h"
#include "base/j_output_text.h"
#include "base/main_window.h"
#include "base/mouse_pointer.h"
#include "base/ports.h"
#include "base/progress.h"
#include "base/session_gate.h"
#include "controls/text_box.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QTimer>

#include <algorithm>

#include <limits>

namespace {

const QString kCrLf = QStringLiteral("\r\n");
// The result is kept in base whatever locale the sentence leaves current.
const QString kPrefix = QStringLiteral("J_Get_base_=: ");
const QString kLogHeader = QStringLiteral("【jExpression】");
const QString kMarker = QStringLiteral("NB.jCMD");

// A J string literal holding the text.
QString quotedJ(QString text) {
    return QLatin1Char('\'') + text.replace(QLatin1Char('\''), QStringLiteral("''")) + QLatin1Char('\'');
}

// Puts the caret at the end of a box without walking its whole text.
void caretToEnd(TextBox& box) {
    if (auto* plain = qobject_cast<QPlainTextEdit*>(box.editor()))
        plain->moveCursor(QTextCursor::End);
    else
        box.setSelStart(static_cast<int>(box.Text().size()));
}

}  // namespace

ExpressionPage::ExpressionPage(AppState& app, IMainWindow& main, const ExpressionControls& controls,
                               QObject* parent)
    : QObject(parent), m_app(app), m_main(main), m_c(controls) {
    if (auto* line = qobject_cast<QLineEdit*>(m_c.Text1->editor())) line->setMaxLength(kMaxSentenceChars);
    m_c.Text1->setHistory(&m_app.history());
    connect(m_c.Text1, &TextBox::Change, this, &ExpressionPage::Text1_Change);
    connect(m_c.Text1, &TextBox::KeyPress, this, &ExpressionPage::Text1_KeyPress);
    connect(m_c.Text1, &TextBox::MouseUp, this, &ExpressionPage::Text1_MouseUp);
    connect(m_c.Text1, &TextBox::Paste, this, &ExpressionPage::Text1_Paste);
    connect(m_c.Text2, &TextBox::MouseUp, this, &ExpressionPage::Text2_MouseUp);
    connect(m_c.Command1, &QPushButton::clicked, this, &ExpressionPage::Command1_Click);
    connect(m_c.Command2, &QPushButton::clicked, this, &ExpressionPage::Command2_Click);
}

std::optional<QString> ExpressionPage::kindHint(const QString& sentence) {
    const qsizetype at = sentence.indexOf(kMarker);
    if (at < 0 || at + kMarker.size() >= sentence.size()) return std::nullopt;
    switch (sentence[at + kMarker.size()].unicode()) {
        case u'0':
            return QStringLiteral("[一般形] そのまま計算可能。");
        case u'1':
            return QStringLiteral("[片側形] y にＪ定義変数を対応。");
        case u'2':
            return QStringLiteral("[両側形] x, y にＪ定義変数を対応。");
        case u'9':
            return QStringLiteral("[関数定義] このまま定義を実行し、つぎに関数を実行。");
        default:
            return std::nullopt;
    }
}

QString ExpressionPage::doCodeMessage(int code) {
    if (isBreakCode(code)) return kBreakLine + kCrLf;
    if (code == 16) return QStringLiteral("Value Error(doCode=16)") + kCrLf;
    if (code == 3) return QStringLiteral("Domain Error(doCode=%1)").arg(code) + kCrLf;
    return QStringLiteral("Miscellaneous Error(doCode=%1)").arg(code) + kCrLf;
}

QString ExpressionPage::getCodeMessage(int code) {
    if (code == 16) return QStringLiteral("Value Error(gtCode=16)") + kCrLf;
    if (code == 3) return QStringLiteral("【(ユーザ)定義 OK】") + kCrLf;
    return QStringLiteral("Miscellaneous Error(gtCode=%1)").arg(code) + kCrLf;
}

void ExpressionPage::Text1_Change() {
    if (const std::optional<QString> hint = kindHint(m_c.Text1->Text())) m_c.Label2->setText(*hint);
}

void ExpressionPage::Text1_KeyPress(int& keyAscii) {
    BusyPointer busy;  // back to the default on every path
    if (keyAscii != 13) return;
    keyAscii = 0;
    // A message box shown during an evaluation must not start a second one.
    if (m_evaluating || !m_app.hasEngine()) return;
    const QScopedValueRollback<bool> guard(m_evaluating, true);
    evaluate();
}

void ExpressionPage::Text1_Paste(bool& handled) {
    const QString text = m_app.clipboard().text();
    handled = pasteScript(text);
    if (handled) return;
    // One line: a line end copied with it does not belong in the sentence.
    if (auto* line = qobject_cast<QLineEdit*>(m_c.Text1->editor())) {
        QString one = text;
        while (one.endsWith(QLatin1Char('\n')) || one.endsWith(QLatin1Char('\r'))) one.chop(1);
        line->insert(one);
        handled = true;
    }
}

void ExpressionPage::evaluate() {
    const QString sentence = m_c.Text1->Text();
    IJEngine& j = m_app.J();
    j.takeOutputChunks();  // what earlier calls printed is not this entry's

    int code = j.Do(kPrefix + sentence);
    m_main.setLastCode(code);
    JPrintedText out = splitJOutput(j.takeOutputChunks(), kPrefix);
    QString entry = kLogHeader + sentence + kCrLf + printedLogText(out.printed);
    if (code != 0) {
        entry += doCodeMessage(code);
        if (!isBreakCode(code)) entry += out.report;
        appendEntry(entry + kCrLf);
        return;
    }
    if (JFormat && showInJFormat(entry)) return;

    HostValue value;
    code = j.GetB(QStringLiteral("J_Get"), value);
    m_main.setLastCode(code);
    if (code == 3) {
        if (const QString report = undefinedNameReport(); !report.isEmpty()) {
            m_main.setLastCode(16);
            appendEntry(entry + doCodeMessage(16) + report + kCrLf);
            return;
        }
    }
    if (code != 0) {
        appendEntry(entry + getCodeMessage(code) + kCrLf);
        return;
    }
    const JRendering r = ShowJValue(value, *m_c.Text3, m_app.msgBox());
    value = HostValue();  // a big result need not live through the list refresh
    appendEntry(entry + renderedLogText(r));
    m_main.setLastCode(m_main.refreshJVariables(false));
}

bool ExpressionPage::showInJFormat(const QString& entry) {
    // J's console shows a noun by running its name; anything else takes the usual way.
    IJEngine& j = m_app.J();
    HostValue nameClass;
    if (j.Do(QStringLiteral("nc_kalvoret_=: 4!:0 <'J_Get_base_'")) != 0 ||
        j.GetB(QStringLiteral("nc_kalvoret_"), nameClass) != 0 || nameClass.numberAt(0) != 0)
        return false;
    j.takeOutputChunks();
    const int code = j.Do(QStringLiteral("J_Get_base_"));
    const JPrintedText shown = splitJOutput(j.takeOutputChunks(), QString());
    if (code != 0) return false;
    m_c.Text3->setText(shown.printed.text);
    appendEntry(entry + renderedLogText(shown.printed));
    m_main.setLastCode(m_main.refreshJVariables(false));
    return true;
}

QString ExpressionPage::undefinedNameReport() {
    // J takes a name it does not know as a verb, so "J_Get=. name" defines nothing useful:
    // the sentence was an undefined name. J's own report comes from looking the name up.
    IJEngine& j = m_app.J();
    HostValue found;
    if (j.Do(QStringLiteral("nc_kalvoret_=: {{ y #~ (_1 = 4!:0 :: 0: <y) *. 1 = # ;: y }} 5!:5 <'J_Get_base_'")) !=
            0 ||
        j.GetB(QStringLiteral("nc_kalvoret_"), found) != 0)
        return {};
    const QString name = found.text().value_or(QString());
    if (name.isEmpty()) return {};
    j.takeOutputChunks();
    j.Do(name);
    const QString report = splitJOutput(j.takeOutputChunks(), QString()).report;
    j.Do(QStringLiteral("4!:55 <'J_Get_base_'"));
    return report;
}

void ExpressionPage::appendEntry(const QString& entry) {
    TextBox& log = *m_c.Text2;
    log.appendText(entry);
    caretToEnd(log);
    if (auto* plain = qobject_cast<QPlainTextEdit*>(log.editor())) plain->ensureCursorVisible();
    log.SetFocus();
    finish();
}

bool ExpressionPage::pasteScript(const QString& text) {
    QString script = text;
    script.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    while (script.endsWith(QLatin1Char('\n'))) script.chop(1);
    if (!script.contains(QLatin1Char('\n'))) return false;
    m_app.history().add(script);
    // The text goes to J as a noun: a sentence spelling it out would pass J's word limit.
    const qint64 lines = script.count(QLatin1Char('\n')) + 1;
    if (!m_app.hasEngine() || m_app.J().Set(QStringLiteral("script_kalvoret_"), HostValue::string(script)) != 0)
        return true;
    runScript(QStringLiteral("（貼り付けたスクリプト %1 行）").arg(lines),
              QStringLiteral("0!:101 (4!:55 <'script_kalvoret_') ] script_kalvoret_"), lines);
    return true;
}

void ExpressionPage::mnuToolRunScript_Click() {
    const OpenFileAnswer a = m_app.fileDialog().ShowOpen(
        {QStringLiteral("Ｊスクリプトを実行"), QStringLiteral("Ｊスクリプト (*.ijs)|*.ijs|すべてのﾌｧｲﾙ (*.*)|*.*"), 1});
    if (a.fileName.isEmpty()) return;
    QFile file(a.fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        m_app.msgBox().MsgBox(QStringLiteral("ファイルを開けません。\r") + a.fileName, mb::OKOnly | mb::Exclamation);
        return;
    }
    const qint64 lines = file.readAll().count('\n') + 1;
    file.close();
    runScript(QStringLiteral("（スクリプト %1）").arg(a.fileName), QStringLiteral("0!:1 <") + quotedJ(a.fileName), lines);
}

void ExpressionPage::runScript(const QString& title, const QString& sentence, qint64 lines) {
    // A message box shown during an evaluation must not start a second one.
    if (m_evaluating || !m_app.hasEngine()) return;
    const QScopedValueRollback<bool> guard(m_evaluating, true);
    BusyPointer busy;
    IJEngine& j = m_app.J();
    j.takeOutputChunks();

    // J echoes each line it runs; the count of echoed lines is the script's progress.
    ProgressScope progress(&m_app.progress, lines);
    const qint64 echoedBefore = j.echoedLines();
    qint64 stepped = 0;
    QTimer ticker;
    connect(&ticker, &QTimer::timeout, this, [&] {
        const qint64 now = std::min(j.echoedLines() - echoedBefore, lines);
        progress.step(now - stepped);
        stepped = now;
    });
    ticker.start(100);
    const int code = j.Do(sentence);
    ticker.stop();
    m_main.setLastCode(code);

    const JPrintedText out = splitJOutput(j.takeOutputChunks(), QString());
    QString entry = kLogHeader + title + kCrLf + printedLogText(out.printed);
    if (code != 0) entry += doCodeMessage(code) + (isBreakCode(code) ? QString() : out.report);
    appendEntry(entry + kCrLf);
    m_main.refreshJVariables(false);
}

void ExpressionPage::finish() {
    SetMousePointer(kPointerDefault);
    if (m_app.PendingKind == 9) m_c.Text1->setText(m_app.PendingCall + QStringLiteral("   NB.jCMD1 "));
    m_app.PendingKind = 0;
    m_c.Text1->selectAll();
    m_c.Text1->SetFocus();
}

void ExpressionPage::recordSelection(TextBox* box) {
    LastTextBox = box;
    LastSelStart = box->SelStart() + 1;
    LastSelLength = box->SelLength();
}

void ExpressionPage::Text1_MouseUp(int, int, int, int) { recordSelection(m_c.Text1); }

void ExpressionPage::Text2_MouseUp(int, int, int, int) { recordSelection(m_c.Text2); }

void ExpressionPage::Command1_Click() {
    m_main.openLibrary();
    caretToEnd(*m_c.Text1);
    m_c.Text1->SetFocus();
}

void ExpressionPage::Command2_Click() {
    m_c.Text2->setText(QString());
    caretToEnd(*m_c.Text1);
    m_c.Text1->SetFocus();
}
