#pragma once

class AppState;
class frmjMain;

// The fixed matrices of the main window's sheet: checking and fixing the
// selection, the list MSFlexGrid1, and releasing them all.
class FixedMatrices {
public:
    FixedMatrices(AppState& app, frmjMain& main);

    void InitFixedList();
    void GetMatrix();
    void FixMatrix();
    void ReleaseMatrices();

private:
    AppState& m_app;
    frmjMain& m_main;
};
