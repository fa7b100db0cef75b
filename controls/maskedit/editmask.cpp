#include "controls/maskedit/editmask.h"

namespace ctl {

namespace {
bool isDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }
bool isSign(QChar c) { return c == QLatin1Char('+') || c == QLatin1Char('-'); }
} // namespace

EditMask::EditMask(const QString &mask)
{
    bool required = false;
    for (qsizetype i = 0; i < mask.size(); ++i) {
        const QChar m = mask.at(i);
        if (m == QLatin1Char('!')) {
            required = true;
            continue;
        }
        MaskPosition p;
        switch (m.unicode()) {
        case '\\':
            if (i + 1 < mask.size()) {
                p.cls = PositionClass::Literal;
                p.literal = mask.at(++i);
                break;
            }
            [[fallthrough]]; // a trailing backslash escapes nothing
        default:
            // Repeats the element before it; the first element has no class.
            if (!m_positions.isEmpty()) {
                p.cls = m_positions.last().cls;
                p.literal = m_positions.last().literal;
            }
            break;
        case '0': p.cls = PositionClass::Digit; break;
        case '9': p.cls = PositionClass::NonZeroDigit; break;
        case '8': p.cls = PositionClass::DigitOrSpace; break;
        case '1': p.cls = PositionClass::Bit; break;
        case '#': p.cls = PositionClass::SignedDigit; break;
        case '*': p.cls = PositionClass::SignedNonZeroDigit; break;
        case 'v': p.cls = PositionClass::Sign; break;
        case 'a': p.cls = PositionClass::LowerLetter; break;
        case 'A': p.cls = PositionClass::UpperLetter; break;
        case 'b': p.cls = PositionClass::Letter; break;
        case 'c': p.cls = PositionClass::LetterOrDigit; break;
        case 'r': p.cls = PositionClass::UserRule; break;
        }
        p.required = required;
        required = false;
        m_positions.append(p);
    }
}

QString EditMask::blankPattern(QChar blank) const
{
    QString s;
    s.reserve(m_positions.size());
    for (const MaskPosition &p : m_positions)
        s.append(p.cls == PositionClass::Literal ? p.literal : blank);
    return s;
}

bool EditMask::inClass(QChar c, int at, const UserRule &rule) const
{
    if (at < 1 || at > size())
        return false;
    const MaskPosition &p = m_positions.at(at - 1);
    switch (p.cls) {
    case PositionClass::None: return false;
    case PositionClass::Literal: return c == p.literal;
    case PositionClass::Digit: return isDigit(c);
    case PositionClass::NonZeroDigit: return isDigit(c) && c != QLatin1Char('0');
    case PositionClass::DigitOrSpace: return isDigit(c) || c == QLatin1Char(' ');
    case PositionClass::Bit: return c == QLatin1Char('0') || c == QLatin1Char('1');
    case PositionClass::SignedDigit: return isSign(c) || isDigit(c);
    case PositionClass::SignedNonZeroDigit: return isSign(c) || (isDigit(c) && c != QLatin1Char('0'));
    case PositionClass::Sign: return isSign(c);
    case PositionClass::LowerLetter: return c.isLetter() && c.isLower();
    case PositionClass::UpperLetter: return c.isLetter() && c.isUpper();
    case PositionClass::Letter: return c.isLetter();
    case PositionClass::LetterOrDigit: return c.isLetterOrNumber();
    case PositionClass::UserRule: {
        bool ok = false;
        if (rule)
            rule(ok, c, at);
        return ok;
    }
    }
    return false;
}

bool EditMask::accepts(QChar c, int at, QChar blank, const UserRule &rule) const
{
    if (at < 1 || at > size())
        return false;
    return c == blank || inClass(c, at, rule);
}

bool EditMask::isValid(const QString &text, QChar blank, const UserRule &rule) const
{
    if (text.size() > size())
        return false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!accepts(text.at(i), int(i) + 1, blank, rule))
            return false;
    }
    return true;
}

int EditMask::firstUnfilledRequired(const QString &text, const UserRule &rule) const
{
    for (int i = 0; i < size(); ++i) {
        if (!m_positions.at(i).required)
            continue;
        if (i >= text.size() || !inClass(text.at(i), i + 1, rule))
            return i + 1;
    }
    return 0;
}

} // namespace ctl
