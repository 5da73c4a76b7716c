#include "controls/text_box.h"

#include "base/ports.h"
#include "base/sentence_history.h"
#include "base/vb_units.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextDocumentLayout>
#include <QPlainTextEdit>
#include <QSyntaxHighlighter>
#include <QTextBlock>
#include <QVBoxLayout>

#include <optional>

namespace {

// The block state of a line holding J's box-drawing characters.
constexpr int kBoxLine = 1;

// The IPA Gothic fonts draw "_" in the last pixel row of a line, or below it, where it
// runs into the line underneath: J's _1 and _ then read badly. Each line gets a few more
// pixel rows below it (the boxes do not wrap: a block is a line); the glyphs themselves,
// Japanese included, are drawn as before.
class SpacedLineLayout final : public QPlainTextDocumentLayout {
public:
    using QPlainTextDocumentLayout::QPlainTextDocumentLayout;

    QRectF blockBoundingRect(const QTextBlock& block) const override {
        QRectF r = QPlainTextDocumentLayout::blockBoundingRect(block);
        // Box lines stay close, so that J's boxes are drawn without breaks.
        if (block.isVisible() && block.userState() != kBoxLine)
            r.setHeight(r.height() + gap() * block.layout()->lineCount());
        return r;
    }

private:
    int gap() const {
        const QFont f = document()->defaultFont();
        if (f != m_font) {
            m_font = f;
            m_gap = qRound(0.15 * QFontMetricsF(f).lineSpacing());
        }
        return m_gap;
    }
    mutable std::optional<QFont> m_font;
    mutable int m_gap = 0;
};

// J draws boxes with box-drawing characters and counts each as one column, as it counts
// a letter. The Japanese fonts draw them full width; at half width they line up again.
class HalfWidthBoxDrawing final : public QSyntaxHighlighter {
public:
    using QSyntaxHighlighter::QSyntaxHighlighter;

protected:
    void highlightBlock(const QString& text) override {
        QTextCharFormat half;
        half.setFontStretch(50);
        setCurrentBlockState(0);
        for (qsizetype i = 0; i < text.size();) {
            if (!isBoxDrawing(text[i])) {
                ++i;
                continue;
            }
            qsizetype end = i + 1;
            while (end < text.size() && isBoxDrawing(text[end])) ++end;
            setFormat(static_cast<int>(i), static_cast<int>(end - i), half);
            setCurrentBlockState(kBoxLine);
            i = end;
        }
    }

private:
    static bool isBoxDrawing(QChar c) { return c.unicode() >= 0x2500 && c.unicode() <= 0x257F; }
};

}  // namespace

TextBox::TextBox(Mode mode, QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    QWidget* ed;
    if (mode == Mode::SingleLine) {
        m_line = new QLineEdit(this);
        connect(m_line, &QLineEdit::textChanged, this, [this] { emit Change(); });
        ed = m_line;
    } else {
        m_plain = new QPlainTextEdit(this);
        auto* doc = new QTextDocument(m_plain);
        doc->setDocumentLayout(new SpacedLineLayout(doc));
        m_plain->setDocument(doc);
        doc->setDefaultFont(m_plain->font());
        m_plain->setLineWrapMode(QPlainTextEdit::NoWrap);
        m_plain->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        m_plain->setUndoRedoEnabled(false);
        new HalfWidthBoxDrawing(m_plain->document());
        connect(m_plain, &QPlainTextEdit::textChanged, this, [this] {
            if (!m_settingText) m_stale = true;
            emit Change();
        });
        m_plain->viewport()->installEventFilter(this);
        ed = m_plain;
    }
    ed->installEventFilter(this);
    setFocusProxy(ed);
    layout->addWidget(ed);
}

QWidget* TextBox::editor() const { return m_line ? static_cast<QWidget*>(m_line) : m_plain; }

void TextBox::syncFromWidget() const {
    if (!m_stale) return;
    m_text = m_plain->toPlainText();
    m_text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    m_stale = false;
}

QString TextBox::Text() const {
    if (m_line) return m_line->text();
    syncFromWidget();
    return m_text;
}

void TextBox::setText(const QString& text) {
    if (m_line) {
        m_line->setText(text);
        return;
    }
    m_text = text;
    m_stale = false;
    m_settingText = true;
    m_plain->setPlainText(toDisplayText(text));
    m_settingText = false;
}

void TextBox::appendText(const QString& text) {
    if (text.isEmpty()) return;
    if (m_line) {
        m_line->setText(m_line->text() + text);
        return;
    }
    syncFromWidget();
    m_text += text;
    m_settingText = true;
    QTextCursor c(m_plain->document());
    c.movePosition(QTextCursor::End);
    c.insertText(toDisplayText(text));
    m_settingText = false;
}

int TextBox::widgetLength() const {
    return m_line ? static_cast<int>(m_line->text().size()) : m_plain->document()->characterCount() - 1;
}

// Kept-text position -> editor position: CR LF is one line break in the editor.
int TextBox::toWidgetPos(int pos) const {
    if (m_line) return pos;
    syncFromWidget();
    pos = std::clamp(pos, 0, static_cast<int>(m_text.size()));
    int w = 0;
    for (int i = 0; i < pos; ++i, ++w)
        if (m_text[i] == u'\r' && i + 1 < m_text.size() && m_text[i + 1] == u'\n') ++i;
    return w;
}

int TextBox::fromWidgetPos(int pos) const {
    if (m_line) return pos;
    syncFromWidget();
    int i = 0;
    for (int w = 0; w < pos && i < m_text.size(); ++w, ++i)
        if (m_text[i] == u'\r' && i + 1 < m_text.size() && m_text[i + 1] == u'\n') ++i;
    return i;
}

int TextBox::SelStart() const {
    if (m_line) return m_line->hasSelectedText() ? m_line->selectionStart() : m_line->cursorPosition();
    const QTextCursor c = m_plain->textCursor();
    return fromWidgetPos(c.selectionStart());
}

int TextBox::SelLength() const {
    if (m_line) return static_cast<int>(m_line->selectedText().size());
    const QTextCursor c = m_plain->textCursor();
    return fromWidgetPos(c.selectionEnd()) - fromWidgetPos(c.selectionStart());
}

QString TextBox::SelText() const { return Text().mid(SelStart(), SelLength()); }

void TextBox::setSelStart(int start) {
    if (m_line) {
        m_line->setCursorPosition(std::clamp(start, 0, static_cast<int>(m_line->text().size())));
        return;
    }
    QTextCursor c = m_plain->textCursor();
    c.setPosition(std::clamp(toWidgetPos(start), 0, widgetLength()));
    m_plain->setTextCursor(c);
}

void TextBox::setSelLength(int length) {
    const int start = SelStart();
    if (m_line) {
        m_line->setSelection(start, std::clamp(length, 0, static_cast<int>(m_line->text().size()) - start));
        return;
    }
    QTextCursor c = m_plain->textCursor();
    c.setPosition(toWidgetPos(start));
    c.setPosition(std::clamp(toWidgetPos(start + std::max(0, length)), 0, widgetLength()),
                  QTextCursor::KeepAnchor);
    m_plain->setTextCursor(c);
}

void TextBox::setAccessibleName(const QString& name) {
    QWidget::setAccessibleName(name);
    editor()->setAccessibleName(name);
}

void TextBox::SetFocus() {
    if (QWidget* w = window()) w->activateWindow();
    editor()->setFocus(Qt::OtherFocusReason);
}

void TextBox::setFontName(const QString& family, int pointSize) {
    QFont f = editor()->font();
    f.setFamily(family);
    f.setPointSize(pointSize);
    editor()->setFont(f);
}

void TextBox::setLocked(bool locked) {
    if (m_line)
        m_line->setReadOnly(locked);
    else
        m_plain->setReadOnly(locked);
}

bool TextBox::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::KeyPress: {
            if (watched != editor()) break;
            auto* k = static_cast<QKeyEvent*>(event);
            if (browseHistory(*k)) return true;
            if (m_line && k->matches(QKeySequence::Paste)) {
                bool handled = false;
                emit Paste(handled);
                if (handled) return true;
            }
            int code = 0;
            if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter)
                code = 13;
            else if (k->key() == Qt::Key_Backspace)
                code = 8;
            else if (k->key() == Qt::Key_Escape)
                code = 27;
            else if (!k->text().isEmpty() && k->text()[0].isPrint())
                code = k->text()[0].unicode();
            if (code == 0) break;
            if (code == 13 && m_history && m_line) m_history->add(m_line->text());
            emit KeyPress(code);
            if (code == 0) return true;
            // Enter has no effect of its own in a single-line box.
            if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) return m_line != nullptr;
            break;
        }
        case QEvent::MouseButtonRelease: {
            auto* m = static_cast<QMouseEvent*>(event);
            // Let the editor finish its own selection first, then report it.
            QWidget* target = static_cast<QWidget*>(watched);
            target->removeEventFilter(this);
            QCoreApplication::sendEvent(target, event);
            target->installEventFilter(this);
            const QPoint p = m->position().toPoint();
            emit MouseUp(vbMouseButton(m->button()), vbShiftState(m->modifiers()), pixelsToTwips(p.x()),
                         pixelsToTwips(p.y()));
            return true;
        }
        case QEvent::FocusIn:
            if (watched != editor()) break;
            // The boxes share one history: each starts browsing afresh.
            if (m_history) m_history->resetBrowsing();
            emit GotFocus();
            break;
        case QEvent::FocusOut:
            if (watched == editor()) emit LostFocus();
            break;
        default:
            break;
    }
    return QWidget::eventFilter(watched, event);
}

bool TextBox::browseHistory(const QKeyEvent& k) {
    // A single-line box has no use of its own for Up and Down.
    if (!m_history || !m_line || (k.modifiers() & ~Qt::KeypadModifier)) return false;
    std::optional<QString> shown;
    if (k.key() == Qt::Key_Up)
        shown = m_history->older(m_line->text());
    else if (k.key() == Qt::Key_Down)
        shown = m_history->newer();
    else
        return false;
    if (shown) m_line->setText(*shown);
    return true;
}

JRendering ShowJValue(const HostValue& v, TextBox& box, IMessageBox& msgBox) {
    JRendering r = RenderJValueLimited(v);
    box.setText(r.text);
    if (r.failed)
        msgBox.MsgBox(QStringLiteral("Grid Cell 内でプログラムエラーが発生しました。"),
                      mb::OKOnly | mb::Exclamation);
    return r;
}
