#pragma once

#include "base/vb_units.h"

// The main window's control rectangles in twips, each relative to its container.
struct MainLayout {
    TwipsRect Frame1;
    TwipsRect TabStrip1;
    TwipsRect Frame2_1;  // expression page
    TwipsRect Frame2_2;  // sheet page
    TwipsRect Label1_0;
    TwipsRect Command1;
    TwipsRect Text1;
    TwipsRect Label2;
    TwipsRect Command2;
    TwipsRect Label1_1;
    TwipsRect Text2;
    TwipsRect Text3;
    TwipsRect TabStrip2;
    TwipsRect Frame3;
    TwipsRect Grids;  // MSFlexGrid1 and MSFlexGrid2
    TwipsRect Spreadsheet1;
    bool operator==(const MainLayout&) const = default;
};

// Space a tab strip takes around its client area, in twips.
struct TabInsets {
    int left = 120;
    int top = 360;
    int right = 120;
    int bottom = 120;
};

inline constexpr int kMainMinWidthForResize = 9360;
inline constexpr int kMainMinHeightForResize = 6525;
inline constexpr int kSheetPageNarrowing = 2655;

MainLayout initialMainLayout();

// The width and height rules of the main window for an outer size W x H in
// twips, applied to the current layout. Below 9360 wide or 6525 high the
// controls keep their size in that direction.
MainLayout resizeMainLayout(MainLayout l, int W, int H, const TabInsets& tab1, const TabInsets& tab2);
