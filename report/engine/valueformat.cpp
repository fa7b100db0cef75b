#include "valueformat_p.h"

#include "runtime/floatconv.h"
#include "runtime/formatsettings.h"

#include <cmath>

namespace rep {

bool isStringValue(const QVariant &value)
{
    return value.metaType().id() == QMetaType::QString || value.metaType().id() == QMetaType::QChar;
}

static bool isDateTime(const QVariant &value)
{
    const int id = value.metaType().id();
    return id == QMetaType::QDateTime || id == QMetaType::QDate || id == QMetaType::QTime;
}

static QDateTime toDateTime(const QVariant &value)
{
    switch (value.metaType().id()) {
    case QMetaType::QDate: return QDateTime(value.toDate(), QTime(0, 0));
    case QMetaType::QTime: return QDateTime(zeroDate(), value.toTime());
    default: return value.toDateTime();
    }
}

QString plainText(const QVariant &value)
{
    if (!value.isValid() || isNullValue(value))
        return QString();
    switch (value.metaType().id()) {
    case QMetaType::QString: return value.toString();
    case QMetaType::QChar: return QString(value.toChar());
    case QMetaType::Bool: return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort: return value.toString();
    case QMetaType::Double:
    case QMetaType::Float: return rt::FloatToStr(value.toDouble());
    default: break;
    }
    if (isDateTime(value)) {
        const QDateTime dt = toDateTime(value);
        const QString date = dt.date().toString(rt::formatSettings().shortDateFormat);
        const QString time = dt.time().toString(QStringLiteral("H:mm:ss"));
        if (dt.time() == QTime(0, 0))
            return date;
        if (dt.date() == zeroDate())
            return time;
        return date + QLatin1Char(' ') + time;
    }
    return value.toString();
}

bool valueToNumber(const QVariant &value, double &number)
{
    if (!value.isValid() || isNullValue(value))
        return false;
    if (isStringValue(value)) {
        long double x = 0;
        if (!rt::TryStrToFloat(value.toString(), x))
            return false;
        number = double(x);
        return true;
    }
    if (isDateTime(value)) {
        number = toDateSerial(toDateTime(value));
        return true;
    }
    bool ok = false;
    number = value.toDouble(&ok);
    return ok;
}

bool valueToBool(const QVariant &value, bool &result)
{
    if (value.metaType().id() == QMetaType::Bool) {
        result = value.toBool();
        return true;
    }
    if (isStringValue(value)) {
        const QString s = value.toString();
        if (s.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0) {
            result = true;
            return true;
        }
        if (s.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0) {
            result = false;
            return true;
        }
    }
    double x = 0;
    if (!valueToNumber(value, x))
        return false;
    result = x != 0;
    return true;
}

TrepFormat parseFormatSuffix(const QString &suffix)
{
    TrepFormat format;
    if (suffix.isEmpty())
        return format;
    format.FormatStr = suffix.mid(1, 255);
    switch (suffix.at(0).unicode()) {
    case 'N':
    case 'n':
        format.Kind = fkNumeric;
        for (QChar &c : format.FormatStr) {
            if (c == QLatin1Char(',') || c == QLatin1Char('-') || c == QLatin1Char('.')) {
                format.DecimalSeparator = QString(c);
                c = QLatin1Char('.');
            }
        }
        break;
    case 'D':
    case 'T':
    case 'd':
    case 't': format.Kind = fkDateTime; break;
    case 'B':
    case 'b': format.Kind = fkBoolean; break;
    default: format.Kind = fkText; break;
    }
    return format;
}

static QChar decimalChar(const QString &decimalSeparator)
{
    return decimalSeparator.size() == 1 ? decimalSeparator.at(0) : rt::formatSettings().decimalSeparator;
}

// Fixed notation with at most maxFraction and at least minFraction digits, "." as the point.
static QString fixedDigits(double value, int maxFraction, int minFraction)
{
    QString s = QString::number(std::fabs(value), 'f', std::clamp(maxFraction, 0, 18));
    if (s.contains(QLatin1Char('.'))) {
        qsizetype keep = s.size();
        const qsizetype point = s.indexOf(QLatin1Char('.'));
        while (keep > point + 1 + minFraction && s.at(keep - 1) == QLatin1Char('0'))
            --keep;
        if (keep == point + 1)
            --keep;
        s.truncate(keep);
    }
    return s;
}

bool formatNumberPicture(double value, const QString &picture, const QString &decimalSeparator, QString &out)
{
    if (!std::isfinite(value))
        return false;
    // Sections: positive;negative;zero. Quoted text is literal.
    QStringList sections;
    QString current;
    QChar quote;
    for (const QChar c : picture) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            current += c;
        } else if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            quote = c;
            current += c;
        } else if (c == QLatin1Char(';')) {
            sections << current;
            current.clear();
        } else {
            current += c;
        }
    }
    sections << current;
    QString section = sections.first();
    bool sign = value < 0;
    if (value < 0 && sections.size() > 1 && !sections.at(1).isEmpty()) {
        section = sections.at(1);
        sign = false;
    } else if (value == 0 && sections.size() > 2 && !sections.at(2).isEmpty()) {
        section = sections.at(2);
    }

    QString prefix, suffix;
    int intZeros = 0, fracZeros = 0, fracMax = 0;
    bool grouping = false, point = false, inNumber = false, afterNumber = false;
    quote = QChar();
    for (const QChar c : section) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            else
                (inNumber || afterNumber ? suffix : prefix) += c;
            continue;
        }
        if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            quote = c;
            if (inNumber)
                afterNumber = true;
            continue;
        }
        const bool numberChar = c == QLatin1Char('0') || c == QLatin1Char('#') || c == QLatin1Char('.')
                                || c == QLatin1Char(',');
        if (numberChar && !afterNumber) {
            inNumber = true;
            if (c == QLatin1Char('.'))
                point = true;
            else if (c == QLatin1Char(','))
                grouping = grouping || !point;
            else if (!point)
                intZeros += c == QLatin1Char('0');
            else {
                ++fracMax;
                fracZeros += c == QLatin1Char('0');
            }
            continue;
        }
        if (inNumber)
            afterNumber = true;
        (afterNumber ? suffix : prefix) += c;
    }
    if (!inNumber) {
        out = prefix + suffix;
        return true;
    }
    const QString digits = fixedDigits(value, fracMax, fracZeros);
    QString intPart = digits.section(QLatin1Char('.'), 0, 0);
    const QString fracPart = digits.contains(QLatin1Char('.')) ? digits.section(QLatin1Char('.'), 1) : QString();
    if (intPart == QLatin1String("0") && intZeros == 0)
        intPart.clear();
    while (intPart.size() < intZeros)
        intPart.prepend(QLatin1Char('0'));
    if (grouping)
        intPart = rt::groupDigits(intPart, rt::formatSettings().thousandSeparator);
    QString number = intPart;
    if (!fracPart.isEmpty())
        number += decimalChar(decimalSeparator) + fracPart;
    const bool zero = digits.count(QLatin1Char('0')) + digits.count(QLatin1Char('.')) == digits.size();
    out = (sign && !zero ? QStringLiteral("-") : QString()) + prefix + number + suffix;
    return true;
}

bool formatNumberPattern(double value, const QString &pattern, const QString &decimalSeparator, QString &out)
{
    if (!std::isfinite(value))
        return false;
    QString result;
    bool used = false;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern.at(i);
        if (c != QLatin1Char('%')) {
            result += c;
            continue;
        }
        if (i + 1 < pattern.size() && pattern.at(i + 1) == QLatin1Char('%')) {
            result += c;
            ++i;
            continue;
        }
        if (used)
            return false; // one argument only
        used = true;
        qsizetype k = i + 1;
        bool left = false;
        if (k < pattern.size() && pattern.at(k) == QLatin1Char('-')) {
            left = true;
            ++k;
        }
        int width = 0;
        while (k < pattern.size() && pattern.at(k).isDigit() && width < 1000)
            width = width * 10 + pattern.at(k++).digitValue();
        int precision = -1;
        if (k < pattern.size() && pattern.at(k) == QLatin1Char('.')) {
            ++k;
            precision = 0;
            while (k < pattern.size() && pattern.at(k).isDigit() && precision < 100)
                precision = precision * 10 + pattern.at(k++).digitValue();
        }
        if (k >= pattern.size())
            return false;
        const QChar type = pattern.at(k).toLower();
        QString text;
        const QChar point = decimalChar(decimalSeparator);
        if (type == QLatin1Char('f')) {
            text = QString::number(value, 'f', std::min(precision < 0 ? 2 : precision, 18));
        } else if (type == QLatin1Char('e')) {
            text = QString::number(value, 'E', std::clamp(precision < 0 ? 14 : precision - 1, 0, 18));
        } else if (type == QLatin1Char('g')) {
            text = QString::number(value, 'g', std::clamp(precision < 0 ? 15 : precision, 1, 18));
        } else if (type == QLatin1Char('n') || type == QLatin1Char('m')) {
            const QString fixed = QString::number(std::fabs(value), 'f', std::min(precision < 0 ? 2 : precision, 18));
            const QString intPart = fixed.section(QLatin1Char('.'), 0, 0);
            const QString frac = fixed.contains(QLatin1Char('.')) ? fixed.section(QLatin1Char('.'), 1) : QString();
            text = (value < 0 ? QStringLiteral("-") : QString())
                   + rt::groupDigits(intPart, rt::formatSettings().thousandSeparator);
            if (!frac.isEmpty())
                text += QLatin1Char('.') + frac;
        } else if (type == QLatin1Char('d')) {
            if (value != std::floor(value) || std::fabs(value) > 9.2e18)
                return false;
            text = QString::number(qint64(value));
            if (precision > 0) {
                const bool negative = text.startsWith(QLatin1Char('-'));
                QString digits = negative ? text.mid(1) : text;
                while (digits.size() < precision)
                    digits.prepend(QLatin1Char('0'));
                text = negative ? QLatin1Char('-') + digits : digits;
            }
        } else {
            return false;
        }
        text.replace(QLatin1Char('.'), point);
        while (text.size() < width)
            text = left ? text + QLatin1Char(' ') : QLatin1Char(' ') + text;
        result += text;
        i = k;
    }
    out = result;
    return true;
}

QString formatDateTimePicture(const QDateTime &value, const QString &picture)
{
    QString out;
    const QString p = picture;
    bool lastWasHour = false;
    for (qsizetype i = 0; i < p.size();) {
        const QChar c = p.at(i);
        if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            const qsizetype end = p.indexOf(c, i + 1);
            const qsizetype stop = end < 0 ? p.size() : end;
            out += p.mid(i + 1, stop - i - 1);
            i = stop + 1;
            continue;
        }
        qsizetype run = 1;
        while (i + run < p.size() && p.at(i + run).toLower() == c.toLower())
            ++run;
        const QChar l = c.toLower();
        const QDate d = value.date();
        const QTime t = value.time();
        const auto padded = [](int field, int digits) {
            return QStringLiteral("%1").arg(field, digits, 10, QLatin1Char('0'));
        };
        // A field written with at least `digits` letters is zero-padded to that many digits.
        const auto number = [run, &padded](int field, int digits) {
            return run >= digits ? padded(field, digits) : QString::number(field);
        };
        if (l == QLatin1Char('y')) {
            out += run <= 2 ? padded(d.year() % 100, 2) : QString::number(d.year());
        } else if (l == QLatin1Char('m')) {
            if (lastWasHour && run <= 2)
                out += number(t.minute(), 2);
            else if (run >= 4)
                out += QLocale().monthName(d.month());
            else if (run == 3)
                out += QLocale().monthName(d.month(), QLocale::ShortFormat);
            else
                out += number(d.month(), 2);
        } else if (l == QLatin1Char('d')) {
            if (run >= 4)
                out += QLocale().dayName(d.dayOfWeek());
            else if (run == 3)
                out += QLocale().dayName(d.dayOfWeek(), QLocale::ShortFormat);
            else
                out += number(d.day(), 2);
        } else if (l == QLatin1Char('h')) {
            out += number(t.hour(), 2);
        } else if (l == QLatin1Char('n')) {
            out += number(t.minute(), 2);
        } else if (l == QLatin1Char('s')) {
            out += number(t.second(), 2);
        } else if (l == QLatin1Char('z')) {
            out += number(t.msec(), 3);
        } else {
            out += p.mid(i, run);
        }
        if (l == QLatin1Char('h'))
            lastWasHour = true;
        else if (l != QLatin1Char(':') && !l.isSpace())
            lastWasHour = false;
        i += run;
    }
    return out;
}

QString formatValue(const QVariant &value, const TrepFormat &format)
{
    if (!value.isValid() || isNullValue(value))
        return QString();
    QString out;
    switch (format.Kind) {
    case fkText: break;
    case fkNumeric: {
        double x = 0;
        if (!valueToNumber(value, x))
            break;
        const bool ok = format.FormatStr.startsWith(QLatin1Char('#'))
                            ? formatNumberPicture(x, format.FormatStr, format.DecimalSeparator, out)
                            : formatNumberPattern(x, format.FormatStr, format.DecimalSeparator, out);
        if (ok)
            return out;
        break;
    }
    case fkDateTime: {
        QDateTime dt;
        if (isDateTime(value)) {
            dt = toDateTime(value);
        } else {
            double x = 0;
            if (!valueToNumber(value, x))
                break;
            dt = fromDateSerial(x);
        }
        return formatDateTimePicture(dt, format.FormatStr);
    }
    case fkBoolean: {
        const qsizetype comma = format.FormatStr.indexOf(QLatin1Char(','));
        bool b = false;
        if (comma < 0 || !valueToBool(value, b))
            break;
        return b ? format.FormatStr.mid(comma + 1) : format.FormatStr.left(comma);
    }
    }
    return plainText(value);
}

} // namespace rep
