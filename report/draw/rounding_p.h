#pragma once

#include <cmath>

namespace rep::draw {

// Nearest integer, ties to the even neighbour; clamped so that absurd geometry cannot overflow.
inline int roundEven(double v)
{
    if (!(v > -1e9))
        return v != v ? 0 : -1000000000;
    if (v > 1e9)
        return 1000000000;
    return static_cast<int>(std::nearbyint(v));
}

// Nearest integer, ties away from zero (the platform's font size conversions).
inline int roundAway(double v)
{
    if (!(v > -1e9))
        return v != v ? 0 : -1000000000;
    if (v > 1e9)
        return 1000000000;
    return static_cast<int>(std::round(v));
}

} // namespace rep::draw
