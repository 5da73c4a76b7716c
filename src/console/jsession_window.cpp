#include "console/jsession_window.h"

#include "base/ports.h"
#include "base/screen_fit.h"
#include "engine/j_engine.h"

#include <QCloseEvent>
#include <QFont>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const QString kSection = QStringLiteral("Settings");
const QString kKeys[4] = {QStringLiteral("JSessionLeft"), QStringLiteral("JSessionTop"),
                          QStringLiteral("JSessionWidth"), QStringLiteral("JSessionHeight")};

// The engine's version line, as J's own session starts with it.
QString versionLine(IJEngine& engine) {
    const QString name = QStringLiteral("kalvoret_version_base_");
    HostValue v;
    QString line = QStringLiteral("J");
    if (engine.Do(name + QStringLiteral("=: 9!:14 ''")) == 0 && engine.GetB(name, v) == 0)
        line = v.text().value_or(line);
    engine.Do(QStringLiteral("4!:55 <'") + name + QLatin1Char('\''));
    return line;
}

}  // namespace

JSessionWindow::JSessionWindow(IJEngine& engine, ISettings* settings, QWidget* parent)
    : QWidget(parent),
      m_engine(engine),
      m_settings(settings),
      m_view(new QPlainTextEdit(this)),
      m_input(new QLineEdit(this)) {
    setObjectName(QStringLiteral("jsession"));
    setWindowTitle(QStringLiteral("J セッション (kalvoret-jsession)"));
    m_view->setObjectName(QStringLiteral("SessionLog"));
    m_view->setReadOnly(true);
    m_view->setAccessibleName(QStringLiteral("J の出力"));
    m_input->setObjectName(QStringLiteral("SessionInput"));
    m_input->setAccessibleName(QStringLiteral("J の文"));
    m_input->setPlaceholderText(QStringLiteral("J の文を入力して Enter"));
    QFont f(QStringLiteral("ＭＳ ゴシック"));
    f.setPointSize(10);
    m_view->setFont(f);
    m_input->setFont(f);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(m_view, 1);
    layout->addWidget(m_input);
    resize(640, 400);
    restoreRect();
    append(versionLine(m_engine));
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
    if (m_quitWithParent || isHidden()) {
        if (isVisible()) saveRect();
        emit finished();
    }
}

void JSessionWindow::run(const QString& sentence) {
    if (m_log) jOutput(3, QStringLiteral("   ") + sentence + QLatin1Char('\n'));
    m_engine.Do(sentence);
}

void JSessionWindow::jOutput(int kind, const QString& text) {
    if (kind == 5) {  // the user asked J to exit
        if (isVisible()) saveRect();
        emit finished();
        return;
    }
    if (!m_log || text.isEmpty()) return;
    append(text);
}

void JSessionWindow::append(const QString& text) {
    QTextCursor c(m_view->document());
    c.movePosition(QTextCursor::End);
    c.insertText(text.endsWith(QLatin1Char('\n')) ? text : text + QLatin1Char('\n'));
    m_view->ensureCursorVisible();
}

void JSessionWindow::restoreRect() {
    if (!m_settings) return;
    double v[4];
    for (int i = 0; i < 4; ++i) {
        v[i] = m_settings->GetNumber(kSection, kKeys[i], -1.0e9);
        if (v[i] < -1.0e6 || v[i] > 1.0e6) return;  // none kept yet, or not a number to trust
    }
    std::size_t primary = 0;
    const TwipsRect r =
        fitOnScreens({int(v[0]), int(v[1]), std::max(int(v[2]), 1500), std::max(int(v[3]), 1500)},
                     screenAreas(&primary), primary);
    move(twipsToPixels(r.left), twipsToPixels(r.top));
    resize(twipsToPixels(r.width), twipsToPixels(r.height));
}

void JSessionWindow::saveRect() const {
    if (!m_settings || isMinimized()) return;
    const int values[4] = {pixelsToTwips(pos().x()), pixelsToTwips(pos().y()), pixelsToTwips(width()),
                           pixelsToTwips(height())};
    for (int i = 0; i < 4; ++i) m_settings->SaveSetting(kSection, kKeys[i], QString::number(values[i]));
}

void JSessionWindow::closeEvent(QCloseEvent* e) {
    saveRect();
    QWidget::closeEvent(e);
}

QString JSessionWindow::logText() const { return m_view->toPlainText(); }
