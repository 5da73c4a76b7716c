#pragma once

#include "base/sheet_address.h"

#include <QObject>

#include <functional>

class AppState;
class FlexGrid;
class IMainWindow;
class QMenu;
class QWidget;
class TabStrip;

// The controls of the two variable lists, made and placed by the main window.
struct VarListControls {
    TabStrip* TabStrip2 = nullptr;
    FlexGrid* MSFlexGrid1 = nullptr;  // fixed matrices
    FlexGrid* MSFlexGrid2 = nullptr;  // J nouns
};

// What the user does with the two variable lists: switching them, outlining a
// fixed matrix, copying a J name, and the pop-ups that open the viewers.
class VarListGrids : public QObject {
    Q_OBJECT
public:
    // The pop-up menus are made as children of menuOwner.
    VarListGrids(AppState& app, IMainWindow& main, const VarListControls& controls, QWidget* menuOwner);

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

    QMenu* PopUp0 = nullptr;
    QMenu* PopUp1 = nullptr;
    // The range last outlined in blue, and the selection kept while the outline is undone.
    SheetRange HighlightRange = SheetRange::cell(1, 1);
    SheetRange PrevSelection;

private:
    AppState& m_app;
    IMainWindow& m_main;
    VarListControls m_c;
};

inline const QString kNameCopied = QStringLiteral(" がコピーされました。");
