#pragma once

#include <QObject>
#include <QString>
#include <optional>

#include "base/sheet_address.h"

class AppState;
class IMainWindow;

// The command a sheet cell carries: its text after a leading "J/" or "j/"; nothing
// for any other text.
std::optional<QString> jCommandOfCell(const QString& cellText);
// What is written to the right of a command cell when Do or GetB gives a nonzero code.
QString jCommandDoMessage(int code);
QString jCommandGetMessage(int code);

// Runs J commands written into cells of the main window's sheet ("J/..." or
// "j/..."): a message goes to the right of the command cell, the rendered result
// into the cell below it, and the J variable list follows.
class CellCommandRunner : public QObject {
    Q_OBJECT
public:
    CellCommandRunner(AppState& app, IMainWindow& main, QObject* parent);

    // The cell and command of the current (or last) run.
    SheetCell CommandCell;
    QString CommandText;

    // The sheet's cell event: a click on a cell or a committed edit of it.
    void Spreadsheet1_CellEvent();
    // Runs CommandText for CommandCell.
    void RunJCommand();

private:
    enum class Side { Right, Below };
    // Writes text beside the command cell; false when the sheet ends there.
    bool writeBeside(Side side, const QString& text);

    AppState& m_app;
    IMainWindow& m_main;
    bool m_running = false;
};
