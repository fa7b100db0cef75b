#pragma once

namespace ctl {

// The look of a field whose value fails a check, the same on every kind of control: a light red
// ground that keeps black text readable, inside a red frame. Values are QRgb (#AARRGGBB).
inline constexpr unsigned warningGroundRgb = 0xFFFFE4E1;
inline constexpr unsigned warningFrameRgb = 0xFFD00000;

} // namespace ctl
