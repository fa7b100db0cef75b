#include "declaration/taxcomputation.h"

#include "declaration/formaccess.h"
#include "runtime/errors.h"
#include "runtime/floatconv.h"

#include <cmath>

using namespace Qt::StringLiterals;

namespace decl {

using rt::FloatToStr;
using rt::StrToFloat;

namespace {

long double field(const FormAccess &form, const char16_t *component)
{
    return StrToFloat(form.text(QString::fromUtf16(component)));
}
} // namespace

QString taxCaption(long double base)
{
    const double k = static_cast<double>(base);
    const long double product = static_cast<long double>(k) * taxRate;
    // Any value of magnitude 2^63 or more (and NaN) cannot be stored as a 64-bit integer.
    constexpr long double limit = 9223372036854775808.0L; // 2^63
    const long double rounded = std::nearbyintl(product); // round to nearest, ties to even
    if (!(std::fabs(rounded) < limit))
        throw rt::EInvalidOp();
    const long long amount = static_cast<long long>(rounded);
    QString text = FloatToStr(static_cast<long double>(amount));
    // From 10^15 on FloatToStr turns scientific; group the exact integer instead.
    if (text.contains(QLatin1Char('E')))
        text = QString::number(amount);
    return rt::groupThousands(text, QLatin1Char('.')) + QStringLiteral(" Ft.");
}

void szamolas(FormAccess &form)
{
    // 1. c = a - b
    const long double a = field(form, u"NumEdit1");
    const long double b = field(form, u"NumEdit2");
    form.setCaption(u"Label1"_s, FloatToStr(a - b));

    // 2. j = d - e - f - g - h - i, each field read just before its subtraction
    long double x = field(form, u"NumEdit3");
    x = x - field(form, u"NumEdit4");
    x = x - field(form, u"NumEdit5");
    x = x - field(form, u"NumEdit6");
    x = x - field(form, u"NumEdit7");
    form.setCaption(u"Label2"_s, FloatToStr(x - field(form, u"NumEdit8")));

    // 3. k = c - j, from the 15-digit captions
    const long double c = StrToFloat(form.caption(u"Label1"_s));
    const long double j = StrToFloat(form.caption(u"Label2"_s));
    form.setCaption(u"Label3"_s, FloatToStr(c - j));

    // 4.-8. the tax
    const long double k = StrToFloat(form.caption(u"Label3"_s));
    form.setCaption(u"Label4"_s, taxCaption(k));
}

} // namespace decl
