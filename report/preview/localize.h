#pragma once

#include <QString>

class QWidget;

namespace rep {

// Applies a window entry of the text resources: lines "Property=Value" set the window's own
// property, lines "Control.Property=Value" the property of the child with that object name.
// Caption and Hint map onto the Qt text properties (windowTitle, text, title, toolTip); a line
// naming a control the window lacks is skipped.
void localizeWindow(QWidget *window, const QString &lines);

} // namespace rep
