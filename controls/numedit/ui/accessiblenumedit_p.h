#pragma once

namespace ctl {

// Registers the accessible interface of TNumEdit with Qt's factory once: a line edit whose text
// changes only by keys, so that every character passes the field's filter.
void installNumEditAccessibility();

} // namespace ctl
