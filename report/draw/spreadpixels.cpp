#include "spreadpixels_p.h"

#include <cstdlib>

namespace rep::draw {

namespace {

void spread(int pixels, int sign, int *values, int n)
{
    // Recursion depth is log2(n): each level at least halves the range.
    if (pixels == 0 || n <= 0)
        return;
    if (pixels >= n) {
        const int each = pixels / n * sign;
        for (int i = 0; i < n; ++i)
            values[i] += each;
        pixels %= n;
        if (pixels == 0)
            return;
    }
    const int first = n / 2 > 0 ? n / 2 : 1;
    if (pixels == 1) {
        values[first - 1] += sign;
        return;
    }
    spread(pixels / 2, sign, values, first);
    spread(pixels - pixels / 2, sign, values + first, n - first);
}

} // namespace

void spreadPixels(int count, std::span<int> values)
{
    spread(std::abs(count), count < 0 ? -1 : 1, values.data(), static_cast<int>(values.size()));
}

} // namespace rep::draw
