#pragma once

#include <QMap>
#include <functional>

#include "base/vb_form.h"
#include "dictionary/dictionary_search.h"

class QAction;
class QFrame;
class QGroupBox;
class QLabel;
class QMenu;
class QPushButton;
class QRadioButton;
class QStatusBar;
class QTimer;
class QToolBar;
class FlexGrid;
class TabStrip;
class TextBox;

// The statistics term dictionary: one tab per search (1 Chinese, 2 Japanese,
// 3 English), each panel with its search box, mode options, search button,
// result grid, count label and copied-word display. Control arrays are indexed
// by panel number 1 to 3; index 0 is unused.
class frmDicDisp : public VbForm {
    Q_OBJECT
public:
    frmDicDisp(AppState& app, QWidget* parent = nullptr);
    ~frmDicDisp() override;

    // Controls.
    QToolBar* tbToolBar = nullptr;
    QStatusBar* sbStatusBar = nullptr;
    QLabel* StatusPanel[4] = {};  // 1 "ｽﾃｰﾀｽ", 2 date, 3 time
    QFrame* Frame1 = nullptr;
    TabStrip* TabStrip1 = nullptr;
    QFrame* Picture1[4] = {};
    QLabel* Label1[4] = {};
    TextBox* Text1[4] = {};
    QPushButton* Command1[4] = {};
    QLabel* Label4[4] = {};
    QGroupBox* OptionFrame[4] = {};
    QRadioButton* Option2[2] = {};  // panel 1: 0 keyword, 1 exact
    QRadioButton* Option3[2] = {};  // panel 2
    QRadioButton* Option4[2] = {};  // panel 3
    FlexGrid* MSFlexGrid1[4] = {};
    QLabel* Label5[4] = {};
    QLabel* Label2[4] = {};
    QLabel* Label6[4] = {};
    QMenu* PopUp = nullptr;
    QAction* PopUpCopy = nullptr;

    // Window fields.
    QString SearchText;  // shared by the three searches: the text last typed into any box
    QString ChineseWildcard = QStringLiteral("%");
    QString JapaneseWildcard = QStringLiteral("%");
    QString EnglishWildcard = QStringLiteral("%");
    QLabel* CurrentDisplay = nullptr;  // display of the panel whose grid last saw a button released
    QString CopiedWord;

    // Shows the pop-up menu at a screen position; tests replace it to watch.
    std::function<void(QMenu& menu, const QPoint& globalPos)> showPopupMenu;

    QRadioButton* option(int panel, int index) const;
    QAction* menuItem(const QString& name) const;
    QAction* toolButton(const QString& key) const { return m_buttons.value(key); }
    // The kept caption of a search button ("検索" CR "実行" on panel 1).
    static QString caption(const QPushButton* button);

    // The searches: each fills its grid and count label from the shared search
    // text and its own wildcard. A failure leaves the grid empty and returns
    // false; it is shown in a message box, or handed back through error.
    bool Search(DicSearchKind kind, QString* error = nullptr);
    void ResetGrid(DicSearchKind kind);
    QString databaseFile() const;

    void TabStrip1_Click();
    void Text1_Change(int panel);
    // Enter runs the panel's search.
    void Text1_KeyPress(int panel, int& key);
    void Option_Click(int panel, int index);
    void Command1_Click(int panel);
    void MSFlexGrid1_MouseUp(int panel, int button, int shift, int x, int y);
    void PopUpCopy_Click();
    void Label6_Change(int panel);
    void tbToolBar_ButtonClick(const QString& key);

    void mnuFileOpen_Click();
    void mnuFilePageSetup_Click();
    void mnuFileExit_Click() { Unload(); }
    void mnuToolEdit_Click();
    void mnuViewStatusBar_Click();
    void mnuHelpContents_Click();
    void mnuHelpSearchForHelpOn_Click() { mnuHelpContents_Click(); }
    void mnuHelpAbout_Click();

protected:
    void Form_Load() override;
    void Form_Resize() override;
    void Form_Unload() override;

private:
    void buildControls();
    void buildPanel(int n);
    void buildMenus();
    void buildToolbar();
    void buildStatusBar();
    void resetControls();
    void layoutBars();
    void updateClock();
    void setCopiedWord(int panel, const QString& word);
    void setCount(int panel, const QString& text);
    // The message of an entry that is not built yet, named by its handler.
    void placeholder(const QString& handler);
    QString& wildcard(DicSearchKind kind);

    QMap<QString, QAction*> m_buttons;
    QTimer* m_clock = nullptr;
};
