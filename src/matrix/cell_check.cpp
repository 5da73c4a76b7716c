#include "matrix/cell_check.h"

#include "base/progress.h"

#include "controls/sheet_model.h"

#include <locale.h>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <string>
#include <variant>
#include <vector>

namespace {

constexpr char16_t kBlank = u' ';
constexpr char16_t kIdeographicBlank = u'\u3000';

const char* const kHeaderA[] = {
    "**エラーコードの説明 (データ番号､変数番号)**",
    "**E-01 = セルが空白です**",
    "**E-02 = 小数点が2個以上あります**",
    "**E-03 = 負の記号の位置が不正です**",
    "**E-04 = 数値と認識できません**",
    "******** データーエラー一覧 ****************",
};

const char* const kHeaderB[] = {
    "**エラーコードの説明 (データ番号､変数番号) **",
    "**E-01 = セルが空白です **",
    "**E-02 = 小数点が2個以上あります **",
    "**E-03 = 負の記号の位置が不正です **",
    "**E-04 = 数値と認識できません **",
    "******** データーエラー一覧 ****************",
};

template <std::size_t N>
QStringList toList(const char* const (&lines)[N]) {
    QStringList out;
    for (const char* l : lines) out.append(QString::fromUtf8(l));
    return out;
}

bool isCellBlank(char16_t c) { return c == kBlank || c == kIdeographicBlank; }

// Rare path for magnitudes from_chars calls out of range: strtod in the C
// locale tells an overflow (refused) from an underflow (a value near 0).
std::optional<double> outOfRangeValue(const char* text) {
    static const locale_t cLocale = newlocale(LC_NUMERIC_MASK, "C", static_cast<locale_t>(nullptr));
    if (!cLocale) return std::nullopt;
    char* end = nullptr;
    const double v = strtod_l(text, &end, cLocale);
    if (!std::isfinite(v)) return std::nullopt;
    return v;
}

}  // namespace

QString cellErrorCode(CellError e) {
    switch (e) {
        case CellError::E01:
            return QStringLiteral("E-01");
        case CellError::E02:
            return QStringLiteral("E-02");
        case CellError::E03:
            return QStringLiteral("E-03");
        case CellError::E04:
            return QStringLiteral("E-04");
        case CellError::None:
            break;
    }
    return QString();
}

QStringView trimCellBlanks(QStringView text) {
    qsizetype begin = 0, end = text.size();
    while (begin < end && isCellBlank(text[begin].unicode())) ++begin;
    while (end > begin && isCellBlank(text[end - 1].unicode())) --end;
    return text.sliced(begin, end - begin);
}

CellError scanCellText(QStringView trimmed) {
    if (trimmed.isEmpty()) return CellError::E01;
    int digits = 0, points = 0, exponents = 0, minuses = 0;
    for (QChar qc : trimmed) {
        const char16_t c = qc.unicode();
        if (c >= u'0' && c <= u'9') {
            ++digits;
            continue;
        }
        switch (c) {
            case u'.':
                if (++points >= 2) return CellError::E02;
                break;
            case u'E':
            case u'e':
                ++exponents;
                break;
            case u'-':
                ++minuses;
                if (exponents == 0 && (minuses >= 2 || digits > 0)) return CellError::E03;
                break;
            default:
                return CellError::E04;
        }
    }
    return CellError::None;
}

std::optional<double> cellTextToDouble(QStringView text) {
    // Only ASCII can make a number; anything else is refused before parsing.
    char small[64];
    std::string large;
    char* buf = small;
    const qsizetype n = text.size();
    if (n == 0) return std::nullopt;
    if (n >= static_cast<qsizetype>(sizeof small)) {
        large.resize(static_cast<std::size_t>(n));
        buf = large.data();
    }
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = text[i].unicode();
        if (c == 0 || c > 0x7F) return std::nullopt;
        buf[i] = static_cast<char>(c);
    }
    // from_chars takes no '+' and no blanks, and with the general format reads
    // no hex; it does read "inf" and "nan", which are not numbers to a cell.
    if (buf[0] == '+' || std::isalpha(static_cast<unsigned char>(buf[buf[0] == '-' ? 1 : 0])))
        return std::nullopt;
    double v = 0;
    const auto [ptr, ec] = std::from_chars(buf, buf + n, v, std::chars_format::general);
    if (ptr != buf + n) return std::nullopt;
    if (ec == std::errc::result_out_of_range) {
        const std::string copy(buf, static_cast<std::size_t>(n));
        return outOfRangeValue(copy.c_str());
    }
    if (ec != std::errc() || !std::isfinite(v)) return std::nullopt;
    return v;
}

void DataErrorList::add(CellError code, int dataNo, int varNo, QStringView text,
                        std::int16_t& errListStarted) {
    if (errListStarted == 0) {
        static const QStringList headerA = toList(kHeaderA), headerB = toList(kHeaderB);
        m_lines.append(code == CellError::E02 ? headerB : headerA);
    }
    ++m_refusals;
    if (m_listed < m_maxLines) {
        ++m_listed;
        m_lines.append(cellErrorCode(code) + u'(' + QString::number(dataNo) + u',' + QString::number(varNo) +
                       QStringLiteral(") = \"") + text.toString() + u'"');
    }
    errListStarted = 1;
}

QStringList DataErrorList::lines() const {
    QStringList out = m_lines;
    if (omitted() > 0)
        out.append(
            QStringLiteral("（ほかに %1 件のエラーがあります。一覧に載せるのは最初の %2 件までです。）")
                .arg(omitted())
                .arg(m_maxLines));
    return out;
}

void DataErrorList::clear() {
    m_lines.clear();
    m_refusals = 0;
    m_listed = 0;
}

void CheckCellData(int dataNo, int varNo, QString& text, DataErrorList& list, std::int16_t& errListStarted) {
    const QStringView trimmed = trimCellBlanks(text);
    if (trimmed.size() != text.size()) text = trimmed.toString();
    const CellError e = scanCellText(text);
    if (e != CellError::None) list.add(e, dataNo, varNo, text, errListStarted);
}

std::optional<double> CheckAndConvertCell(int dataNo, int varNo, QString& text, DataErrorList& list,
                                          std::int16_t& errListStarted) {
    const std::int64_t before = list.refusals();
    CheckCellData(dataNo, varNo, text, list, errListStarted);
    if (list.refusals() != before) return std::nullopt;
    std::optional<double> v = cellTextToDouble(text);
    if (!v) list.add(CellError::E04, dataNo, varNo, text, errListStarted);
    return v;
}

std::optional<HostValue> ReadCheckedMatrix(const SheetModel& sheet, const SheetRange& range,
                                           DataErrorList& list, std::int16_t& errListStarted,
                                           Progress* progress) {
    if (!range.isValid()) return std::nullopt;
    const std::int64_t rows = range.rows(), cols = range.cols();
    ProgressScope shown(progress, rows);
    std::vector<double> values;
    // A range larger than the filled cells must hold an empty cell and will be
    // refused, so only a range that can succeed gets its array up front.
    if (rows * cols <= sheet.filledCells()) values.reserve(static_cast<std::size_t>(rows * cols));

    for (int i = 1; i <= rows; ++i) {
        const int row = range.row1 + i - 1;
        for (int j = 1; j <= cols; ++j) {
            const int col = range.col1 + j - 1;
            const SheetModel::CellValue cell = sheet.value(row, col);
            std::optional<double> v;
            if (const double* d = std::get_if<double>(&cell)) {
                if (std::isfinite(*d))
                    v = *d;
                else
                    list.add(CellError::E04, i, j, generalNumberText(*d), errListStarted);
            } else if (const QString* s = std::get_if<QString>(&cell)) {
                QString text = *s;
                v = CheckAndConvertCell(i, j, text, list, errListStarted);
            } else {
                list.add(CellError::E01, i, j, QStringView(), errListStarted);
            }
            if (errListStarted == 0) {
                values.push_back(*v);
            } else if (!values.empty()) {
                values = std::vector<double>();  // nothing will be stored; give the memory back
            }
        }
        shown.step();
    }
    if (errListStarted != 0) return std::nullopt;
    return HostValue::doubleArray({rows, cols}, std::move(values));
}
