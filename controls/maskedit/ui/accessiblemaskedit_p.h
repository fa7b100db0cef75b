#pragma once

namespace ctl {

// Registers the accessible interface of TCtlMaskEdit with Qt's factory once; Qt creates an
// interface only when something asks for one.
void installMaskEditAccessibility();

} // namespace ctl
