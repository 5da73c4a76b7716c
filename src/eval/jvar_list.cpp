#include "eval/jvar_list.h"

#include "base/app_state.h"
#include "base/mouse_pointer.h"
#include "controls/flex_grid.h"
#include "engine/j_noun_info.h"
#include "matrix/type_names.h"

#include <optional>

namespace {

const QString kJGet = QStringLiteral("J_Get");
const QString kConsoleGet = QStringLiteral("JGet");  // the console's transfer noun
// Where the refresh leaves J's description of the nouns: a locale of the program's own.
constexpr char kInfoName[] = "info_kalvoret_";
const QString kStringTypeName = QStringLiteral("[文字列型]");

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

JVarList::JVarList(AppState& app, FlexGrid& grid) : m_app(app), m_grid(grid) {}

void JVarList::InitJVarList() {
    JVarState& s = m_app.jvars;
    s.JVarTable.assign(51, JVarRecord());
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

void JVarList::fillRow(int row, const QString& name, const NounInfo& info) {
    JVarState& s = m_app.jvars;
    setCell(m_grid, row, 2, shortTypeName(info.type));
    JVarRecord& rec = s.JVarTable[row];
    rec.name = name;
    rec.typeText = m_grid.TextMatrix(row, 2);
    rec.rows = 0;
    rec.cols = 0;
    const std::vector<std::int64_t>& d = info.dims;
    if (d.empty()) {
        // A reused row must not keep the size of what the name held before.
        setCell(m_grid, row, 1,
                rec.typeText == kStringTypeName ? QString::number(info.chars) + QStringLiteral("文字")
                                                : QString());
    } else if (d.size() == 1) {
        rec.cols = static_cast<std::int32_t>(d[0]);
        setCell(m_grid, row, 1, QLatin1Char('(') + QString::number(d[0]) + QLatin1Char(')'));
    } else {
        rec.rows = static_cast<std::int32_t>(d[0]);
        rec.cols = static_cast<std::int32_t>(d[1]);
        setCell(m_grid, row, 1,
                QLatin1Char('(') + QString::number(d[0]) + QLatin1Char(',') + QString::number(d[1]) +
                    QLatin1Char(')'));
    }
}

NounInfo JVarList::readInfo(const QString& name) {
    // The noun is read by name; J_Get keeps the result of the last evaluation.
    HostValue v;
    m_app.J().GetB(name, v);
    return nounInfoOf(v);
}

void JVarList::RegisterJVariable(const QString& name) {
    if (m_app.hasEngine()) registerVariable(name, readInfo(name));
}

void JVarList::registerVariable(const QString& name, const NounInfo& info) {
    const int d = static_cast<int>(info.dims.size());
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
    fillRow(r, name, info);
}

void JVarList::RegisterJMatrix(const QString& name) {
    if (m_app.hasEngine()) registerMatrix(name, [&] { return readInfo(name); });
}

void JVarList::registerMatrix(const QString& name, const std::function<NounInfo()>& info) {
    JVarState& s = m_app.jvars;
    if (m_grid.Rows() <= 1) s.JVarTable[1].count = 0;
    const int r = rowFor(name);
    s.JCurrent = r;
    setCell(m_grid, r, 0, name);
    const NounInfo i = info();
    if (i.dims.size() == 2) fillRow(r, name, i);
}

int JVarList::RefreshFromJ(bool matrixOnly) {
    if (!m_app.hasEngine()) return 0;
    IJEngine& j = m_app.J();
    // One sentence lists the nouns and tells each one's type and shape; no value is read.
    const bool described = j.Do(QString::fromLatin1(nounInfoSentence(kInfoName, "J_Get=. 4!:1(0)"))) == 0;
    if (!described) j.Do(QStringLiteral("J_Get=. 4!:1(0)"));
    HostValue names;
    const int code = j.GetB(kJGet, names);
    if (CountDims(names) != 1) return code;
    std::optional<std::vector<NounInfo>> infos;
    if (described) {
        HostValue d;
        if (j.GetB(QString::fromLatin1(kInfoName), d) == 0)
            infos = parseNounInfo(d, static_cast<std::size_t>(names.count()));
    }

    // Fixing a matrix shows the busy pointer for the loop; an evaluation already shows it.
    std::optional<BusyPointer> busy;
    if (matrixOnly) busy.emplace();
    for (std::int64_t i = 0; i < names.count(); ++i) {
        const std::optional<QString> name = names.textAt(i);
        if (!name || *name == kJGet || *name == kConsoleGet) continue;
        auto info = [&] {
            const NounInfo* known = infos ? &(*infos)[static_cast<std::size_t>(i)] : nullptr;
            return known && !known->needsValue ? *known : readInfo(*name);
        };
        if (matrixOnly)
            registerMatrix(*name, info);
        else
            registerVariable(*name, info());
    }
    return code;
}
