#include "runtime/floatconv.h"

#include "runtime/errors.h"
#include "runtime/formatsettings.h"

#include <charconv>
#include <cmath>
#include <string>
#include <system_error>

namespace rt {

namespace {

// Rounds a digit string half up at `keep` digits; a carry may lengthen the number.
void roundDigits(std::string &digits, int &exponent, int keep)
{
    if (keep < 0) {
        digits.clear();
        return;
    }
    if (keep >= static_cast<int>(digits.size())) {
        while (!digits.empty() && digits.back() == '0')
            digits.pop_back();
        return;
    }
    const bool up = digits[keep] >= '5';
    digits.resize(keep);
    if (up) {
        int i = keep - 1;
        while (i >= 0 && digits[i] == '9') {
            digits[i] = '0';
            --i;
        }
        if (i < 0) {
            // All kept digits were nines: the result is one unit of the next place up.
            digits.assign(1, '1');
            ++exponent;
        } else {
            ++digits[i];
        }
    }
    while (!digits.empty() && digits.back() == '0')
        digits.pop_back();
}

QString toQString(const std::string &s)
{
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

} // namespace

DecimalDigits toDecimal(long double value, int precision)
{
    DecimalDigits out;
    if (value == 0 || !std::isfinite(value))
        return out;
    out.negative = std::signbit(value);
    char buf[64];
    // 18 significant digits, correctly rounded: the digits the processor's decimal store yields.
    auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific, 17);
    std::string text(buf, res.ptr);
    const auto ePos = text.find('e');
    std::string digits;
    for (std::size_t i = 0; i < ePos; ++i)
        if (text[i] >= '0' && text[i] <= '9')
            digits.push_back(text[i]);
    int exp10 = std::stoi(text.substr(ePos + 1));
    int exponent = exp10 + 1;
    roundDigits(digits, exponent, precision);
    out.digits = toQString(digits);
    out.exponent = exponent;
    if (out.digits.isEmpty())
        out.negative = false;
    return out;
}

bool TryStrToFloat(const QString &text, long double &value)
{
    const QChar sep = formatSettings().decimalSeparator;
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n && text[i] == QLatin1Char(' '))
        ++i;
    std::string ascii;
    if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) {
        if (text[i] == QLatin1Char('-'))
            ascii.push_back('-');
        ++i;
    }
    auto isDigit = [&](qsizetype k) { return k < n && text[k] >= QLatin1Char('0') && text[k] <= QLatin1Char('9'); };
    bool consumed = false;
    bool anyDigit = false;
    while (isDigit(i)) {
        ascii.push_back(char(text[i].unicode()));
        ++i;
        consumed = anyDigit = true;
    }
    if (i < n && text[i] == sep) {
        ++i;
        consumed = true;
        ascii.push_back('.');
        while (isDigit(i)) {
            ascii.push_back(char(text[i].unicode()));
            ++i;
            anyDigit = true;
        }
    }
    if (!consumed)
        return false;
    bool nonZeroMantissa = false;
    for (char c : ascii)
        if (c >= '1' && c <= '9')
            nonZeroMantissa = true;
    if (!anyDigit)
        ascii.push_back('0'); // a lone separator reads as zero
    if (i < n && (text[i] == QLatin1Char('E') || text[i] == QLatin1Char('e'))) {
        ++i;
        std::string exp;
        if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) {
            if (text[i] == QLatin1Char('-'))
                exp.push_back('-');
            ++i;
        }
        bool expDigits = false;
        while (isDigit(i)) {
            exp.push_back(char(text[i].unicode()));
            ++i;
            expDigits = true;
        }
        if (expDigits) {
            ascii.push_back('e');
            ascii += exp;
        }
    }
    while (i < n && text[i] == QLatin1Char(' '))
        ++i;
    if (i != n)
        return false;
    long double v = 0;
    const char *first = ascii.data();
    const char *last = first + ascii.size();
    auto res = std::from_chars(first, last, v);
    if (res.ec == std::errc::result_out_of_range) {
        // Underflow reads as zero; only an overflow of the extended range is an error.
        // The magnitude's decimal exponent tells which of the two happened.
        long long magnitude = 0;
        const auto ePos = ascii.find('e');
        if (ePos != std::string::npos) {
            const std::string exp = ascii.substr(ePos + 1);
            const bool negativeExp = exp.front() == '-';
            const auto first = exp.find_first_not_of('0', negativeExp ? 1 : 0);
            if (first != std::string::npos) {
                // Leading zeros count for nothing; beyond 15 digits only the sign of the total matters.
                const std::string digits = exp.substr(first);
                magnitude = digits.size() > 15 ? 1000000000000000LL : std::stoll(digits);
                if (negativeExp)
                    magnitude = -magnitude;
            }
        }
        const std::string mantissa = ascii.substr(0, ePos);
        const auto dot = mantissa.find('.');
        const std::string intPart = mantissa.substr(mantissa.front() == '-' ? 1 : 0,
                                                    dot == std::string::npos ? std::string::npos : dot - (mantissa.front() == '-' ? 1 : 0));
        const auto firstNonZero = intPart.find_first_not_of('0');
        if (firstNonZero != std::string::npos)
            magnitude += static_cast<long long>(intPart.size() - firstNonZero);
        else if (dot != std::string::npos)
            magnitude -= static_cast<long long>(mantissa.find_first_not_of('0', dot + 1) - dot - 1);
        if (!nonZeroMantissa || magnitude <= 0) {
            value = ascii.front() == '-' ? -0.0L : 0.0L;
            return true;
        }
        return false;
    }
    if (res.ec != std::errc() || res.ptr != last || !std::isfinite(v))
        return false;
    value = v;
    return true;
}

long double StrToFloat(const QString &text)
{
    long double v = 0;
    if (!TryStrToFloat(text, v))
        throw EConvertError(QStringLiteral("'%1' is not a valid floating point value").arg(text));
    return v;
}

QString FloatToStr(long double value)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
    const DecimalDigits d = toDecimal(value, 15);
    if (d.digits.isEmpty())
        return QStringLiteral("0");
    const QChar sep = formatSettings().decimalSeparator;
    QString out;
    if (d.negative)
        out += QLatin1Char('-');
    const int e = d.exponent;
    const int nd = int(d.digits.size());
    if (e >= -3 && e <= 15) {
        if (e <= 0) {
            out += QLatin1Char('0');
            out += sep;
            out += QString(-e, QLatin1Char('0'));
            out += d.digits;
        } else if (nd <= e) {
            out += d.digits;
            out += QString(e - nd, QLatin1Char('0'));
        } else {
            out += d.digits.left(e);
            out += sep;
            out += d.digits.mid(e);
        }
        return out;
    }
    out += d.digits.front();
    if (nd > 1) {
        out += sep;
        out += d.digits.mid(1);
    }
    out += QLatin1Char('E');
    out += QString::number(e - 1);
    return out;
}

QString groupDigits(QStringView digits, QChar separator)
{
    QString out;
    const qsizetype n = digits.size();
    out.reserve(n + n / 3);
    for (qsizetype i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            out += separator;
        out += digits[i];
    }
    return out;
}

QString formatFixed(long double value, int maxFraction, int minFraction, int precision)
{
    if (!std::isfinite(value))
        return FloatToStr(value);
    DecimalDigits d = toDecimal(value, 18);
    if (!d.digits.isEmpty() && d.exponent > 18)
        return FloatToStr(value);
    if (!d.digits.isEmpty()) {
        std::string digits = d.digits.toStdString();
        int exponent = d.exponent;
        roundDigits(digits, exponent, std::min(precision, exponent + maxFraction));
        d.digits = toQString(digits);
        d.exponent = exponent;
    }
    QString intPart;
    QString fracPart;
    if (d.digits.isEmpty()) {
        intPart = QStringLiteral("0");
    } else {
        const int e = d.exponent;
        const int nd = int(d.digits.size());
        if (e <= 0) {
            intPart = QStringLiteral("0");
            fracPart = QString(-e, QLatin1Char('0')) + d.digits;
        } else if (nd <= e) {
            intPart = d.digits + QString(e - nd, QLatin1Char('0'));
        } else {
            intPart = d.digits.left(e);
            fracPart = d.digits.mid(e);
        }
    }
    while (fracPart.size() < minFraction)
        fracPart += QLatin1Char('0');
    QString out;
    if (d.negative && !d.digits.isEmpty())
        out += QLatin1Char('-');
    out += intPart;
    if (!fracPart.isEmpty()) {
        out += formatSettings().decimalSeparator;
        out += fracPart;
    }
    return out;
}

} // namespace rt
