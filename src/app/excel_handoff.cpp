#include "app/excel_handoff.h"

#include "app/frmjmain.h"
#include "base/app_state.h"
#include "base/mouse_pointer.h"
#include "controls/tab_strip.h"

#include <QFileInfo>
#include <QStandardPaths>

namespace {

const QString kSection = QStringLiteral("Setting");
const QString kKey = QStringLiteral("ExcelPath");

QString unquoted(QString s) {
    if (s.size() >= 2 && s.startsWith(QLatin1Char('"')) && s.endsWith(QLatin1Char('"')))
        s = s.mid(1, s.size() - 2);
    return s;
}

// A program path that can still be started: an existing file, or a name found on PATH.
bool programExists(const QString& program) {
    if (program.trimmed().isEmpty()) return false;
    if (QFileInfo(program).isFile()) return true;
    return !program.contains(QLatin1Char('/')) && !QStandardPaths::findExecutable(program).isEmpty();
}

}  // namespace

ExcelHandoff::ExcelHandoff(AppState& app, frmjMain& main) : m_app(app), m_main(main) {}

void ExcelHandoff::mnuFileExcelOpen_Click() {
    const OpenFileAnswer data = m_app.fileDialog().ShowOpen(
        {kExcelDataTitle,
         QStringLiteral("EXCELﾌｧｲﾙ (*.xls)|*.xls|CVSﾌｧｲﾙ (*.csv)|*.csv|すべてのﾌｧｲﾙ (*.*)|*.*"), 1});
    if (data.fileName.isEmpty()) return;
    ExcelHandoffState& s = m_app.excel;
    s.ExcelFileName = data.fileName;
    s.ExcelFileTitle = data.fileTitle;
    s.ExcelExePath = QLatin1Char('"') + m_app.settings().GetSetting(kSection, kKey, QStringLiteral(" ")) +
                     QLatin1Char('"');

    if (s.ExcelExePath == QStringLiteral("\" \"")) {
        if (!askForProgram()) return;
        if (!start(s.ExcelExePath)) return;
        m_main.TabStrip1->setSelectedIndex(2);
        m_app.settings().SaveSetting(kSection, kKey, s.ExcelExePath);
        return;
    }

    const QString stored = unquoted(s.ExcelExePath);
    if (!programExists(stored)) {
        // The remembered program has gone: say so and let the user pick it again.
        m_app.msgBox().MsgBox(QStringLiteral("記憶している表計算ソフトが見つかりません。\r%1\r"
                                             "もう一度、表計算ソフトを指定して下さい。")
                                  .arg(stored),
                              mb::OKOnly | mb::Exclamation);
        if (!askForProgram()) return;
        if (!start(s.ExcelExePath)) return;
        m_main.TabStrip1->setSelectedIndex(2);
        m_app.settings().SaveSetting(kSection, kKey, s.ExcelExePath);
        return;
    }
    if (!start(stored)) return;
    m_main.TabStrip1->setSelectedIndex(2);
}

bool ExcelHandoff::askForProgram() {
    SetMousePointer(kPointerDefault);
    m_main.Answer = static_cast<std::int16_t>(
        m_app.msgBox().MsgBox(QStringLiteral("EXCEL.EXE が見つかりません。手動で探して下さい。？\r"
                                             "次回からは、自動的に起動します。\r"
                                             "(EXCELは、一般的には\r"
                                             "[…\\Program Files\\Microsoft Office\\Office\\EXCEL.EXE])\r"
                                             "にあるはずですが…。"),
                              mb::YesNo));
    if (m_main.Answer == mb::No) return false;
    // Linux programs have no .exe: the picker offers every file as well.
    const OpenFileAnswer program = m_app.fileDialog().ShowOpen(
        {kExcelPickerTitle, QStringLiteral("Excel|Excel.exe|すべてのﾌｧｲﾙ (*.*)|*"), 2});
    if (program.fileName.isEmpty()) {
        m_app.msgBox().MsgBox(
            QStringLiteral("表計算ソフトが選ばれなかったため、ファイルを開けませんでした。"),
            mb::OKOnly | mb::Exclamation);
        return false;
    }
    m_app.excel.ExcelExePath = program.fileName;
    return true;
}

bool ExcelHandoff::start(const QString& program) {
    QString error;
    // The data file is one argument, blanks and all; no shell is involved.
    if (m_app.process().startDetached(program, {m_app.excel.ExcelFileName}, &error)) return true;
    m_app.msgBox().MsgBox(QStringLiteral("表計算ソフトを起動できませんでした。\r%1\r%2").arg(program, error),
                          mb::OKOnly | mb::Exclamation);
    return false;
}
