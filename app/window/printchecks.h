#pragma once

namespace app {

class FormView;

// The checks before the declaration leaves the program (printed, saved as PDF). Without findings
// it returns true at once. With findings it marks their fields and shows "Ellenőrzés": true after
// "Nyomtatás így is"; false after "Javítás", with the focus put into the chosen field.
bool confirmChecks(FormView &form);

} // namespace app
