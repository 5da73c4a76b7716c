#include "base/j_output_text.h"

#include <QStringList>

#include <algorithm>

namespace {

const QString kCrLf = QStringLiteral("\r\n");

// J's line ends (LF) as the log's (CR LF); a last line without an end gets one.
QString withCrLf(const QString& text) {
    QString out;
    out.reserve(text.size() + text.size() / 16 + 2);
    qsizetype from = 0;
    while (from < text.size()) {
        qsizetype lf = text.indexOf(QLatin1Char('\n'), from);
        if (lf < 0) lf = text.size();
        qsizetype end = lf;
        if (end > from && text[end - 1] == QLatin1Char('\r')) --end;
        out += QStringView(text).sliced(from, end - from);
        out += kCrLf;
        from = lf + 1;
    }
    return out;
}

}  // namespace

JRendering printedRendering(const QString& text, qint64 dropped, RenderLimits limits) {
    JRendering r;
    r.inCharacters = true;
    r.text = withCrLf(text);
    r.total = r.text.size() + dropped;
    // Cut at the budget or in the first line too long to lay out, never inside a pair.
    qsizetype cut = std::min(r.text.size(), limits.chars);
    for (qsizetype lineStart = 0; lineStart < cut;) {
        qsizetype end = r.text.indexOf(kCrLf, lineStart);
        if (end < 0) end = r.text.size();
        if (end - lineStart > limits.lineChars) {
            cut = lineStart + limits.lineChars;
            break;
        }
        lineStart = end + 2;
    }
    if (cut > 0 && cut < r.text.size() && r.text[cut - 1].isHighSurrogate()) --cut;
    if (cut < r.text.size() || dropped > 0) {
        r.text.truncate(cut);
        r.truncated = true;
    }
    r.shown = r.text.size();
    return r;
}

QString printedLogText(const JRendering& r) {
    QString out = r.text;
    if (r.truncated) {
        if (!out.isEmpty() && !out.endsWith(kCrLf)) out += kCrLf;
        out += renderCutNote(r, QStringLiteral("出力")) + kCrLf;
    }
    return out;
}

JPrintedText splitJOutput(const std::vector<JOutput>& chunks, const QString& transferPrefix,
                          RenderLimits limits) {
    QString printed, report;
    qint64 dropped = 0;
    for (const JOutput& c : chunks) {
        if (c.kind == 2)
            report += c.text;
        else if (c.kind == 0)
            dropped += c.dropped;
        else
            printed += c.text;
    }
    JPrintedText out{printedRendering(printed, dropped, limits), withCrLf(report)};

    // J shows the sentence it ran with its words re-spaced: "J_Get_base_=:1    +'a'".
    QString shownPrefix = transferPrefix;
    shownPrefix.remove(QLatin1Char(' '));
    if (shownPrefix.isEmpty()) return out;
    QStringList lines = out.report.split(kCrLf);
    for (QString& line : lines) {
        if (!line.startsWith(QLatin1Char('|'))) continue;
        qsizetype at = 1;
        while (at < line.size() && line[at] == QLatin1Char(' ')) ++at;
        if (QStringView(line).sliced(at).startsWith(shownPrefix)) line.remove(at, shownPrefix.size());
    }
    out.report = lines.join(kCrLf);
    return out;
}
