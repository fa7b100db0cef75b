// The fuzz target reads files without fonts, as a program without a GUI does: no value is
// measured on paper, so the checks give no fit findings.
#include "declaration/printfit.h"

namespace decl {

std::optional<PrintFit> printFit(const QString &, const QString &)
{
    return std::nullopt;
}

QString printFitProblem(const QString &, const QString &)
{
    return {};
}

} // namespace decl
