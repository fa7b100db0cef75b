#pragma once

namespace rep {
class TrepReport;
}

namespace decl {

// Reads the printed declaration (report settings, Page1 and Page2 with their objects) into the
// report from the program's compiled-in stored form. The report keeps its events and store.
void loadReportTemplate(rep::TrepReport &report);

} // namespace decl
