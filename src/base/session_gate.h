#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

class JSession;
class QWidget;

// The log line for a sentence stopped by Break, and the codes J answers it with
// (attention interrupt, break).
inline const QString kBreakLine = QStringLiteral("※ 実行を中断しました。");
inline bool isBreakCode(int code) { return code == 1 || code == 2; }

// While the UI thread waits for a long J call, the gate keeps user input out of every
// window but lets Break in: Esc or Ctrl+Break anywhere, and clicks on the controls marked
// as break controls (markBreakControl). From half a second on it shows the busy pointer
// and reports how long J has run.
class SessionGate : public QObject {
    Q_OBJECT
public:
    explicit SessionGate(JSession& session, QObject* parent = nullptr);
    ~SessionGate() override;

    // A widget that takes mouse input while J runs (the Break button, the menu holding Break).
    static void markBreakControl(QWidget* w);

    bool waiting() const { return m_waiting; }
    // The status line for a wait of this many milliseconds; empty before half a second.
    static QString statusText(qint64 elapsedMs, bool breakUnanswered);

    // Asks the running sentence to stop, and keeps asking until J answers.
    void requestBreak();

    // How long J may take to answer Break before the status line says it does not.
    static constexpr qint64 kBreakAnswerMs = 5000;

signals:
    void waitingChanged(bool waiting);
    void statusChanged(const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void begin();
    void end();
    void tick();

    JSession& m_session;
    bool m_waiting = false;
    QElapsedTimer m_clock;
    qint64 m_breakAt = -1;  // when Break was asked for, on m_clock
    QTimer m_ticker;
    bool m_pointerShown = false;
    bool m_hadBusyPointer = false;
    QPointer<QWidget> m_modalAtStart;
};
