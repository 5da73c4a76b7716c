#pragma once

#include "engine/host_value.h"

#include <QString>

#include <cstdint>
#include <optional>

// Where a rendering is cut so that the log and the result box stay usable. The text
// widgets lay out and paint a whole line at a time, so a line costs in proportion to
// its length; i. 1000 1000 (about 6.9 million characters in lines of about 6,900)
// still shows in full.
struct RenderLimits {
    qsizetype chars = 16'000'000;
    qsizetype lineChars = 200'000;
};
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

// The line a log gets when a rendering was cut, without its line end; `what` names what
// was cut (a result, or printed output).
QString renderCutNote(const JRendering& r, const QString& what = QStringLiteral("結果"));
// What a log shows for a rendering: its text and CR LF, with the cut note on a line
// of its own and an empty line after it when the rendering was cut.
QString renderedLogText(const JRendering& r);
