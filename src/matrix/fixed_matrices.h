#pragma once

#include "base/sheet_address.h"

#include <QString>

class AppState;
class FlexGrid;
class IMainWindow;

// The fixed matrices of the main window's sheet: checking and fixing the
// selection, the list MSFlexGrid1, and releasing them all.
class FixedMatrices {
public:
    // list is the fixed-matrix list (MSFlexGrid1).
    FixedMatrices(AppState& app, IMainWindow& main, FlexGrid& list);

    void InitFixedList();
    // Checks the selection and, when every cell is sound, stores it at FixedCurrent.
    void GetMatrix();
    void FixMatrix();
    void ReleaseMatrices();

    // "A" for slot 1 ... "Z" for slot 26.
    static QString slotLetter(int slot);

    // The selection being fixed, kept while its cells are checked.
    SheetRange RangeBeingFixed;

private:
    AppState& m_app;
    IMainWindow& m_main;
    FlexGrid& m_list;
};

inline const QString kTooManyMatrices =
    QStringLiteral("確定行列が26個を越えるので、確定できません。行列確定数は26個までです。");
inline const QString kSeveralAreas = QStringLiteral(
    "複数の範囲が選択されています。\r行列として確定できるのは、ひと続きの長方形の範囲1つだけです。\r範囲を1つ"
    "だけ選択してから、もう一度「行列確定」を押してください。");
