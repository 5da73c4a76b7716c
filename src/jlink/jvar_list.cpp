#include "jlink/jvar_list.h"

#include "app/app_state.h"
#include "controls/flex_grid.h"
#include "controls/mouse_pointer.h"
#include "controls/text_box.h"
#include "matrix/type_names.h"

#include <charconv>
#include <optional>

namespace {

const QString kJGet = QStringLiteral("J_Get");
const QString kStringTypeName = QStringLiteral("[文字列型]");
const QString kRenderFailure = QStringLiteral("Grid Cell 内でプログラムエラーが発生しました。");

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

// The short type name of a value type code; a refresh asks for the same few names again and again.
const QString& shortTypeName(int type) {
    static QHash<int, QString> names;
    auto it = names.constFind(type);
    if (it == names.cend()) it = names.insert(type, TypeNameShort(type));
    return *it;
}

void setCell(FlexGrid& grid, int row, int col, const QString& text) {
    // An unchanged cell is not rewritten, so a refresh repaints only what changed.
    if (grid.TextMatrix(row, col) != text) grid.setTextMatrix(row, col, text);
}

}  // namespace

qsizetype characterCount(const QString& s) {
    qsizetype lowSurrogates = 0;
    for (QChar c : s) lowSurrogates += c.isLowSurrogate() ? 1 : 0;
    return s.size() - lowSurrogates;
}

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

JRendering ShowJValue(const HostValue& v, TextBox& box, IMessageBox& msgBox) {
    JRendering r = RenderJValueLimited(v);
    box.setText(r.text);
    if (r.failed) msgBox.MsgBox(kRenderFailure, mb::OKOnly | mb::Exclamation);
    return r;
}

QString renderCutNote(const JRendering& r) {
    const QString unit = r.inCharacters ? QStringLiteral("文字") : QStringLiteral("要素");
    return QStringLiteral("※ 結果が大きすぎるため、表示を全 %1 %3のうち先頭の %2 %3で打ち切りました。")
        .arg(r.total)
        .arg(r.shown)
        .arg(unit);
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

JVarList::JVarList(AppState& app, FlexGrid& grid) : m_app(app), m_grid(grid) {}

void JVarList::InitJVarList() {
    JVarState& s = m_app.jvars;
    s.JVarTable.assign(51, JVarRecord());
    s.JValues.assign(101, HostValue());
    s.WideNames.assign(101, WideNameRecord());
    s.JCurrent = 0;
    s.WideCount = 0;
    m_rowOf.clear();

    m_grid.Clear();
    m_grid.setRows(1);
    m_grid.setCols(3);
    m_grid.setColWidth(0, 400);
    m_grid.setColWidth(1, 800);
    m_grid.setColWidth(2, 1200);
    m_grid.setColAlignment(0, 4);
    m_grid.setColAlignment(1, 1);
    m_grid.setColAlignment(2, 1);
    m_grid.setTextMatrix(0, 0, QStringLiteral("変数"));
    m_grid.setTextMatrix(0, 1, QStringLiteral("ｻｲｽﾞ"));
    m_grid.setTextMatrix(0, 2, QStringLiteral("変数型"));
}

int JVarList::rowFor(const QString& name) {
    const auto known = m_rowOf.constFind(name);
    if (known != m_rowOf.cend() && *known < m_grid.Rows() && m_grid.TextMatrix(*known, 0) == name)
        return *known;
    const int rows = m_grid.Rows();
    for (int r = 1; r < rows; ++r)
        if (m_grid.TextMatrix(r, 0) == name) {
            m_rowOf.insert(name, r);
            return r;
        }
    m_rowOf.insert(name, rows);
    m_grid.setRows(rows + 1);
    ensureSlot(rows);
    m_app.jvars.JVarTable[1].count = rows;
    return rows;
}

void JVarList::ensureSlot(int row) {
    JVarState& s = m_app.jvars;
    const auto need = static_cast<std::size_t>(row) + 1;
    // Room doubles, so a long list costs few reallocations.
    if (s.JVarTable.size() < need) s.JVarTable.resize(std::max(need, s.JVarTable.size() * 2));
    if (s.JValues.size() < need) s.JValues.resize(std::max(need, s.JValues.size() * 2));
}

bool JVarList::knownWide(const QString& name) const {
    const JVarState& s = m_app.jvars;
    for (int i = 1; i <= s.WideCount && i < static_cast<int>(s.WideNames.size()); ++i)
        if (s.WideNames[i].name == name) return true;
    return false;
}

void JVarList::rememberWide(const QString& name) {
    JVarState& s = m_app.jvars;
    const int k = s.WideCount + 1;
    if (s.WideNames.size() <= static_cast<std::size_t>(k) + 1)
        s.WideNames.resize(std::max<std::size_t>(k + 2, s.WideNames.size() * 2));
    s.WideNames[k].name = name;
    s.WideNames[k].flag = 1;
    s.WideCount = k;
    s.WideNames[1].count = k;
}

void JVarList::fillRow(int row, const QString& name, const HostValue& v, int dims) {
    JVarState& s = m_app.jvars;
    setCell(m_grid, row, 2, shortTypeName(v.type()));
    JVarRecord& rec = s.JVarTable[row];
    rec.name = name;
    rec.typeText = m_grid.TextMatrix(row, 2);
    rec.rows = 0;
    rec.cols = 0;
    if (dims == 0) {
        // A reused row must not keep the size of what the name held before.
        setCell(m_grid, row, 1,
                rec.typeText == kStringTypeName
                    ? QString::number(characterCount(*v.text())) + QStringLiteral("文字")
                    : QString());
    } else if (dims == 1) {
        rec.cols = static_cast<std::int32_t>(v.dims()[0]);
        setCell(m_grid, row, 1, QLatin1Char('(') + QString::number(v.dims()[0]) + QLatin1Char(')'));
    } else {
        rec.rows = static_cast<std::int32_t>(v.dims()[0]);
        rec.cols = static_cast<std::int32_t>(v.dims()[1]);
        setCell(m_grid, row, 1,
                QLatin1Char('(') + QString::number(v.dims()[0]) + QLatin1Char(',') +
                    QString::number(v.dims()[1]) + QLatin1Char(')'));
    }
}

void JVarList::RegisterJVariable(const QString& name) {
    if (!m_app.hasEngine()) return;
    // The noun is read by name; J_Get keeps the result of the last evaluation.
    HostValue v;
    m_app.J().GetB(name, v);
    const int d = CountDims(v);

    if (d > 2) {
        if (knownWide(name)) return;
        m_app.msgBox().MsgBox(QStringLiteral("現在のバージョンでは、扱える行列は2次元までです。\r"
                                             "したがって、Ｊで生成された変数は一般用に変換しません。\r"
                                             "Ｊコマンドでは使用できます。\r"
                                             "変数名=%1\r"
                                             "次元数=%2")
                                  .arg(name)
                                  .arg(d),
                              mb::OKOnly | mb::Exclamation);
        rememberWide(name);
        return;
    }

    const int r = rowFor(name);
    m_app.jvars.JCurrent = r;
    setCell(m_grid, r, 0, name);
    fillRow(r, name, v, d);
    m_app.jvars.JValues[r] = std::move(v);
}

void JVarList::RegisterJMatrix(const QString& name) {
    if (!m_app.hasEngine()) return;
    JVarState& s = m_app.jvars;
    if (m_grid.Rows() <= 1) s.JVarTable[1].count = 0;
    const int r = rowFor(name);
    s.JCurrent = r;
    setCell(m_grid, r, 0, name);

    HostValue v;
    m_app.J().GetB(name, v);
    if (CountDims(v) != 2) return;
    fillRow(r, name, v, 2);
    s.JValues[r] = std::move(v);
}

int JVarList::RefreshFromJ(bool matrixOnly) {
    if (!m_app.hasEngine()) return 0;
    IJEngine& j = m_app.J();
    j.Do(QStringLiteral("J_Get=. 4!:1(0)"));
    HostValue names;
    const int code = j.GetB(kJGet, names);
    if (CountDims(names) != 1) return code;

    // Fixing a matrix shows the busy pointer for the loop; an evaluation already shows it.
    std::optional<BusyPointer> busy;
    if (matrixOnly) busy.emplace();
    for (std::int64_t i = 0; i < names.count(); ++i) {
        const std::optional<QString> name = names.textAt(i);
        if (!name || *name == kJGet) continue;
        if (matrixOnly)
            RegisterJMatrix(*name);
        else
            RegisterJVariable(*name);
    }
    return code;
}
