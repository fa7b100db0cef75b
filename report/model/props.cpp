#include "report/model/props.h"

#include <QLocale>

namespace rep {

PropTable::PropTable(const PropTable &base, std::initializer_list<PropDef> own)
    : m_defs(base.m_defs)
{
    m_defs.insert(m_defs.end(), own.begin(), own.end());
    index();
}

PropTable::PropTable(std::initializer_list<PropDef> own)
    : m_defs(own)
{
    index();
}

void PropTable::index()
{
    m_byName.clear();
    for (size_t i = 0; i < m_defs.size(); ++i)
        m_byName.insert(QString::fromLatin1(m_defs[i].name).toLower(), int(i));
}

const PropDef *PropTable::find(QStringView name) const
{
    const auto it = m_byName.constFind(name.toString().toLower());
    return it == m_byName.constEnd() ? nullptr : &m_defs[size_t(*it)];
}

PropTable PropTable::filtered(std::initializer_list<const char *> names) const
{
    PropTable t;
    for (const PropDef &d : m_defs) {
        for (const char *n : names) {
            if (qstrcmp(n, d.name) == 0) {
                t.m_defs.push_back(d);
                break;
            }
        }
    }
    t.index();
    return t;
}

QString fmtFloat(double v)
{
    // Shortest text that reads back to the same double, always with a "." decimal point.
    return QString::number(v, 'g', QLocale::FloatingPointShortest);
}

bool parseFloat(const QString &s, double &v)
{
    bool ok = false;
    v = s.toDouble(&ok);
    return ok;
}

QString fmtBool(bool v)
{
    return v ? QStringLiteral("True") : QStringLiteral("False");
}

bool parseBool(const QString &s, bool &v)
{
    if (s.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0 || s == QLatin1String("1")
        || s == QLatin1String("-1")) {
        v = true;
        return true;
    }
    if (s.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0 || s == QLatin1String("0")) {
        v = false;
        return true;
    }
    return false;
}

QString fmtInt(qint64 v)
{
    return QString::number(v);
}

bool parseInt(const QString &s, int &v)
{
    bool ok = false;
    const qlonglong x = s.toLongLong(&ok);
    if (!ok || x < -2147483648LL || x > 4294967295LL)
        return false;
    v = int(x);
    return true;
}

bool parseColor(const QString &s, TColor &v)
{
    bool ok = false;
    const qlonglong x = s.toLongLong(&ok);
    if (!ok || x < -2147483648LL || x > 4294967295LL)
        return false;
    v = TColor(x);
    return true;
}

QString fmtEnum(int v, NameList names)
{
    if (v >= 0 && v < int(names.size()))
        return QString::fromLatin1(names[size_t(v)]);
    return QString::number(v);
}

bool parseEnum(const QString &s, NameList names, int &v)
{
    int i = 0;
    for (const char *n : names) {
        if (s.compare(QLatin1String(n), Qt::CaseInsensitive) == 0) {
            v = i;
            return true;
        }
        ++i;
    }
    bool ok = false;
    const int x = s.toInt(&ok);
    if (ok && x >= 0 && x < int(names.size())) {
        v = x;
        return true;
    }
    return false;
}

QString fmtSet(int bits, NameList names)
{
    QStringList parts;
    int i = 0;
    for (const char *n : names) {
        if (bits & (1 << i))
            parts.append(QString::fromLatin1(n));
        ++i;
    }
    return QLatin1Char('[') + parts.join(QLatin1Char(',')) + QLatin1Char(']');
}

bool parseSet(const QString &s, NameList names, int &bits)
{
    const QString t = s.trimmed();
    if (!t.startsWith(QLatin1Char('[')) || !t.endsWith(QLatin1Char(']')))
        return false;
    bits = 0;
    const QString inner = t.mid(1, t.size() - 2);
    if (inner.trimmed().isEmpty())
        return true;
    for (const QString &part : inner.split(QLatin1Char(','))) {
        int v = 0;
        if (!parseEnum(part.trimmed(), names, v))
            return false;
        bits |= 1 << v;
    }
    return true;
}

QString joinLines(const QStringList &lines)
{
    QString text;
    for (const QString &l : lines) {
        text += l;
        text += QLatin1String("\r\n");
    }
    return text;
}

QStringList splitLines(const QString &text)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            lines.append(text.mid(start, i - start));
            if (c == QLatin1Char('\r') && i + 1 < n && text.at(i + 1) == QLatin1Char('\n'))
                ++i;
            start = i + 1;
        }
        ++i;
    }
    if (start < n)
        lines.append(text.mid(start));
    return lines;
}

} // namespace rep
