#include "viewers/frmmatrixdisp.h"

#include "base/app_state.h"
#include "base/fixed_table.h"
#include "base/mouse_pointer.h"
#include "controls/sheet_widget.h"

#include <QHeaderView>
#include <QTableView>

#include <algorithm>

namespace {

const RectKeys kKeys{QStringLiteral("DispLeft"), QStringLiteral("DispTop"), QStringLiteral("DispWidth"),
                     QStringLiteral("DispHeight")};

}  // namespace

namespace viewer {

TwipsRect sheetRect(const TwipsRect& current, int width, int height) {
    TwipsRect r = current;
    r.left = 0;
    r.top = 0;
    if (width - 140 > 1) r.width = width - 140;
    if (height - 520 > 1) r.height = height - 520;
    return r;
}

void restoreRect(VbForm& form, const RectKeys& keys) {
    form.restoreRect(keys, {0, 0, kDefaultWidth, kDefaultHeight});
    if (form.WindowState() == 0) form.centreOnScreen();
}

SheetWidget* makeSheet(QWidget* parent) {
    auto* s = new SheetWidget(parent);
    s->setObjectName(QStringLiteral("Spreadsheet1"));
    s->setAccessibleName(QStringLiteral("行列"));
    s->setFontName(QStringLiteral("ＭＳ Ｐゴシック"));
    placeTwips(s, sheetRect({}, kDefaultWidth, kDefaultHeight));
    return s;
}

void resetSheet(SheetWidget& sheet) {
    sheet.setScreenUpdating(false);
    sheet.model().clearValues(SheetRange::whole());
    sheet.setScreenUpdating(true);
    sheet.select(SheetRange::cell(1, 1));
    sheet.view()->scrollToTop();
}

void fitHeaderColumn(SheetWidget& sheet) {
    QTableView& view = *sheet.view();
    const QFontMetrics fm(sheet.model().font());
    int width = view.horizontalHeader()->defaultSectionSize();
    for (int row = 1; row <= 3; ++row) width = std::max(width, fm.horizontalAdvance(sheet.text(row, 2)) + 12);
    view.setColumnWidth(1, width);
}

void writeHeader(SheetModel& sheet, const QString& name, const QString& typeText, const QString& size) {
    sheet.setValue(1, 1, QStringLiteral("行列名="));
    sheet.setValue(1, 2, name);
    sheet.setValue(2, 1, QStringLiteral("Type  ="));
    sheet.setValue(2, 2, typeText);
    sheet.setValue(3, 1, QStringLiteral("サイズ="));
    sheet.setValue(3, 2, size);
}

QString sizeText(std::int64_t first, std::int64_t second) {
    return u'[' + QString::number(first) + u',' + QString::number(second) + u']';
}

QString sizeText(std::int64_t count) { return u'[' + QString::number(count) + u']'; }

std::pair<std::int64_t, std::int64_t> fitOnSheet(SheetModel& sheet, std::int64_t rows, std::int64_t cols) {
    const std::int64_t maxRows = sheet::kRows - kFirstValueRow + 1;
    const std::int64_t shownRows = std::clamp<std::int64_t>(rows, 0, maxRows);
    const std::int64_t shownCols = std::clamp<std::int64_t>(cols, 0, sheet::kCols);
    if (shownRows < rows || shownCols < cols)
        sheet.setValue(4, 1,
                       QStringLiteral("※ シートに収まらないため、先頭の %1 行 × %2 列だけを表示しています。")
                           .arg(shownRows)
                           .arg(shownCols));
    return {shownRows, shownCols};
}

}  // namespace viewer

void LayoutFixedMatrix(SheetModel& sheet, const FixedMatrixState& fixed, int slot) {
    const bool known = slot >= 0 && slot < static_cast<int>(fixed.FixedTable.size());
    const FixedRecord rec = known ? fixed.FixedTable[slot] : FixedRecord{};
    viewer::writeHeader(sheet, rec.name, rec.typeText, viewer::sizeText(rec.rows, rec.cols));
    if (!rec.typeText.startsWith(QStringLiteral("配列"))) return;

    const HostValue empty;
    const HostValue& v = slot < static_cast<int>(fixed.FixedValues.size()) ? fixed.FixedValues[slot] : empty;
    const std::vector<double>* d = v.doubles();
    if (!d || v.dims().size() != 2) return;
    const std::int64_t stride = v.dims()[1];
    // The table's counts decide the layout; the stored array bounds every read.
    const std::int64_t rows = std::min<std::int64_t>(rec.rows, v.dims()[0]);
    const std::int64_t cols = std::min<std::int64_t>(rec.cols, stride);
    const auto [shownRows, shownCols] = viewer::fitOnSheet(sheet, rows, cols);
    for (std::int64_t i = 1; i <= shownRows; ++i)
        for (std::int64_t j = 1; j <= shownCols; ++j)
            sheet.setValue(static_cast<int>(i) + viewer::kFirstValueRow - 1, static_cast<int>(j),
                           (*d)[static_cast<std::size_t>((i - 1) * stride + (j - 1))]);
}

frmMatrixDisp::frmMatrixDisp(AppState& app, QWidget* parent) : VbForm(app, parent, false) {
    setObjectName(QStringLiteral("frmMatrixDisp"));
    setWindowTitle(QStringLiteral("Kalvoret VB定義行列表示"));
    Spreadsheet1 = viewer::makeSheet(client());
    setSize(viewer::kDefaultWidth, viewer::kDefaultHeight);
}

void frmMatrixDisp::Form_Load() {
    viewer::restoreRect(*this, kKeys);
    BusyPointer busy;
    viewer::resetSheet(*Spreadsheet1);
    Spreadsheet1->setScreenUpdating(false);
    LayoutFixedMatrix(Spreadsheet1->model(), app().fixed, app().fixed.FixedCurrent);
    Spreadsheet1->setScreenUpdating(true);
    viewer::fitHeaderColumn(*Spreadsheet1);
}

void frmMatrixDisp::Form_Resize() {
    placeTwips(Spreadsheet1, viewer::sheetRect(twipsGeometry(Spreadsheet1), Width(), Height()));
}

void frmMatrixDisp::Form_Unload() { saveRect(kKeys); }
