#include "eval/expression_page.h"

#include "app/app_state.h"
#include "app/frmjmain.h"
#include "controls/mouse_pointer.h"
#include "controls/text_box.h"
#include "jlink/jvar_list.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopedValueRollback>

#include <limits>

namespace {

const QString kCrLf = QStringLiteral("\r\n");
const QString kPrefix = QStringLiteral("J_Get=. ");
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

ExpressionPage::ExpressionPage(AppState& app, frmjMain& main) : QObject(&main), m_app(app), m_main(main) {
    if (auto* line = qobject_cast<QLineEdit*>(main.Text1->editor())) line->setMaxLength(kMaxSentenceChars);
    connect(main.Text1, &TextBox::Change, this, &ExpressionPage::Text1_Change);
    connect(main.Text1, &TextBox::KeyPress, this, &ExpressionPage::Text1_KeyPress);
    connect(main.Text1, &TextBox::MouseUp, this, &ExpressionPage::Text1_MouseUp);
    connect(main.Text2, &TextBox::MouseUp, this, &ExpressionPage::Text2_MouseUp);
    connect(main.Command1, &QPushButton::clicked, this, &ExpressionPage::Command1_Click);
    connect(main.Command2, &QPushButton::clicked, this, &ExpressionPage::Command2_Click);
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
    if (const std::optional<QString> hint = kindHint(m_main.Text1->Text())) m_main.Label2->setText(*hint);
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
    TextBox& log = *m_main.Text2;
    const QString sentence = m_main.Text1->Text();
    IJEngine& j = m_app.J();

    QString message;
    m_main.LastCode = j.Do(kPrefix + sentence);
    if (m_main.LastCode != 0) {
        message = doCodeMessage(m_main.LastCode);
    } else {
        HostValue value;
        m_main.LastCode = j.GetB(QStringLiteral("J_Get"), value);
        if (m_main.LastCode != 0) {
            message = getCodeMessage(m_main.LastCode);
        } else {
            const JRendering r = ShowJValue(value, *m_main.Text3, m_app.msgBox());
            value = HostValue();  // a big result need not live through the list refresh

            log.appendText(kLogHeader + sentence + kCrLf + renderedLogText(r));
            caretToEnd(log);
            log.SetFocus();

            m_main.LastCode = m_main.jvarList->RefreshFromJ(false);
            finish();
            return;
        }
    }
    log.appendText(kLogHeader + sentence + kCrLf + message + kCrLf);
    finish();
}

void ExpressionPage::finish() {
    SetMousePointer(kPointerDefault);
    if (m_app.PendingKind == 9) m_main.Text1->setText(m_app.PendingCall + QStringLiteral("   NB.jCMD1 "));
    m_app.PendingKind = 0;
    m_main.Text1->selectAll();
    m_main.Text1->SetFocus();
}

void ExpressionPage::recordSelection(TextBox* box) {
    m_main.LastTextBox = box;
    m_main.LastSelStart = box->SelStart() + 1;
    m_main.LastSelLength = box->SelLength();
}

void ExpressionPage::Text1_MouseUp(int, int, int, int) { recordSelection(m_main.Text1); }

void ExpressionPage::Text2_MouseUp(int, int, int, int) { recordSelection(m_main.Text2); }

void ExpressionPage::Command1_Click() {
    m_main.mnuToolDataBase_Click();
    caretToEnd(*m_main.Text1);
    m_main.Text1->SetFocus();
}

void ExpressionPage::Command2_Click() {
    m_main.Text2->setText(QString());
    caretToEnd(*m_main.Text1);
    m_main.Text1->SetFocus();
}
