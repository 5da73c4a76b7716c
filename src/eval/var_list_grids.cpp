#include "eval/var_list_grids.h"

#include "base/app_state.h"
#include "base/main_window.h"
#include "controls/flex_grid.h"
#include "controls/sheet_widget.h"
#include "controls/tab_strip.h"
#include "viewers/frmmatrixdisp.h"
#include "viewers/frmmatrixdisp2.h"

#include <QAction>
#include <QCursor>
#include <QMenu>

namespace {

constexpr std::uint32_t kSilver = 12632256;  // C0C0C0, the thin border of fixed ranges
constexpr int kRightButton = 2;

QMenu* popUpMenu(QWidget* owner, const QString& name, const QString& item, const QString& itemName) {
    auto* menu = new QMenu(name, owner);
    menu->setObjectName(name);
    QAction* a = menu->addAction(item);
    a->setObjectName(itemName);
    return menu;
}

}  // namespace

VarListGrids::VarListGrids(AppState& app, IMainWindow& main, const VarListControls& controls,
                           QWidget* menuOwner)
    : QObject(menuOwner), m_app(app), m_main(main), m_c(controls) {
    showPopup = [](QMenu& menu) { menu.popup(QCursor::pos()); };

    PopUp0 = popUpMenu(menuOwner, QStringLiteral("PopUp0"), QStringLiteral("VB定義変数表示"),
                       QStringLiteral("mnuPopUpVBdisp"));
    PopUp1 = popUpMenu(menuOwner, QStringLiteral("PopUp1"), QStringLiteral("J 定義変数表示"),
                       QStringLiteral("mnuPopUpJDisp"));
    connect(PopUp0->actions().front(), &QAction::triggered, this, &VarListGrids::mnuPopUpVBdisp_Click);
    connect(PopUp1->actions().front(), &QAction::triggered, this, &VarListGrids::mnuPopUpJDisp_Click);

    connect(m_c.TabStrip2, &TabStrip::Click, this, &VarListGrids::TabStrip2_Click);
    connect(m_c.MSFlexGrid1, &FlexGrid::Click, this, &VarListGrids::MSFlexGrid1_Click);
    connect(m_c.MSFlexGrid1, &FlexGrid::MouseDown, this, &VarListGrids::MSFlexGrid1_MouseDown);
    connect(m_c.MSFlexGrid2, &FlexGrid::Click, this, &VarListGrids::MSFlexGrid2_Click);
    connect(m_c.MSFlexGrid2, &FlexGrid::MouseDown, this, &VarListGrids::MSFlexGrid2_MouseDown);
}

void VarListGrids::TabStrip2_Click() {
    const int index = m_c.TabStrip2->SelectedIndex();
    if (index == 1)
        m_c.MSFlexGrid1->bringToFront();
    else if (index == 2)
        m_c.MSFlexGrid2->bringToFront();
}

void VarListGrids::MSFlexGrid1_Click() {
    SheetWidget& sheet = m_main.sheet();
    FlexGrid& grid = *m_c.MSFlexGrid1;

    sheet.setScreenUpdating(false);
    PrevSelection = sheet.selection();
    sheet.select(HighlightRange);
    sheet.setBorders(HighlightRange, 1, kSilver);
    sheet.select(PrevSelection);
    sheet.setScreenUpdating(true);
    sheet.setScreenUpdating(false);

    const int r = grid.Row();
    if (r > 0 && r < FixedMatrixState::kSlots + 1 && !grid.TextMatrix(r, 1).isEmpty()) {
        m_app.fixed.FixedCurrent = static_cast<std::int16_t>(r);
        const SheetRange range = m_app.fixed.FixedTable[r].range;
        sheet.select(range);
        sheet.setBorders(range, 2, QStringLiteral("blue"));
        HighlightRange = range;
    }
    sheet.setScreenUpdating(true);
}

void VarListGrids::MSFlexGrid1_MouseDown(int button, int, int, int) {
    const int r = m_c.MSFlexGrid1->Row();
    const int n = m_app.fixed.count();
    if (button != kRightButton || r <= 0 || n < 1 || n < r) return;
    m_app.fixed.FixedCurrent = static_cast<std::int16_t>(r);
    showPopup(*PopUp0);
}

void VarListGrids::MSFlexGrid2_Click() {
    FlexGrid& grid = *m_c.MSFlexGrid2;
    const int r = grid.Row();
    if (r <= 0 || r >= grid.Rows()) return;
    const QString name = grid.TextMatrix(r, 0);
    m_app.clipboard().setText(name);
    grid.setToolTipText(name + kNameCopied);
}

void VarListGrids::MSFlexGrid2_MouseDown(int button, int, int, int) {
    const int r = m_c.MSFlexGrid2->Row();
    const int n = m_app.jvars.count();
    if (button != kRightButton || r <= 0 || n < 1 || n < r) return;
    m_app.jvars.JCurrent = r;
    showPopup(*PopUp1);
}

void VarListGrids::mnuPopUpVBdisp_Click() { m_app.form<frmMatrixDisp>().ShowModal(); }

void VarListGrids::mnuPopUpJDisp_Click() { m_app.form<frmMatrixDisp2>().ShowModal(); }
