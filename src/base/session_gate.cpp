#include "base/session_gate.h"

#include "engine/j_session.h"

#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QMenu>
#include <QWidget>

namespace {

const char kBreakProperty[] = "kalvoretBreakControl";
constexpr qint64 kShowAfterMs = 500;

bool isBreakKey(const QKeyEvent* k) {
    return k->key() == Qt::Key_Escape || k->key() == Qt::Key_Pause || k->key() == Qt::Key_Cancel;
}

bool marked(const QWidget* w) {
    for (; w; w = w->parentWidget())
        if (w->property(kBreakProperty).toBool()) return true;
    return false;
}

}  // namespace

SessionGate::SessionGate(JSession& session, QObject* parent) : QObject(parent), m_session(session) {
    m_ticker.setInterval(100);
    connect(&m_ticker, &QTimer::timeout, this, &SessionGate::tick);
    connect(&session, &JSession::waitStarted, this, &SessionGate::begin);
    connect(&session, &JSession::waitFinished, this, &SessionGate::end);
}

SessionGate::~SessionGate() {
    if (m_waiting) end();
}

void SessionGate::markBreakControl(QWidget* w) { w->setProperty(kBreakProperty, true); }

QString SessionGate::statusText(qint64 elapsedMs, bool breakUnanswered) {
    if (elapsedMs < kShowAfterMs) return {};
    const QString head = QStringLiteral("Ｊ実行中… %1 秒").arg(elapsedMs / 1000);
    return head + (breakUnanswered ? QStringLiteral("（中断を求めましたが、Ｊが応答しません）")
                                   : QStringLiteral("（Esc で中断）"));
}

void SessionGate::begin() {
    m_waiting = true;
    m_clock.start();
    m_breakAt = -1;
    m_pointerShown = false;
    m_modalAtStart = QApplication::activeModalWidget();
    // A handler that set the busy pointer before calling J gets the plain one back until
    // J has run for a while.
    const QCursor* c = QApplication::overrideCursor();
    m_hadBusyPointer = c && c->shape() == Qt::WaitCursor;
    if (m_hadBusyPointer) QApplication::changeOverrideCursor(Qt::ArrowCursor);
    qApp->installEventFilter(this);
    m_ticker.start();
    emit waitingChanged(true);
}

void SessionGate::end() {
    qApp->removeEventFilter(this);
    m_ticker.stop();
    if (m_hadBusyPointer)
        QApplication::changeOverrideCursor(Qt::WaitCursor);
    else if (m_pointerShown)
        QApplication::restoreOverrideCursor();
    m_waiting = false;
    emit statusChanged(QString());
    emit waitingChanged(false);
}

void SessionGate::tick() {
    const qint64 ms = m_clock.elapsed();
    if (ms >= kShowAfterMs && !m_pointerShown) {
        m_pointerShown = true;
        if (m_hadBusyPointer)
            QApplication::changeOverrideCursor(Qt::WaitCursor);
        else
            QApplication::setOverrideCursor(Qt::WaitCursor);
    }
    const bool unanswered = m_breakAt >= 0 && ms - m_breakAt >= kBreakAnswerMs;
    // J may miss a request that lands between two of its checks; keep asking.
    if (m_breakAt >= 0 && (ms - m_breakAt) % 1000 < m_ticker.interval()) m_session.interrupt();
    const QString text = statusText(ms, unanswered);
    if (!text.isEmpty()) emit statusChanged(text);
}

void SessionGate::requestBreak() {
    if (m_breakAt < 0) m_breakAt = m_clock.elapsed();
    m_session.interrupt();
}

bool SessionGate::eventFilter(QObject* watched, QEvent* event) {
    auto* w = qobject_cast<QWidget*>(watched);
    if (!w) return false;  // window-level delivery; the widget that gets it is judged below
    // A question asked during the wait (closing the main window, say) answers normally.
    QWidget* modal = QApplication::activeModalWidget();
    if (modal && modal != m_modalAtStart && (w == modal || modal->isAncestorOf(w))) return false;

    switch (event->type()) {
        case QEvent::KeyPress:
            if (isBreakKey(static_cast<QKeyEvent*>(event))) {
                requestBreak();
                return true;
            }
            return !(qobject_cast<QMenu*>(w) && marked(w));  // moving about the menu holding Break
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::InputMethod:
            return !(qobject_cast<QMenu*>(w) && marked(w));
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::TabletPress:
        case QEvent::TabletRelease:
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop:
            return !marked(w);
        default:
            return false;
    }
}
