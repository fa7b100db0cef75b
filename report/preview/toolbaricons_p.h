#pragma once

#include <QIcon>
#include <QString>

namespace rep {

// The 16 × 16 toolbar pictures of the preview window, drawn in code; named after the button
// they belong to (PrintB, ZoomWholePageB, ...). An unknown name gives an empty frame.
QIcon previewToolbarIcon(const QString &buttonName);

} // namespace rep
