#include "eval/expression_page.h"

#include "base/app_state.h"
#include "base/main_window.h"
#include "base/mouse_pointer.h"
#include "base/session_gate.h"
#include "controls/text_box.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopedValueRollback>

#include <limits>

namespace {

const QString kCrLf = QStringLiteral("\r\n");
// The result is kept in base whatever locale the sentence leaves current.
const QString kPrefix = QStringLiteral("J_Get_base_=: ");
const QString kLogHeader = QStringLiteral("【jExpression】");
const QString kMarker = QStringLiteral("NB.jCMD");

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

void ExpressionPage::evaluate() {
    TextBox& log = *m_c.Text2;
    const QString sentence = m_c.Text1->Text();
    IJEngine& j = m_app.J();

    QString message;
    int code = j.Do(kPrefix + sentence);
    m_main.setLastCode(code);
    if (code != 0) {
        message = doCodeMessage(code);
    } else {
        HostValue value;
        code = j.GetB(QStringLiteral("J_Get"), value);
        m_main.setLastCode(code);
        if (code != 0) {
            message = getCodeMessage(code);
        } else {
            const JRendering r = ShowJValue(value, *m_c.Text3, m_app.msgBox());
            value = HostValue();  // a big result need not live through the list refresh

            log.appendText(kLogHeader + sentence + kCrLf + renderedLogText(r));
            caretToEnd(log);
            log.SetFocus();

            m_main.setLastCode(m_main.refreshJVariables(false));
            finish();
            return;
        }
    }
    log.appendText(kLogHeader + sentence + kCrLf + message + kCrLf);
    finish();
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
