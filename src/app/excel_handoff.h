#pragma once

#include <QString>

class AppState;
class frmjMain;

// Opens a data file in the desktop spreadsheet program, asking once for the
// program and remembering it under "Setting"/"ExcelPath".
class ExcelHandoff {
public:
    ExcelHandoff(AppState& app, frmjMain& main);

    void mnuFileExcelOpen_Click();
    // Picks the spreadsheet program to remember, or forgets the one remembered.
    void mnuToolPickSheetApp_Click();

private:
    bool askForProgram();
    bool start(const QString& program);

    AppState& m_app;
    frmjMain& m_main;
};

inline const QString kExcelDataTitle = QStringLiteral("Kalvoret J言語用 データ･EXCELファイルを開く");
inline const QString kExcelDataFilter = QStringLiteral(
    "EXCELﾌｧｲﾙ (*.xls)|*.xls|CVSﾌｧｲﾙ (*.csv)|*.csv|表計算ﾌｧｲﾙ (*.xlsx;*.ods)|*.xlsx;*.ods|すべてのﾌｧｲﾙ "
    "(*.*)|*.*");
inline const QString kPickSheetAppTitle = QStringLiteral("表計算ソフトを選択");
inline const QString kExcelPickerTitle = QStringLiteral("Microsoft EXCEL.exe を発見する");
