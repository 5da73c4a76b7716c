#include "matrix/fixed_matrices.h"

#include "base/app_state.h"
#include "base/main_window.h"
#include "base/mouse_pointer.h"
#include "controls/flex_grid.h"
#include "controls/sheet_widget.h"
#include "matrix/cell_check.h"
#include "matrix/frmerrdisp.h"
#include "matrix/type_names.h"

namespace {

constexpr std::uint32_t kSilver = 0xC0C0C0;

std::uint32_t colorNumber(double c) { return static_cast<std::uint32_t>(static_cast<std::int64_t>(c)); }

// Screen updating off for a scope, back on at its end on every path.
class ScreenUpdatingOff {
public:
    explicit ScreenUpdatingOff(SheetWidget& s) : m_sheet(s) { m_sheet.setScreenUpdating(false); }
    ~ScreenUpdatingOff() { m_sheet.setScreenUpdating(true); }
    ScreenUpdatingOff(const ScreenUpdatingOff&) = delete;
    ScreenUpdatingOff& operator=(const ScreenUpdatingOff&) = delete;

private:
    SheetWidget& m_sheet;
};

}  // namespace

FixedMatrices::FixedMatrices(AppState& app, IMainWindow& main, FlexGrid& list)
    : m_app(app), m_main(main), m_list(list) {}

QString FixedMatrices::slotLetter(int slot) { return QString(QChar(u'A' + slot - 1)); }

void FixedMatrices::InitFixedList() {
    FixedMatrixState& f = m_app.fixed;
    f.FixedValues = std::vector<HostValue>(101);
    f.FixedTable = {};

    FlexGrid& g = m_list;
    g.Clear();
    g.setRows(FixedMatrixState::kSlots + 1);
    g.setCols(2);
    g.setColWidth(0, 600);
    g.setColWidth(1, 1850);
    for (int n = 1; n <= FixedMatrixState::kSlots; ++n) {
        g.setTextMatrix(n, 0, QStringLiteral("VB_") + slotLetter(n));
        g.setRow(n);
        g.setCol(0);
        g.setCellBackColor(colorNumber(m_app.MatrixColors[n]));
    }
    g.setColAlignment(0, 4);
    g.setTextMatrix(0, 0, QStringLiteral("変数"));
    g.setTextMatrix(0, 1, QStringLiteral("セル範囲"));
    g.setRow(0);
    g.setCol(1);
    g.setCellAlignment(4);
}

void FixedMatrices::GetMatrix() {
    FixedMatrixState& f = m_app.fixed;
    SheetWidget& sheet = m_main.sheet();
    SetMousePointer(kPointerBusy);
    const SheetRange range = sheet.selection();

    f.ErrListStarted = 0;
    f.ErrFlag = 0;
    DataErrorList errors;
    std::optional<HostValue> values;
    {
        // Cells are read straight from the model, so nothing is drawn while checking.
        ScreenUpdatingOff quiet(sheet);
        values = ReadCheckedMatrix(sheet.model(), range, errors, f.ErrListStarted);
    }

    if (f.ErrListStarted == 1) {
        SetMousePointer(kPointerDefault);
        frmErrDisp& w = m_app.form<frmErrDisp>();
        w.addLines(errors.lines());
        f.ErrFlag = 1;
        w.ShowModal();
        return;
    }

    sheet.select(SheetRange::cell(range.row1, range.col1));
    if (values && f.FixedCurrent >= 0 && f.FixedCurrent < static_cast<int>(f.FixedValues.size()))
        f.FixedValues[f.FixedCurrent] = std::move(*values);
    SetMousePointer(kPointerDefault);
}

void FixedMatrices::FixMatrix() {
    FixedMatrixState& f = m_app.fixed;
    SheetWidget& sheet = m_main.sheet();

    const int k = f.count();
    if (k + 1 > FixedMatrixState::kSlots) {
        m_app.msgBox().MsgBox(kTooManyMatrices, mb::OKOnly | mb::Exclamation);
        SetMousePointer(kPointerDefault);
        return;
    }
    // Several areas make no one rectangle; refusing keeps the slot free.
    if (sheet.selectionAreas().size() > 1) {
        m_app.msgBox().MsgBox(kSeveralAreas, mb::OKOnly | mb::Exclamation);
        return;
    }

    f.FixedCurrent = static_cast<std::int16_t>(k + 1);
    RangeBeingFixed = sheet.selection();
    GetMatrix();
    sheet.select(RangeBeingFixed);
    if (f.ErrFlag == 1) return;

    const int n = k + 1;
    f.FixedTable[1].count = static_cast<std::int16_t>(n);
    f.FixedCurrent = static_cast<std::int16_t>(n);

    const SheetRange& r = RangeBeingFixed;
    {
        ScreenUpdatingOff quiet(sheet);
        sheet.setFill(r, colorNumber(m_app.MatrixColors[n]));
        sheet.setBorders(r, 1, kSilver);
    }

    const QString address = r.address();
    const QString letter = slotLetter(n);
    FixedRecord& rec = f.FixedTable[n];
    rec.firstRow = r.row1;
    rec.lastRow = r.row1 + r.rows() - 1;
    rec.firstCol = r.col1;
    rec.lastCol = r.col1 + r.cols() - 1;
    rec.range = sheet::parseRange(address).value_or(r);
    rec.typeText = TypeNameLong(f);
    rec.name = QStringLiteral("VB_") + letter;
    rec.rows = r.rows();
    rec.cols = r.cols();

    if (m_app.hasEngine()) {
        const QString jName = QStringLiteral("J_") + letter;
        const int code = m_app.J().Set(jName, f.FixedValues[n]);
        if (code != 0) {
            // The matrix stays fixed in the list, but the user must know J did not get it.
            m_app.msgBox().MsgBox(QStringLiteral("行列 %1 を J に転送できませんでした。\r%2 は J "
                                                 "では定義されていません。\r(コード %3: %4)")
                                      .arg(rec.name, jName)
                                      .arg(code)
                                      .arg(m_app.J().ErrorText(code)),
                                  mb::OKOnly | mb::Exclamation);
        }
        BusyPointer busy;
        m_main.setLastCode(m_main.refreshJVariables(true));
    }

    m_list.setTextMatrix(
        n, 1, address + u'(' + QString::number(rec.rows) + u',' + QString::number(rec.cols) + u')');
    m_main.setReleaseEnabled(true);
}

void FixedMatrices::ReleaseMatrices() {
    SheetWidget& sheet = m_main.sheet();
    {
        ScreenUpdatingOff quiet(sheet);
        sheet.selectAll();
        sheet.setFill(SheetRange::whole(), colorNumber(m_main.defaultFillColor()));
        sheet.setBorders(SheetRange::whole(), 1, kSilver);
        sheet.select(SheetRange::cell(1, 1));
    }

    m_app.fixed.FixedTable = {};
    InitFixedList();
    m_main.resetJVariables();
    m_main.setReleaseEnabled(false);
}
