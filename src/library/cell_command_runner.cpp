#include "library/cell_command_runner.h"

#include <QStringList>

#include "base/app_state.h"
#include "base/main_window.h"
#include "base/mouse_pointer.h"
#include "controls/sheet_widget.h"
#include "controls/tab_strip.h"
#include "controls/text_box.h"

namespace {

const QString kTransfer = QStringLiteral("J_Get");

}  // namespace

std::optional<QString> jCommandOfCell(const QString& cellText) {
    if (cellText.startsWith(QLatin1String("J/")) || cellText.startsWith(QLatin1String("j/")))
        return cellText.mid(2);
    return std::nullopt;
}

QString jCommandDoMessage(int code) {
    switch (code) {
        case 0:
            return QString();
        case 16:
            return QStringLiteral("J Command Error 1");
        case 3:
            return QStringLiteral("J Command Error 2");
        default:
            return QStringLiteral("J Command Error 9");
    }
}

QString jCommandGetMessage(int code) {
    switch (code) {
        case 0:
            return QString();
        case 16:
            return QStringLiteral("J Command Error 11");
        case 3:
            return QStringLiteral("J Definition OK!");  // J_Get holds a verb: a definition was made
        default:
            return QStringLiteral("J Command Error 99");
    }
}

CellCommandRunner::CellCommandRunner(AppState& app, IMainWindow& main, QObject* parent)
    : QObject(parent), m_app(app), m_main(main) {
    connect(&main.sheet(), &SheetWidget::cellEvent, this, &CellCommandRunner::Spreadsheet1_CellEvent);
}

void CellCommandRunner::Spreadsheet1_CellEvent() {
    // A message box raised inside a run must not start a second run.
    if (m_running) return;
    SheetWidget& sheet = m_main.sheet();
    CommandCell = sheet.currentCell();
    const std::optional<QString> command = jCommandOfCell(sheet.text(CommandCell.row, CommandCell.col));
    if (!command) return;
    CommandText = *command;
    m_running = true;
    RunJCommand();
    m_running = false;
    m_main.showVariableList(2);
}

bool CellCommandRunner::writeBeside(Side side, const QString& text) {
    SheetWidget& sheet = m_main.sheet();
    const int row = CommandCell.row + (side == Side::Below ? 1 : 0);
    const int col = CommandCell.col + (side == Side::Right ? 1 : 0);
    sheet.select(SheetRange::cell(CommandCell.row, CommandCell.col));
    if (row > sheet::kRows || col > sheet::kCols) return false;
    sheet.select(SheetRange::cell(row, col));
    // The text exactly as J rendered it ("007" stays "007"); empty clears the cell.
    if (text.isEmpty())
        sheet.setValue(row, col, std::monostate{});
    else
        sheet.setValue(row, col, text);
    return true;
}

void CellCommandRunner::RunJCommand() {
    const QString cell = sheet::cellAddress(CommandCell.row, CommandCell.col);
    if (!m_app.hasEngine()) {
        m_app.msgBox().MsgBox(
            QStringLiteral("J エンジンが使えないため、セル %1 の J コマンドを実行できません。").arg(cell),
            mb::OKOnly | mb::Exclamation);
        return;
    }
    QStringList unwritten;
    {
        BusyPointer busy;
        IJEngine& j = m_app.J();
        QString message;
        const int code1 = j.Do(QStringLiteral("J_Get_base_=: ") + CommandText);
        HostValue value;
        if (code1 != 0) {
            message = jCommandDoMessage(code1);
        } else if (const int code2 = j.GetB(kTransfer, value); code2 != 0) {
            message = jCommandGetMessage(code2);
        }
        if (!message.isEmpty()) {
            if (!writeBeside(Side::Right, message))
                unwritten << QStringLiteral("セル %1 は最終列にあるため、右のセルに「%2」を書けません。")
                                 .arg(cell, message);
        } else {
            TextBox& out = m_main.resultBox();
            out.setText(QString());
            ShowJValue(value, out, m_app.msgBox());
            writeBeside(Side::Right, QString());  // a last-column cell has no old message to clear
            if (!writeBeside(Side::Below, out.Text()))
                unwritten << QStringLiteral("セル %1 は最終行にあるため、実行結果を下のセルに書けません。")
                                 .arg(cell);
            m_main.refreshJVariables(false);
        }
    }
    if (!unwritten.isEmpty())
        m_app.msgBox().MsgBox(unwritten.join(QLatin1Char('\r')), mb::OKOnly | mb::Exclamation);
}
