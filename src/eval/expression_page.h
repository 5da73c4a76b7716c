#pragma once

#include <QObject>
#include <QString>

#include <optional>

class AppState;
class TextBox;
class frmjMain;

// The expression page of the main window: the kind hint, evaluation on Enter,
// the log, the selection record, and the page's two buttons.
class ExpressionPage : public QObject {
    Q_OBJECT
public:
    ExpressionPage(AppState& app, frmjMain& main);

    // The hint for the kind marker "NB.jCMD" in a sentence; nullopt leaves the hint as it is.
    static std::optional<QString> kindHint(const QString& sentence);
    // Log lines for a failed Do and a failed GetB, each ending in CR LF.
    static QString doCodeMessage(int code);
    static QString getCodeMessage(int code);

    void Text1_Change();
    void Text1_KeyPress(int& keyAscii);
    void Text1_MouseUp(int button, int shift, int x, int y);
    void Text2_MouseUp(int button, int shift, int x, int y);
    void Command1_Click();
    void Command2_Click();

private:
    void evaluate();
    void finish();
    void recordSelection(TextBox* box);

    AppState& m_app;
    frmjMain& m_main;
    bool m_evaluating = false;
};
