#pragma once

#include "report/preview/previewoptions.h"

#include <QSize>
#include <QString>

#include <optional>

namespace rep {

// The smallest zoom that set zoom accepts; the fitted modes have no lower limit.
inline constexpr double kMinZoom = 0.25;
// The largest: pages further enlarged would only be drawn slower, and their pixel positions
// would soon leave the range of the integers that scroll bars and rectangles hold.
inline constexpr double kMaxZoom = 64;

// The zoom box text for a zoom: round(zoom × 100) followed by "%".
QString zoomText(double zoom);

// The zoom typed into the zoom box: the first "%" becomes a blank, blanks are removed,
// "," and "." become the locale's decimal separator, and the number is divided by 100.
// Returns nothing for a text that is left empty; throws rt::EConvertError for a text that is
// not a number.
std::optional<double> parseZoomText(const QString &text);

// The zoom a mode gives for the current page and the workspace client size; zmDefault keeps
// the current zoom. An empty page, or a client too small to fit anything, keeps it as well.
double fittedZoom(TrepZoomMode mode, QSize pageSize, QSize clientSize, double currentZoom);

} // namespace rep
