#include "dictionary/dicdisp_layout.h"

bool dicBelowMinimum(int width, int height) { return height < kDicMinHeight || width < kDicMinWidth; }

TwipsRect dicFrameRect(int width, int height) {
    // Below the tool bar (420); caption, menu, borders and status bar take the rest.
    return {0, 420, width - 120, height - 1460};
}

TwipsRect dicGridRect(int panelWidth, int panelHeight) {
    return {120, 1080, panelWidth - 240, panelHeight - 1160};
}
