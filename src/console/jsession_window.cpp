#include "console/jsession_window.h"

#include "engine/j_engine.h"

#include <QFont>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

JSessionWindow::JSessionWindow(IJEngine& engine, QWidget* parent)
    : QWidget(parent), m_engine(engine), m_view(new QPlainTextEdit(this)), m_input(new QLineEdit(this)) {
    setObjectName(QStringLiteral("jsession"));
    setWindowTitle(QStringLiteral("J セッション (kalvoret-jsession)"));
    m_view->setObjectName(QStringLiteral("SessionLog"));
    m_view->setReadOnly(true);
    m_view->setAccessibleName(QStringLiteral("J の出力"));
    m_input->setObjectName(QStringLiteral("SessionInput"));
    m_input->setAccessibleName(QStringLiteral("J の文"));
    QFont f(QStringLiteral("ＭＳ ゴシック"));
    f.setPointSize(10);
    m_view->setFont(f);
    m_input->setFont(f);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(m_view, 1);
    layout->addWidget(m_input);
    resize(640, 400);
    connect(m_input, &QLineEdit::returnPressed, this, [this] {
        const QString s = m_input->text();
        m_input->clear();
        m_log = true;  // once the user types, the session shows its log
        run(s);
    });
}

bool JSessionWindow::command(const QString& line) {
    const JSessionCommand c = parseSessionCommand(line);
    switch (c.kind) {
        case JSessionCommand::Kind::Quit:
            m_quitWithParent = true;
            return true;
        case JSessionCommand::Kind::Do:
            run(c.sentence);
            return true;
        case JSessionCommand::Kind::Show:
            setVisible(c.number != 0);
            if (c.number != 0) {
                raise();
                activateWindow();
                m_input->setFocus();
            }
            return true;
        case JSessionCommand::Kind::Log:
            m_log = c.number != 0;
            return true;
        case JSessionCommand::Kind::Invalid:
            break;
    }
    return false;
}

void JSessionWindow::parentGone() {
    // A hidden session nobody can reach ends too.
    if (m_quitWithParent || isHidden()) emit finished();
}

void JSessionWindow::run(const QString& sentence) {
    if (m_log) jOutput(3, QStringLiteral("   ") + sentence + QLatin1Char('\n'));
    m_engine.Do(sentence);
}

void JSessionWindow::jOutput(int kind, const QString& text) {
    if (kind == 5) {  // the user asked J to exit
        emit finished();
        return;
    }
    if (!m_log || text.isEmpty()) return;
    QTextCursor c(m_view->document());
    c.movePosition(QTextCursor::End);
    c.insertText(text.endsWith(QLatin1Char('\n')) ? text : text + QLatin1Char('\n'));
    m_view->ensureCursorVisible();
}

QString JSessionWindow::logText() const { return m_view->toPlainText(); }
