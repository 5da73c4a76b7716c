#pragma once

#include <QObject>

class AppState;
class frmjMain;

// What the user does with the two variable lists: switching them, outlining a
// fixed matrix, copying a J name, and the pop-ups that open the viewers.
class VarListGrids : public QObject {
    Q_OBJECT
public:
    VarListGrids(AppState& app, frmjMain& main);

private:
    AppState& m_app;
    frmjMain& m_main;
};
