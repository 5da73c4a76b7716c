#pragma once

#include "base/vb_form.h"
#include "library/library_store.h"

class QAction;
class QGroupBox;
class QLabel;
class QListWidget;
class QMenu;
class QPushButton;
class FlexGrid;
class TextBox;

inline const QString kLibraryCaption = QStringLiteral("Kalvoret Expression参照");

// The expression library window: categories on the left, the expressions of the
// chosen one in the grid, editing boxes above. Choosing an expression puts it into
// the main window's expression box. Shown modally by the main window.
class frmCommand : public VbForm {
    Q_OBJECT
public:
    frmCommand(AppState& app, QWidget* parent = nullptr);

    // Controls.
    QGroupBox* Frame1 = nullptr;
    QListWidget* List1 = nullptr;
    QGroupBox* Frame2 = nullptr;
    FlexGrid* MSFlexGrid1 = nullptr;
    QGroupBox* Frame3 = nullptr;
    TextBox* Text1 = nullptr;
    QPushButton* Command2 = nullptr;
    QPushButton* Command3 = nullptr;
    QPushButton* Command6 = nullptr;
    QGroupBox* Frame4 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    TextBox* Text2 = nullptr;
    TextBox* Text3 = nullptr;
    TextBox* Text4 = nullptr;
    QPushButton* Command4 = nullptr;
    QPushButton* Command5 = nullptr;
    QPushButton* Command7 = nullptr;
    QPushButton* Command8 = nullptr;
    QPushButton* Command9 = nullptr;
    QPushButton* Command1 = nullptr;
    QMenu* mnuTool = nullptr;
    QAction* mnuToolDic = nullptr;

    // Window fields; they keep their values from one opening to the next. The
    // category numbers are ints so that the step past 32767 is refused, not wrapped.
    int HighestCategory = 0;
    int SelectedCategory = 0;
    LibraryExpression Current;

    LibraryStore& store() { return m_store; }

    // The item number (jCmdType) of a list row; 0 for no row.
    int itemNumber(int listRow) const;

    // Handlers.
    void List1_Click();
    void MSFlexGrid1_Click();
    void MSFlexGrid1_GotFocus();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Command6_Click();
    void Command7_Click();
    void Command8_Click();
    void Command9_Click();
    void mnuToolDic_Click();

    // Store operations; a failure is shown in a message box and false returned.
    bool Class_AddNew(const QString& Text, int ListInd);
    bool Class_Update(const QString& Text, int ListInd);
    bool Class_Delete(int ListInd);
    bool Cont_AddNew();
    bool Cont_Update();
    bool Cont_Delete();

protected:
    void Form_Load() override;

private:
    void buildControls();
    void gridReset();
    void showCategory(int listRow);
    void rowChosen();
    void selectGridRow(int row);
    void focusGrid();
    bool isDataRow(int row) const;
    void setMainExpression(const QString& text);
    void setEditingEnabled(bool on);
    bool reported(bool ok);

    LibraryStore m_store;
    bool m_quietList = false;  // list changes made by code are not a user's choice
    bool m_ownFocus = false;   // focus the window gives the grid itself
};
