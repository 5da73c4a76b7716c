#pragma once

#include "base/vb_units.h"

#include <vector>

// Where a window with a stored rectangle goes: onto the screen that holds most of
// it (the primary screen when none holds any), moved so that the whole window
// lies on that screen. Its size is kept unless it is larger than the screen.
// All in twips; screens are their usable areas, primary indexes them.
TwipsRect fitOnScreens(const TwipsRect& window, const std::vector<TwipsRect>& screens, std::size_t primary);

// The usable areas of the screens attached now, and the primary one's index.
std::vector<TwipsRect> screenAreas(std::size_t* primary);
