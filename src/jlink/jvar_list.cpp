#include "jlink/jvar_list.h"

#include "app/app_state.h"
#include "controls/flex_grid.h"
#include "controls/text_box.h"

std::optional<QString> RenderJValue(const HostValue&, QString*) { return QString(); }

void ShowJValue(const HostValue& v, TextBox& box, IMessageBox&) {
    box.setText(RenderJValue(v).value_or(QString()));
}

JVarList::JVarList(AppState& app, FlexGrid& grid) : m_app(app), m_grid(grid) {}

void JVarList::InitJVarList() {}
void JVarList::RegisterJVariable(const QString&) {}
void JVarList::RegisterJMatrix(const QString&) {}
int JVarList::RefreshFromJ(bool) { return 0; }
