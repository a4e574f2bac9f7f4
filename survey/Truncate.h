#pragma once

#include <cmath>

// Real-to-integer conversion for drawing coordinates: truncation toward zero (7.9 -> 7, -0.5 -> 0).
// NaN becomes 0 and values beyond the drawable range (infinities included) are held at its edge,
// so a degenerate scale or a damaged project can never turn into undefined behaviour.
constexpr int DrawCoordLimit = 1 << 24;

inline int truncToInt(double value)
{
    if (std::isnan(value))
        return 0;
    if (value >= DrawCoordLimit)
        return DrawCoordLimit;
    if (value <= -DrawCoordLimit)
        return -DrawCoordLimit;
    return static_cast<int>(value); // in range now, so the cast truncates toward zero
}
