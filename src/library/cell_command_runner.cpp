#include "library/cell_command_runner.h"

#include "app/frmjmain.h"

CellCommandRunner::CellCommandRunner(AppState& app, frmjMain& main) : QObject(&main), m_app(app), m_main(main) {}
