#include "base/j_rendering.h"

#include <charconv>

namespace {

const QString kJGet = QStringLiteral("J_Get");

// QString cannot grow much past 2^30 characters; an uncut rendering stops well before.
constexpr qsizetype kWholeRenderingCeiling = 256'000'000;

// Writes the text of one value into a single reserved string, element by element,
// without a temporary string per number.
class Renderer {
public:
    Renderer(const HostValue& v, RenderLimits limits)
        : m_max(limits.chars),
          m_maxLine(limits.lineChars),
          m_booleans(v.booleans()),
          m_longs(v.longs()),
          m_doubles(v.doubles()),
          m_strings(v.strings()),
          m_variants(v.variants()) {
        const qsizetype perElement = m_longs || m_booleans ? 8 : 12;
        const double estimate = static_cast<double>(v.count()) * perElement;
        out.reserve(static_cast<qsizetype>(std::min<double>(estimate, static_cast<double>(m_max) + 2)));
    }

    // A blank and element i; false once the rendering has to stop.
    bool element(std::int64_t i, bool skipJGet) {
        if (m_longs) {
            char buf[24];
            buf[0] = ' ';
            const auto res = std::to_chars(buf + 1, buf + sizeof buf, (*m_longs)[i]);
            return put(QLatin1StringView(buf, res.ptr - buf));
        }
        if (m_booleans) return put(QLatin1StringView((*m_booleans)[i] ? " 1" : " 0", 2));
        if (m_doubles) return putText(generalNumberText((*m_doubles)[i]));
        if (m_strings) {
            const QString& s = (*m_strings)[i];
            return skipJGet && s == kJGet ? true : putText(s);
        }
        if (m_variants) {
            const std::optional<QString> t = (*m_variants)[i].text();
            if (!t) {
                failed = true;  // a box holding an array has no text form
                return false;
            }
            return skipJGet && *t == kJGet ? true : putText(*t);
        }
        return putText(QString());
    }

    bool lineEnd() {
        if (out.size() + 2 > m_max) return stop();
        out.append(QLatin1StringView("\r\n", 2));
        m_lineStart = out.size();
        return true;
    }

    QString out;
    bool failed = false;
    bool truncated = false;
    std::int64_t shown = 0;

private:
    bool fits(qsizetype n) const {
        return out.size() + n <= m_max && out.size() - m_lineStart + n <= m_maxLine;
    }
    bool put(QLatin1StringView s) {
        if (!fits(s.size())) return stop();
        out.append(s);
        ++shown;
        return true;
    }
    bool putText(const QString& s) {
        if (!fits(1 + s.size())) return stop();
        out.append(QLatin1Char(' '));
        out.append(s);
        ++shown;
        return true;
    }
    bool stop() {
        truncated = true;
        return false;
    }

    qsizetype m_max;
    qsizetype m_maxLine;
    qsizetype m_lineStart = 0;
    const HostValue::Booleans* m_booleans;
    const HostValue::Longs* m_longs;
    const HostValue::Doubles* m_doubles;
    const HostValue::Strings* m_strings;
    const HostValue::Variants* m_variants;
};

// Where a string has to be cut for the limits; its size when it fits. Never between
// the halves of a surrogate pair.
qsizetype cutPosition(const QString& t, RenderLimits limits) {
    qsizetype cut = std::min(t.size(), limits.chars);
    qsizetype lineStart = 0;
    for (qsizetype i = 0; i < cut; ++i) {
        if (t[i] == u'\n') {
            lineStart = i + 1;
        } else if (i - lineStart >= limits.lineChars) {
            cut = i;
            break;
        }
    }
    if (cut < t.size() && cut > 0 && t[cut - 1].isHighSurrogate()) --cut;
    return cut;
}

JRendering renderScalar(const HostValue& v, RenderLimits limits) {
    JRendering r;
    r.total = r.shown = v.isEmpty() ? 0 : 1;
    std::optional<QString> t = v.text();
    if (!t) {
        r.failed = true;
        r.shown = 0;
        return r;
    }
    const qsizetype cut = cutPosition(*t, limits);
    if (cut == t->size()) {
        r.text = std::move(*t);
        return r;
    }
    r.text = t->left(cut);
    r.truncated = true;
    r.inCharacters = true;
    r.shown = characterCount(r.text);
    r.total = characterCount(*t);
    return r;
}

}  // namespace

JRendering RenderJValueLimited(const HostValue& v, RenderLimits limits) {
    const int n = CountDims(v);
    if (n == 0) return renderScalar(v, limits);

    JRendering r;
    r.total = v.count();
    if (n >= 4) return r;

    Renderer w(v, limits);
    const std::vector<std::int64_t>& d = v.dims();
    [&] {
        if (n == 1) {
            for (std::int64_t i = 0; i < d[0]; ++i)
                if (!w.element(i, true)) return;
        } else if (n == 2) {
            for (std::int64_t i = 0; i < d[0]; ++i) {
                for (std::int64_t j = 0; j < d[1]; ++j)
                    if (!w.element(i * d[1] + j, false)) return;
                if (!w.lineEnd()) return;
            }
        } else {
            for (std::int64_t i = 0; i < d[0]; ++i) {
                for (std::int64_t j = 0; j < d[1]; ++j) {
                    for (std::int64_t k = 0; k < d[2]; ++k)
                        if (!w.element((i * d[1] + j) * d[2] + k, false)) return;
                    if (!w.lineEnd()) return;
                }
                if (!w.lineEnd()) return;
            }
        }
    }();
    r.text = std::move(w.out);
    r.failed = w.failed;
    r.truncated = w.truncated;
    r.shown = w.shown;
    return r;
}

std::optional<QString> RenderJValue(const HostValue& v, QString* partial) {
    JRendering r = RenderJValueLimited(v, {kWholeRenderingCeiling, kWholeRenderingCeiling});
    if (r.failed || r.truncated) {
        if (partial) *partial = std::move(r.text);
        return std::nullopt;
    }
    return std::move(r.text);
}

QString renderCutNote(const JRendering& r, const QString& what) {
    const QString unit = r.inCharacters ? QStringLiteral("文字") : QStringLiteral("要素");
    return QStringLiteral("※ %4が大きすぎるため、表示を全 %1 %3のうち先頭の %2 %3で打ち切りました。")
        .arg(r.total)
        .arg(r.shown)
        .arg(unit, what);
}

QString renderedLogText(const JRendering& r) {
    const QString crLf = QStringLiteral("\r\n");
    QString out;
    out.reserve(r.text.size() + (r.truncated ? 100 : 2));
    out += r.text;
    if (r.truncated) {
        if (!out.isEmpty() && !out.endsWith(crLf)) out += crLf;
        out += renderCutNote(r);
        out += crLf;
    }
    out += crLf;
    return out;
}
