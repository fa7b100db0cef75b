// The fuzz target reads files without the printed form, as a program without a GUI measures
// nothing on paper: no value's fit and no 2D code enter the checks.
#include "declaration/declarationcode.h"
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

QString fieldTooLongForCode(const FormAccess &)
{
    return {};
}

} // namespace decl
