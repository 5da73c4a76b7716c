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

private:
    bool askForProgram();
    bool start(const QString& program);

    AppState& m_app;
    frmjMain& m_main;
};

inline const QString kExcelDataTitle = QStringLiteral("Kalvoret J言語用 データ･EXCELファイルを開く");
inline const QString kExcelPickerTitle = QStringLiteral("Microsoft EXCEL.exe を発見する");
