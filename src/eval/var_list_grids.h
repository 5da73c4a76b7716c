#pragma once

#include <QObject>

#include <functional>

class AppState;
class QMenu;
class frmjMain;

// What the user does with the two variable lists: switching them, outlining a
// fixed matrix, copying a J name, and the pop-ups that open the viewers.
class VarListGrids : public QObject {
    Q_OBJECT
public:
    VarListGrids(AppState& app, frmjMain& main);

    void TabStrip2_Click();
    void MSFlexGrid1_Click();
    void MSFlexGrid1_MouseDown(int button, int shift, int x, int y);
    void MSFlexGrid2_Click();
    void MSFlexGrid2_MouseDown(int button, int shift, int x, int y);
    void mnuPopUpVBdisp_Click();
    void mnuPopUpJDisp_Click();

    // Shows a pop-up menu; by default at the mouse pointer. Tests replace it to
    // see which menu would open without driving a real one.
    std::function<void(QMenu&)> showPopup;

private:
    AppState& m_app;
    frmjMain& m_main;
};

inline const QString kNameCopied = QStringLiteral(" がコピーされました。");
