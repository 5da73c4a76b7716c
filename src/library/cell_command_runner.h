#pragma once

#include <QObject>

class AppState;
class frmjMain;

// Runs J commands written into cells of the main window's sheet ("J/..." or "j/...").
class CellCommandRunner : public QObject {
    Q_OBJECT
public:
    CellCommandRunner(AppState& app, frmjMain& main);

private:
    AppState& m_app;
    frmjMain& m_main;
};
