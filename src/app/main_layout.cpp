#include "app/main_layout.h"

namespace {

TwipsRect clientOf(const TwipsRect& strip, const TabInsets& in) {
    return {strip.left + in.left, strip.top + in.top, strip.width - in.left - in.right,
            strip.height - in.top - in.bottom};
}

void moveFramesToTabClient(MainLayout& l, const TabInsets& tab1) {
    l.Frame2_1 = clientOf(l.TabStrip1, tab1);
    l.Frame2_2 = l.Frame2_1;
    l.Frame2_2.width -= kSheetPageNarrowing;
}

void fillFrame3(MainLayout& l, const TabInsets& tab2) {
    l.Frame3 = clientOf(l.TabStrip2, tab2);
    l.Grids = {0, 0, l.Frame3.width, l.Frame3.height};
}

}  // namespace

MainLayout initialMainLayout() {
    MainLayout l;
    l.Frame1 = {120, 480, 9015, 4815};
    l.TabStrip1 = {0, 0, 9015, 4815};
    l.Frame2_1 = {120, 360, 8775, 4335};
    l.Frame2_2 = {120, 360, 6135, 4335};
    l.Label1_0 = {0, 120, 1005, 180};
    l.Command1 = {4320, 0, 1695, 350};
    l.Text1 = {0, 360, 6015, 270};
    l.Label2 = {0, 705, 6015, 375};
    l.Command2 = {4920, 1100, 1095, 330};
    l.Label1_1 = {0, 1200, 1785, 180};
    l.Text2 = {0, 1440, 6015, 2895};
    l.Text3 = {2280, 2520, 1095, 1215};
    l.TabStrip2 = {6120, 0, 2655, 4335};
    l.Frame3 = {6240, 360, 2415, 3855};
    l.Grids = {0, 0, 2415, 3855};
    l.Spreadsheet1 = {120, 120, 5895, 4170};
    return l;
}

MainLayout resizeMainLayout(MainLayout l, int W, int H, const TabInsets& tab1, const TabInsets& tab2) {
    if (W >= kMainMinWidthForResize) {
        l.Frame1.width = W - 345;
        l.TabStrip1.width = W - 345;
        moveFramesToTabClient(l, tab1);
        l.Text1.width = l.Frame2_1.width - 2760;
        l.Label2.width = l.Text1.width;
        l.Command1.left = l.Text1.width - l.Command1.width;
        l.Command2.left = l.Text1.width - l.Command2.width;
        l.Text2.width = l.Frame2_1.width - 2760;
        l.TabStrip2.left = l.Frame2_1.width - 2655;
        fillFrame3(l, tab2);
        l.Spreadsheet1.width = l.Frame2_2.width - 240;
    }
    if (H >= kMainMinHeightForResize) {
        l.Frame1.height = H - 1710;
        l.TabStrip1.height = H - 1710;
        moveFramesToTabClient(l, tab1);
        l.Text2.height = l.Frame2_1.height - 1440;
        l.TabStrip2.height = l.Frame2_1.height - 120;
        fillFrame3(l, tab2);
        l.Spreadsheet1.height = l.Frame2_2.height - 165;
    }
    return l;
}
