#pragma once

#include "base/j_rendering.h"

#include <QWidget>

class IMessageBox;
class QKeyEvent;
class QLineEdit;
class QPlainTextEdit;
class SentenceHistory;

// A text box as the windows use it: its text keeps CR LF line ends (the editor
// shows plain line breaks), selection positions count those two characters, and
// Change, KeyPress and MouseUp events arrive as the classic controls raise them.
class TextBox : public QWidget {
    Q_OBJECT
public:
    enum class Mode { SingleLine, MultiLine };

    explicit TextBox(Mode mode = Mode::SingleLine, QWidget* parent = nullptr);

    QString Text() const;
    void setText(const QString& text);
    // The same as setText(Text() + text), without copying or re-laying out the old text.
    void appendText(const QString& text);

    int SelStart() const;
    int SelLength() const;
    QString SelText() const;
    // Setting the start collapses the selection, as the classic box does.
    void setSelStart(int start);
    void setSelLength(int length);
    void selectAll() { setSelStart(0), setSelLength(static_cast<int>(Text().size())); }

    void SetFocus();
    // The name goes to the editor as well, which is what a screen reader meets.
    void setAccessibleName(const QString& name);
    void setFontName(const QString& family, int pointSize);
    void setLocked(bool locked);
    bool isMultiLine() const { return m_plain != nullptr; }
    QWidget* editor() const;
    // A single-line box with a history: Up and Down show older and newer sentences, and
    // Enter adds the text to the history before KeyPress is raised. Null ends that.
    void setHistory(SentenceHistory* history) { m_history = history; }

signals:
    void Change();
    // Character keys and Enter (13); setting the code to 0 swallows the key.
    void KeyPress(int& keyAscii);
    // button: 1 left, 2 right, 4 middle; shift: 1 Shift, 2 Ctrl, 4 Alt; x, y in twips.
    void MouseUp(int button, int shift, int x, int y);
    // The paste key in a one-line box; setting handled keeps the editor's own paste out.
    void Paste(bool& handled);
    void GotFocus();
    void LostFocus();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int toWidgetPos(int pos) const;
    int fromWidgetPos(int pos) const;
    int widgetLength() const;
    void syncFromWidget() const;

    bool browseHistory(const QKeyEvent& key);

    QLineEdit* m_line = nullptr;
    QPlainTextEdit* m_plain = nullptr;
    SentenceHistory* m_history = nullptr;
    mutable QString m_text;        // the kept text (multi-line boxes)
    mutable bool m_stale = false;  // the user edited the widget since m_text was last built
    bool m_settingText = false;
};

// Replaces the box's text by the rendering of the value (cut at the default limits);
// a failure is reported with a message box and leaves what was written so far.
JRendering ShowJValue(const HostValue& v, TextBox& box, IMessageBox& msgBox);
