#pragma once

#include <QFont>
#include <QStringList>

namespace rt {

// Makes the fonts the windows were designed with available to Qt. Metric-compatible outlines
// of "Tahoma" and "MS Sans Serif" ship in a folder that fontconfig does not search, so they
// are registered as application fonts. A missing file is skipped: the family then falls back
// to a similar, usually wider, system font, and controls size themselves to their texts.
// Loads each file once per process; returns the families available after the call.
QStringList loadDesignFonts();

// The report windows' font: Tahoma 8 points, which is 11 pixels at 96 pixels per inch. Given
// in pixels so that the dialogs look the same whatever resolution the screen reports.
QFont dialogFont();

} // namespace rt
