#include "eval/var_list_grids.h"

#include "app/frmjmain.h"

VarListGrids::VarListGrids(AppState& app, frmjMain& main) : QObject(&main), m_app(app), m_main(main) {}
