#include "eval/expression_page.h"

#include "app/frmjmain.h"

ExpressionPage::ExpressionPage(AppState& app, frmjMain& main) : QObject(&main), m_app(app), m_main(main) {}
