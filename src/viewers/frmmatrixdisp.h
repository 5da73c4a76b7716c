#pragma once

#include "base/vb_form.h"
#include "base/vb_units.h"

#include <QString>

class ISettings;
class SheetModel;
class SheetWidget;
struct FixedMatrixState;

// The sheet matrix viewer: one fixed matrix (slot FixedCurrent) laid out in a
// sheet of its own, filled afresh each time the window loads. Nothing the user
// changes in it goes anywhere.
class frmMatrixDisp : public VbForm {
    Q_OBJECT
public:
    frmMatrixDisp(AppState& app, QWidget* parent);

    SheetWidget* Spreadsheet1 = nullptr;

protected:
    void Form_Load() override;
    void Form_Resize() override;
    void Form_Unload() override;
};

// What the two viewer windows share.
namespace viewer {

inline constexpr int kDefaultWidth = 7005;
inline constexpr int kDefaultHeight = 4290;
// Values start on this sheet row; rows 4 and 5 stay empty.
inline constexpr int kFirstValueRow = 6;

// The sheet's rectangle after the window became width x height twips (outer
// size): it fills the window, except that a window at most 141 wide or 521 high
// leaves the sheet's width or height as it was.
TwipsRect sheetRect(const TwipsRect& current, int width, int height);

// Restores the saved size (defaults 0, 0, 7005, 4290) and centres a normal window.
void restoreRect(VbForm& form, const RectKeys& keys);

// The sheet the viewers show in: "ＭＳ Ｐゴシック", filling the window.
SheetWidget* makeSheet(QWidget* parent);
// Empties the sheet before a new showing.
void resetSheet(SheetWidget& sheet);
// Widens the column of the header values so that a long type text shows whole.
void fitHeaderColumn(SheetWidget& sheet);

// The three header rows: name, type text and size.
void writeHeader(SheetModel& sheet, const QString& name, const QString& typeText, const QString& size);
// "[3,2]" and "[4]".
QString sizeText(std::int64_t first, std::int64_t second);
QString sizeText(std::int64_t count);
// Writes a note in row 4 when rows x cols values do not all fit the sheet;
// returns the rows and columns that do fit.
std::pair<std::int64_t, std::int64_t> fitOnSheet(SheetModel& sheet, std::int64_t rows, std::int64_t cols);

}  // namespace viewer

// The cells frmMatrixDisp shows for a fixed-matrix slot; an out-of-range or
// free slot shows the header lines with empty values and [0,0].
void LayoutFixedMatrix(SheetModel& sheet, const FixedMatrixState& fixed, int slot);
