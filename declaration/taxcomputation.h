#pragma once

#include <QString>

namespace decl {

class FormAccess;

// The land-tax rate in forint per square metre per year.
inline constexpr int taxRate = 209;

// The computation of section III: reads the area fields and the captions of Label1 ... Label3
// as it needs them and writes each label as soon as its value is known. Throws the conversion
// error for a text that is not a number and EInvalidOp when the tax does not fit 64 bits;
// labels written before the error stay written.
void szamolas(FormAccess &form);

// The tax caption for a tax base: k rounded to double, times the rate, rounded half to even,
// grouped with ".".
QString taxCaption(long double base);

} // namespace decl
