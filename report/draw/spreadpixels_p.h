#pragma once

#include <span>

namespace rep::draw {

// Spreads count pixels (each +1, or -1 when count is negative) over values by recursive
// halving: every position first gets an equal share when there are at least as many pixels as
// positions, a single pixel goes to the last position of the first half, and otherwise half of
// the pixels go to each half. Nothing happens with no positions.
void spreadPixels(int count, std::span<int> values);

} // namespace rep::draw
