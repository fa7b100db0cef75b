#pragma once

namespace ctl {

// Registers the accessible interface of the section panels with Qt's factory once.
void installToolPanelAccessibility();

} // namespace ctl
