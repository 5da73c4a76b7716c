#pragma once

#include "base/vb_form.h"

class QAction;
class QLabel;
class QMenu;
class QPushButton;
class TextBox;

inline const QString kConsoleCaption = QStringLiteral("J言語 JDLL Server For j601c");

// Where the resize rule puts the console's stretching controls, in twips.
struct ConsoleLayout {
    TwipsRect log;     // Text1
    int boxWidth = 0;  // DoText and GetText
};
ConsoleLayout consoleLayout(int windowWidth, int windowHeight);

// The J console: a Do box that runs a sentence for its effect, a Get box that runs
// one and shows its result, and a log of both. It works on the main window's J session;
// opening it and Clear-J offer to erase the names defined so far.
class frmjServer : public VbForm {
    Q_OBJECT
public:
    frmjServer(AppState& app, QWidget* parent = nullptr);

    QPushButton* Command1 = nullptr;
    TextBox* DoText = nullptr;
    QPushButton* Command2 = nullptr;
    TextBox* GetText = nullptr;
    TextBox* Text1 = nullptr;  // the log
    TextBox* Text2 = nullptr;  // scratch box for rendered results and error texts
    QLabel* Label2 = nullptr;
    QLabel* Label1 = nullptr;
    QMenu* mnuTool = nullptr;
    QAction* mnuClearJ = nullptr;

    void DoText_KeyPress(int& keyAscii);
    void GetText_KeyPress(int& keyAscii);
    void mnuClearJ_Click();

    // Log lines, each ending in CR LF, for a sentence J refused (Do or Get box) and for
    // a failed read of JGet.
    static QString errorLine(int code);
    static QString readErrorLine(int code);

protected:
    void Form_Load() override;
    void Form_Resize() override;
    void Form_Unload() override;

private:
    void Initialise();
    // Names Clear-J would erase (the transfer nouns left out); -1 when J cannot tell.
    int definedNameCount();
    void afterEnter(TextBox& box);
};
