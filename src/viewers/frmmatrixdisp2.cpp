#include "viewers/frmmatrixdisp2.h"

#include "base/app_state.h"
#include "base/jvar_tables.h"
#include "base/mouse_pointer.h"
#include "controls/sheet_widget.h"
#include "viewers/frmmatrixdisp.h"

#include <QStringList>

#include <cmath>

namespace {

const RectKeys kKeys{QStringLiteral("DispLeft2"), QStringLiteral("DispTop2"), QStringLiteral("DispWidth2"),
                     QStringLiteral("DispHeight2")};

QString flatText(const HostValue& v) {
    if (!v.isArray()) return v.text().value_or(QString());
    QStringList items;
    for (std::int64_t i = 0; i < v.count(); ++i) items.append(flatText(v.at(i)));
    return items.join(u' ');
}

}  // namespace

SheetModel::CellValue jCellValue(const HostValue& element) {
    if (element.isArray()) return flatText(element);
    if (const auto* l = element.longs()) {
        const std::int64_t n = l->front();
        constexpr std::int64_t kExact = std::int64_t{1} << 53;
        if (n >= -kExact && n <= kExact) return static_cast<double>(n);
        return QString::number(n);
    }
    if (const auto* s = element.strings()) return s->front();
    if (const auto* vs = element.variants()) return jCellValue(vs->front());
    if (std::optional<double> d = element.numberAt(0)) return *d;
    return std::monostate{};
}

void LayoutJVariable(SheetModel& sheet, const JVarRecord& rec, const HostValue& v) {
    const std::int64_t first = rec.rows, second = rec.cols;

    viewer::writeHeader(sheet, rec.name, rec.typeText, viewer::sizeText(first, second));
    const int top = viewer::kFirstValueRow;

    if (first == 0 && second == 0) {
        // An atom or a string; an array here (a list of no items) has no text.
        const QString text = v.isArray() ? QString() : v.text().value_or(QString());
        sheet.setValue(3, 2, QString::number(text.toUcs4().size()) + QStringLiteral(" 文字"));
        sheet.setValue(top, 1, v.isArray() ? SheetModel::CellValue{} : jCellValue(v));
    } else if (first == 0 && second >= 1) {
        sheet.setValue(3, 2, viewer::sizeText(second));
        const std::int64_t items = v.isArray() ? std::min(second, v.count()) : 0;
        const std::int64_t shown = viewer::fitOnSheet(sheet, 1, items).second;
        for (std::int64_t j = 1; j <= shown; ++j)
            sheet.setValue(top, static_cast<int>(j), jCellValue(v.at(j - 1)));
    } else if (first >= 1) {
        if (!v.isArray() || v.dims().size() != 2) return;
        const std::int64_t stride = v.dims()[1];
        const std::int64_t rows = std::min(first, v.dims()[0]);
        const std::int64_t cols = std::min(second, stride);
        const auto [shownRows, shownCols] = viewer::fitOnSheet(sheet, rows, cols);
        for (std::int64_t i = 1; i <= shownRows; ++i)
            for (std::int64_t j = 1; j <= shownCols; ++j)
                sheet.setValue(static_cast<int>(i) + top - 1, static_cast<int>(j),
                               jCellValue(v.at((i - 1) * stride + (j - 1))));
    }
}

frmMatrixDisp2::frmMatrixDisp2(AppState& app, QWidget* parent) : VbForm(app, parent, false) {
    setObjectName(QStringLiteral("frmMatrixDisp2"));
    setWindowTitle(QStringLiteral("Kalvoret J 定義行列表示"));
    Spreadsheet1 = viewer::makeSheet(client());
    setSize(viewer::kDefaultWidth, viewer::kDefaultHeight);
}

void frmMatrixDisp2::Form_Load() {
    viewer::restoreRect(*this, kKeys);
    BusyPointer busy;
    viewer::resetSheet(*Spreadsheet1);
    Spreadsheet1->setScreenUpdating(false);
    const JVarState& s = app().jvars;
    const int row = s.JCurrent;
    const JVarRecord rec =
        row >= 0 && row < static_cast<int>(s.JVarTable.size()) ? s.JVarTable[row] : JVarRecord{};
    // The list keeps no values: the noun is read from J as the viewer opens.
    HostValue value;
    if (app().hasEngine() && !rec.name.isEmpty()) app().J().GetB(rec.name, value);
    LayoutJVariable(Spreadsheet1->model(), rec, value);
    Spreadsheet1->setScreenUpdating(true);
    viewer::fitHeaderColumn(*Spreadsheet1);
}

void frmMatrixDisp2::Form_Resize() {
    placeTwips(Spreadsheet1, viewer::sheetRect(twipsGeometry(Spreadsheet1), Width(), Height()));
}

void frmMatrixDisp2::Form_Unload() { saveRect(kKeys); }
