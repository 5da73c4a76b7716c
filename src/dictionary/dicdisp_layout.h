#pragma once

#include "base/vb_units.h"

// Size rules of the dictionary window, in twips.
inline constexpr int kDicMinWidth = 8700;
inline constexpr int kDicMinHeight = 7000;

// A window in its normal state below 8700 wide or 7000 high is set to 8700 x
// 7000 as a whole (both, even when only one was short) and laid out on the
// resize that follows.
bool dicBelowMinimum(int width, int height);

// Frame1 for a window of the given outer size; TabStrip1 lies inside it at 0,0
// with the same size.
TwipsRect dicFrameRect(int width, int height);

// The result grid inside a panel that lies on the tab strip's client area.
TwipsRect dicGridRect(int panelWidth, int panelHeight);
