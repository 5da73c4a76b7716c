#pragma once

#include <QObject>
#include <QString>

#include <optional>

class AppState;
class IMainWindow;
class QLabel;
class QPushButton;
class TextBox;

// The controls of the expression page, made and placed by the main window.
struct ExpressionControls {
    TextBox* Text1 = nullptr;  // expression box
    QLabel* Label2 = nullptr;  // kind hint
    QPushButton* Command1 = nullptr;
    TextBox* Text2 = nullptr;  // log
    QPushButton* Command2 = nullptr;
    TextBox* Text3 = nullptr;  // last rendering
};

// The expression page of the main window: the kind hint, evaluation on Enter,
// the log, the selection record, and the page's two buttons.
class ExpressionPage : public QObject {
    Q_OBJECT
public:
    ExpressionPage(AppState& app, IMainWindow& main, const ExpressionControls& controls, QObject* parent);

    // The hint for the kind marker "NB.jCMD" in a sentence; nullopt leaves the hint as it is.
    static std::optional<QString> kindHint(const QString& sentence);
    // Log lines for a failed Do and a failed GetB, each ending in CR LF.
    static QString doCodeMessage(int code);
    static QString getCodeMessage(int code);

    void Text1_Change();
    void Text1_KeyPress(int& keyAscii);
    void Text1_MouseUp(int button, int shift, int x, int y);
    void Text2_MouseUp(int button, int shift, int x, int y);
    void Text1_Paste(bool& handled);
    void Command1_Click();
    // Text of several lines runs as a J script (true); one line is left to the caller (false).
    bool pasteScript(const QString& text);
    // Asks for a .ijs file and runs it as J's console runs a script with display.
    void mnuToolRunScript_Click();
    void Command2_Click();

    // The box and selection at the last mouse-up in the expression box or the log,
    // which the Edit operations act on; LastSelStart is 1-based and below 1 until then.
    TextBox* LastTextBox = nullptr;
    int LastSelStart = 0;
    int LastSelLength = 0;
    // Results shown in the log as J's console prints them.
    bool JFormat = false;

private:
    void evaluate();
    bool showInJFormat(const QString& entry);
    QString undefinedNameReport();
    void appendEntry(const QString& entry);
    void runScript(const QString& title, const QString& sentence, qint64 lines);
    void finish();
    void recordSelection(TextBox* box);

    AppState& m_app;
    IMainWindow& m_main;
    ExpressionControls m_c;
    bool m_evaluating = false;
};
