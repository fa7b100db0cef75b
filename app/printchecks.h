#pragma once

namespace app {

class TForm1;

// The checks before the declaration leaves the program (printed, saved as PDF). Without findings
// it returns true at once. With findings it marks their fields and shows "Ellenőrzés": true after
// "Nyomtatás így is"; false after "Javítás", with the focus put into the chosen field.
bool confirmChecks(TForm1 &form);

} // namespace app
