#pragma once

#include "app/main_layout.h"
#include "base/main_window.h"
#include "base/vb_form.h"

#include <QList>
#include <QMap>
#include <QPointer>

#include <cstdint>
#include <memory>

class QAction;
class QFrame;
class QLabel;
class QMenu;
class QProgressBar;
class QPushButton;
class QStatusBar;
class QToolBar;
class QWidget;
class FlexGrid;
class SheetWidget;
class TabStrip;
class TextBox;

class CellCommandRunner;
class ExcelHandoff;
class ExpressionPage;
class FixedMatrices;
class JVarList;
class VarListGrids;

inline const QString kMainCaption = QStringLiteral("J言語 Kalvoret(JDLL Server For j601c) By QZT");
inline const QString kUnderConstruction = QStringLiteral(" 'ただ今、工事中！！。");
inline const QString kPleaseWait = QStringLiteral("ただ今、工事中です。しばらくお待ちください。");

// The main window: a toolbar, a menu bar, and two pages chosen by TabStrip1, the
// expression page and the sheet page. Its controls carry their documented names;
// each feature lives in a class of its own that the window wires up.
class frmjMain : public VbForm, public IMainWindow {
    Q_OBJECT
public:
    frmjMain(AppState& app, QWidget* parent = nullptr);
    ~frmjMain() override;

    // Controls.
    QToolBar* tbToolBar = nullptr;
    QStatusBar* sbStatusBar = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    QFrame* Frame1 = nullptr;
    TabStrip* TabStrip1 = nullptr;
    QFrame* Frame2[3] = {};  // pages 1 and 2
    QLabel* Label1[2] = {};
    QPushButton* Command1 = nullptr;
    TextBox* Text1 = nullptr;
    QLabel* Label2 = nullptr;
    QPushButton* Command2 = nullptr;
    TextBox* Text2 = nullptr;
    TextBox* Text3 = nullptr;
    TabStrip* TabStrip2 = nullptr;
    QFrame* Frame3 = nullptr;
    FlexGrid* MSFlexGrid1 = nullptr;
    FlexGrid* MSFlexGrid2 = nullptr;
    SheetWidget* Spreadsheet1 = nullptr;

    // Window fields.
    std::int16_t PageIndex = 1;
    std::int16_t Answer = 0;
    double DefaultFillColor = 0;
    int LastCode = 0;

    // Features.
    std::unique_ptr<JVarList> jvarList;
    std::unique_ptr<FixedMatrices> matrices;
    ExpressionPage* expression = nullptr;
    VarListGrids* varLists = nullptr;
    CellCommandRunner* cellRunner = nullptr;
    std::unique_ptr<ExcelHandoff> excel;

    void InitJ();
    void TabStrip1_Click();
    void tbToolBar_ButtonClick(const QString& key);
    QAction* toolButton(const QString& key) const { return m_buttons.value(key); }
    QAction* menuItem(const QString& name) const;

    // What the features ask of the window.
    VbForm& form() override { return *this; }
    QString expressionText() const override;
    void setExpressionText(const QString& text) override;
    TextBox& resultBox() override { return *Text3; }
    SheetWidget& sheet() override { return *Spreadsheet1; }
    double defaultFillColor() const override { return DefaultFillColor; }
    void showVariableList(int tab) override;
    int refreshJVariables(bool matrixOnly) override;
    void resetJVariables() override;
    void setLastCode(int code) override { LastCode = code; }
    void setReleaseEnabled(bool on) override;
    void openLibrary() override { mnuToolDataBase_Click(); }

    // The layout the resize rules work on, as last applied.
    const MainLayout& layout() const { return m_layout; }
    TabInsets tabInsets(const TabStrip* strip) const;

    void mnuFileNew_Click();
    void mnuFileOpen_Click();
    void mnuEditCut_Click();
    void mnuEditCopy_Click();
    void mnuEditPaste_Click();
    void ReleaseAll();
    void mnuFileExcelOpen_Click();
    void mnuToolDataBase_Click();
    void mnuToolTest_Click();
    void mnuToolDict_Click();
    void mnuToolConsole_Click();
    // Break: asks the running sentence to stop.
    void mnuToolBreak_Click();
    void mnuHelpContents_Click();
    void mnuHelpAbout_Click();

protected:
    void closeEvent(QCloseEvent* e) override;
    void Form_Load() override;
    void Form_Resize() override;
    void Form_Unload() override;

private:
    void buildControls();
    void buildMenus();
    void buildToolbar();
    void applyLayout();
    void showUnderConstruction();
    void setJRunning(bool running);

    MainLayout m_layout;
    QMap<QString, QAction*> m_buttons;
    QList<QPointer<QAction>> m_disabledWhileRunning;
    bool m_closeWhenIdle = false;  // asked to close while J ran; closes once it has answered
};
