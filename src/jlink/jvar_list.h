#pragma once

#include "jlink/host_value.h"

#include <QHash>
#include <QString>

#include <cstdint>
#include <optional>

class AppState;
class FlexGrid;
class IMessageBox;
class TextBox;

// Where a rendering is cut so that the log and the result box stay usable. The text
// widgets lay out and paint a whole line at a time, so a line costs in proportion to
// its length; i. 1000 1000 (about 6.9 million characters in lines of about 6,900)
// still shows in full.
struct RenderLimits {
    qsizetype chars = 16'000'000;
    qsizetype lineChars = 200'000;
};
inline constexpr qsizetype kMaxRenderedChars = RenderLimits{}.chars;
inline constexpr qsizetype kMaxRenderedLineChars = RenderLimits{}.lineChars;

// The longest sentence a one-line box for J takes; a plain line edit would stop at 32767
// and send J a silently shortened sentence.
inline constexpr int kMaxSentenceChars = 1'000'000;

// The text form of a value read from J, as far as it could be made.
struct JRendering {
    QString text;
    bool failed = false;        // an element had no text form; text is what came before it
    bool truncated = false;     // stopped at the size limit; text is the part before the cut
    bool inCharacters = false;  // the counts below are characters of one string, not elements
    std::int64_t shown = 0;     // elements (or characters) in text
    std::int64_t total = 0;     // elements (or characters) in the value
};

// Rendering of a value read from J as text: a blank before every element, CR LF
// after every row, an extra CR LF between planes; nothing for 4 or more
// dimensions; in a list, an element equal to "J_Get" is left out. Stops at
// the limits (at an element boundary).
JRendering RenderJValueLimited(const HostValue& v, RenderLimits limits = {});

// The whole rendering; nullopt when an element has no text form or the text would
// pass QString's practical size, in which case `partial` gets what was made.
std::optional<QString> RenderJValue(const HostValue& v, QString* partial = nullptr);

// Replaces the box's text by the rendering of the value (cut at the default limits);
// a failure is reported with a message box and leaves what was written so far.
JRendering ShowJValue(const HostValue& v, TextBox& box, IMessageBox& msgBox);

// The line a log gets when a rendering was cut, without its line end.
QString renderCutNote(const JRendering& r);
// What a log shows for a rendering: its text and CR LF, with the cut note on a line
// of its own and an empty line after it when the rendering was cut.
QString renderedLogText(const JRendering& r);

// Number of characters (code points) of a string, as the list's size column counts them.
qsizetype characterCount(const QString& s);

// The J variable list (grid MSFlexGrid2 on the main window) and its tables in
// app.jvars. The tables grow past their first 50 rows and 100 wide names.
class JVarList {
public:
    JVarList(AppState& app, FlexGrid& grid);

    void InitJVarList();
    void RegisterJVariable(const QString& name);
    void RegisterJMatrix(const QString& name);

    // Reads J's noun names into J_Get and registers every one but J_Get, as the
    // evaluation (matrixOnly false) or the fixing of a matrix (true) does.
    // Returns the code of the last engine call.
    int RefreshFromJ(bool matrixOnly);

private:
    // The list row holding name, added at the end when there is none.
    int rowFor(const QString& name);
    void ensureSlot(int row);
    void fillRow(int row, const QString& name, const HostValue& v, int dims);
    bool knownWide(const QString& name) const;
    void rememberWide(const QString& name);

    AppState& m_app;
    FlexGrid& m_grid;
    // Where each name was last found; checked against the grid before it is trusted.
    QHash<QString, int> m_rowOf;
};
