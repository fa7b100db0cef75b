#include "runtime/floatconv.h"

#include "runtime/errors.h"
#include "runtime/formatsettings.h"

#include <charconv>
#include <cmath>
#include <limits>
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

// The one reader of number texts: the form, the magnitude and, when `ascii` is given, the
// number spelt as std::from_chars reads it.
FloatScan scan(QStringView text, QChar sep, std::string *ascii)
{
    FloatScan out;
    const qsizetype n = text.size();
    qsizetype i = 0;
    auto isDigit = [&](qsizetype k) { return k < n && text[k] >= u'0' && text[k] <= u'9'; };
    auto put = [&](char c) {
        if (ascii)
            ascii->push_back(c);
    };
    while (i < n && text[i] == u' ')
        ++i;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        out.negative = text[i] == u'-';
        if (out.negative)
            put('-');
        ++i;
    }
    bool consumed = false;
    bool anyDigit = false;
    long long significant = 0; // integer digits from the first non-zero one
    while (isDigit(i)) {
        if (significant > 0 || text[i] != u'0')
            ++significant;
        put(char(text[i].unicode()));
        ++i;
        consumed = anyDigit = true;
    }
    long long fractionZeros = 0; // fraction digits in front of its first non-zero one
    bool fractionNonZero = false;
    if (i < n && text[i] == sep) {
        ++i;
        consumed = true;
        put('.');
        while (isDigit(i)) {
            if (!fractionNonZero && text[i] == u'0')
                ++fractionZeros;
            else
                fractionNonZero = true;
            put(char(text[i].unicode()));
            ++i;
            anyDigit = true;
        }
    }
    if (!consumed)
        return out;
    if (!anyDigit)
        put('0'); // a lone separator reads as zero
    long long exponent = 0;
    if (i < n && (text[i] == u'E' || text[i] == u'e')) {
        ++i;
        bool expNegative = false;
        if (i < n && (text[i] == u'+' || text[i] == u'-')) {
            expNegative = text[i] == u'-';
            ++i;
        }
        const qsizetype expStart = i;
        int expDigits = 0; // from the first non-zero one
        while (isDigit(i)) {
            if (expDigits > 0 || text[i] != u'0') {
                if (++expDigits <= 15)
                    exponent = exponent * 10 + (text[i].unicode() - u'0');
            }
            ++i;
        }
        if (expDigits > 15)
            exponent = 1000000000000000LL; // beyond any range: only the sign of the total matters
        if (expNegative)
            exponent = -exponent;
        if (i > expStart) {
            put('e');
            if (expNegative)
                put('-');
            for (qsizetype k = expStart; k < i; ++k)
                put(char(text[k].unicode()));
        }
    }
    while (i < n && text[i] == u' ')
        ++i;
    if (i != n)
        return out;
    out.valid = true;
    out.zero = significant == 0 && !fractionNonZero;
    if (!out.zero)
        out.magnitude = (significant > 0 ? significant : -fractionZeros) + exponent;
    return out;
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
    std::string ascii;
    const FloatScan scanned = scan(text, formatSettings().decimalSeparator, &ascii);
    if (!scanned.valid)
        return false;
    long double v = 0;
    const char *first = ascii.data();
    const char *last = first + ascii.size();
    auto res = std::from_chars(first, last, v);
    if (res.ec == std::errc::result_out_of_range) {
        // Underflow reads as zero; only an overflow of the extended range is an error.
        if (!scanned.zero && scanned.magnitude > 0)
            return false;
        value = scanned.negative ? -0.0L : 0.0L;
        return true;
    }
    if (res.ec != std::errc() || res.ptr != last || !std::isfinite(v))
        return false;
    value = v;
    return true;
}

FloatScan scanFloat(QStringView text)
{
    return scan(text, formatSettings().decimalSeparator, nullptr);
}

MagnitudeFit magnitudeFit(long long magnitude)
{
    // The largest value is 0.1189… × 10^4933.
    constexpr long long top = std::numeric_limits<long double>::max_exponent10 + 1;
    if (magnitude < top)
        return MagnitudeFit::Converts;
    return magnitude > top ? MagnitudeFit::Overflows : MagnitudeFit::DigitsDecide;
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

QString groupThousands(QStringView number, QChar separator)
{
    if (number.contains(u'E'))
        return number.toString();
    const qsizetype signLen = number.startsWith(u'-') ? 1 : 0;
    qsizetype intEnd = number.indexOf(formatSettings().decimalSeparator);
    if (intEnd < 0)
        intEnd = number.size();
    QString out = number.left(signLen).toString();
    out += groupDigits(number.mid(signLen, intEnd - signLen), separator);
    out += number.mid(intEnd);
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
