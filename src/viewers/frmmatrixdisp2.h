#pragma once

#include "base/vb_form.h"
#include "controls/sheet_model.h"

class SheetWidget;
class HostValue;
struct JVarRecord;

// The J variable viewer: one listed J noun (row JCurrent of the J variable list),
// read from J as the viewer opens and laid out in a sheet of its own.
class frmMatrixDisp2 : public VbForm {
    Q_OBJECT
public:
    frmMatrixDisp2(AppState& app, QWidget* parent);

    SheetWidget* Spreadsheet1 = nullptr;

protected:
    void Form_Load() override;
    void Form_Resize() override;
    void Form_Unload() override;
};

// A stored J element as a cell holds it: numbers as numbers, texts as text.
// An integer a double cannot hold exactly goes in as its digits, and a boxed
// array as its items joined by blanks.
SheetModel::CellValue jCellValue(const HostValue& element);

// The cells frmMatrixDisp2 shows for a row of the J variable list and the noun's value,
// chosen by the row's two extents: an atom or string, a list along row 6, a table from (6, 1).
void LayoutJVariable(SheetModel& sheet, const JVarRecord& rec, const HostValue& v);
