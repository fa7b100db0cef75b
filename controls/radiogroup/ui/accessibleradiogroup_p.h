#pragma once

namespace ctl {

// Registers the accessible interfaces of the radio group and its buttons with Qt's factory once.
void installRadioGroupAccessibility();

} // namespace ctl
