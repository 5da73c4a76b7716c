#pragma once

#include "base/sheet_address.h"
#include "engine/host_value.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <cstdint>
#include <optional>

class SheetModel;

// Why a cell was refused; None when it passed.
enum class CellError { None, E01, E02, E03, E04 };

QString cellErrorCode(CellError e);  // "E-01" ... "E-04"

// Blanks removed from both ends: U+0020 and the ideographic blank U+3000.
QStringView trimCellBlanks(QStringView text);

// The character-by-character check of a trimmed cell text; the first refusal wins.
CellError scanCellText(QStringView trimmed);

// Decimal text to double whatever the locale; nullopt unless the whole text is
// one number and the result is finite (1E400 is refused, 1E-400 is 0).
std::optional<double> cellTextToDouble(QStringView text);

// The lines of the data error window for one run: the header chosen by the
// first refusal, then one line per refused cell. Only the first maxLines
// refusals get a line of their own so a huge bad selection stays readable;
// the rest are counted and summed up in one closing line.
class DataErrorList {
public:
    static constexpr int kMaxLines = 1000;

    explicit DataErrorList(int maxLines = kMaxLines) : m_maxLines(maxLines) {}

    // Writes one refusal, the header first when errListStarted is 0.
    void add(CellError code, int dataNo, int varNo, QStringView text, std::int16_t& errListStarted);

    std::int64_t refusals() const { return m_refusals; }
    std::int64_t omitted() const { return m_refusals - m_listed; }
    // Header, error lines and, when some were left out, the summary line.
    QStringList lines() const;
    void clear();

private:
    int m_maxLines;
    QStringList m_lines;
    std::int64_t m_refusals = 0;
    std::int64_t m_listed = 0;
};

// Checks one cell's text (trimmed in place) and writes a refusal to the list.
void CheckCellData(int dataNo, int varNo, QString& text, DataErrorList& list, std::int16_t& errListStarted);

// CheckCellData followed by the conversion: a text that passes the check but is
// no number (a lone "-", 1E5E3, 1E400) is refused as E-04 in the same list.
// Returns the value when this cell is sound.
std::optional<double> CheckAndConvertCell(int dataNo, int varNo, QString& text, DataErrorList& list,
                                          std::int16_t& errListStarted);

// Reads every cell of the range (rows outer), checks it and, when no cell is
// refused, returns the values as a rows-by-cols array of doubles. Cells holding
// a number are taken as that number, with no round trip through text. Every
// cell is examined even after a refusal, so one run lists all of them.
std::optional<HostValue> ReadCheckedMatrix(const SheetModel& sheet, const SheetRange& range,
                                           DataErrorList& list, std::int16_t& errListStarted);
