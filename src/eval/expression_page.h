#pragma once

#include <QObject>

class AppState;
class frmjMain;

// The expression page of the main window: the kind hint, evaluation on Enter,
// the log, the selection record, and the page's two buttons.
class ExpressionPage : public QObject {
    Q_OBJECT
public:
    ExpressionPage(AppState& app, frmjMain& main);

private:
    AppState& m_app;
    frmjMain& m_main;
};
