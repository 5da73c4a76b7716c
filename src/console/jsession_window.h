#pragma once

#include "console/jsession_command.h"

#include <QWidget>

class IJEngine;
class QLineEdit;
class QPlainTextEdit;

// The window of a separate J session: what J prints, and a line to type
// sentences into. Commands from the program that started it arrive as lines.
class JSessionWindow : public QWidget {
    Q_OBJECT
public:
    explicit JSessionWindow(IJEngine& engine, QWidget* parent = nullptr);

    // Carries out one command line; false for a line that is not a command.
    bool command(const QString& line);
    // The program that started the session has gone (its end of our input closed).
    void parentGone();
    // J's output, as it arrives.
    void jOutput(int kind, const QString& text);

    bool quitsWithParent() const { return m_quitWithParent; }
    bool logging() const { return m_log; }
    QString logText() const;

signals:
    void finished();

private:
    void run(const QString& sentence);

    IJEngine& m_engine;
    QPlainTextEdit* m_view;
    QLineEdit* m_input;
    bool m_quitWithParent = false;
    bool m_log = false;
};
