#pragma once

#include <QString>

#include <optional>

namespace decl {

// How much of a field's value the printed declaration shows: the value laid out in its memo of
// the template as the printer lays it out (600-dpi measure, whole lines from the top).
struct PrintFit
{
    qsizetype total = 0; // characters of the value, the remark's line breaks not counted
    qsizetype shown = 0;
    bool whole = true;
};

// Empty for a key the template does not print as a memo of its own, and where no fonts can be
// measured (an application without a GUI). The value may be any size: measuring stops where its
// box is full.
std::optional<PrintFit> printFit(const QString &key, const QString &value);

// The reason a value will not be printed whole, empty when it fits.
QString printFitProblem(const QString &key, const QString &value);

} // namespace decl
