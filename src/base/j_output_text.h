#pragma once

#include "base/j_rendering.h"
#include "engine/j_engine.h"

#include <vector>

// What J printed during one entry, ready for a log: every line ends in CR LF.
struct JPrintedText {
    JRendering printed;  // what the sentence printed, in order (results of a script included)
    QString report;      // J's error report
};

// Splits J's output into what was printed and J's error report. In the report's pointer
// line the transfer assignment the program put before the user's sentence (for example
// "J_Get_base_=: ") is taken out, so that the line shows the sentence as typed. What was
// printed is cut at the limits, as a rendering in characters.
JPrintedText splitJOutput(const std::vector<JOutput>& chunks, const QString& transferPrefix,
                          RenderLimits limits = {});

// Text J printed (LF line ends), as a rendering in characters with CR LF line ends, cut at
// the limits; `dropped` characters that J printed beyond the kept text count in the total.
JRendering printedRendering(const QString& text, qint64 dropped = 0, RenderLimits limits = {});

// What a log shows for printed output: its text, and the cut note on a line of its own.
QString printedLogText(const JRendering& r);
