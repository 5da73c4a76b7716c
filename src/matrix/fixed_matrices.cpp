#include "matrix/fixed_matrices.h"

FixedMatrices::FixedMatrices(AppState& app, frmjMain& main) : m_app(app), m_main(main) {}

void FixedMatrices::InitFixedList() {}
void FixedMatrices::GetMatrix() {}
void FixedMatrices::FixMatrix() {}
void FixedMatrices::ReleaseMatrices() {}
