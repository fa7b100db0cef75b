#include "controls/numedit/numeditmodel.h"

#include "numedittyping_p.h"
#include "runtime/floatconv.h"
#include "runtime/formatsettings.h"

#include <cmath>
#include <utility>

namespace ctl {

namespace {

constexpr QChar kE = QLatin1Char('E');
constexpr QChar kMinus = QLatin1Char('-');
constexpr QChar kZero = QLatin1Char('0');

QChar decSep()
{
    return rt::formatSettings().decimalSeparator;
}

QChar thouSep()
{
    return rt::formatSettings().thousandSeparator;
}

bool isAsciiDigit(QChar ch)
{
    return ch >= QLatin1Char('0') && ch <= QLatin1Char('9');
}

// Digits in front of the decimal separator, the sign not counted.
int integerDigits(const QString &s)
{
    int n = 0;
    for (QChar ch : s) {
        if (ch == decSep() || ch == kE)
            break;
        if (isAsciiDigit(ch))
            ++n;
    }
    return n;
}

// Appends zeros (and the separator when there is none) until the fraction has n digits.
void padFraction(QString &s, int n)
{
    qsizetype sp = s.indexOf(decSep());
    if (sp < 0) {
        s += decSep();
        sp = s.size() - 1;
    }
    const qsizetype have = s.size() - sp - 1;
    if (have < n)
        s += QString(n - have, kZero);
}

QString standardForm(long double v, int decimals)
{
    if (decimals < 0)
        return rt::formatFixed(v, 14, 0);
    if (decimals == 0)
        return rt::formatFixed(v, 0, 0);
    QString s = rt::formatFixed(v, decimals, decimals);
    if (s.contains(kE) || !std::isfinite(v))
        return s;
    // Only 15 significant digits are worth showing; the rest of the width is zeros.
    const int k = integerDigits(s);
    if (15 - k < decimals) {
        const int f = qMax(15 - k, 0);
        s = rt::formatFixed(v, f, f);
        padFraction(s, decimals);
    }
    return s;
}

QString exponentForm(long double v, int decimals, bool engineering)
{
    if (!std::isfinite(v))
        return rt::FloatToStr(v);
    rt::DecimalDigits d = rt::toDecimal(v, decimals < 0 ? 15 : decimals + 1);
    int exp10 = d.digits.isEmpty() ? 0 : d.exponent - 1;
    int intDigits = 1;
    if (engineering && !d.digits.isEmpty()) {
        auto split = [&] {
            const int e3 = (exp10 >= 0 ? exp10 / 3 : -((-exp10 + 2) / 3)) * 3;
            intDigits = exp10 - e3 + 1;
            exp10 = e3;
        };
        split();
        if (decimals >= 0) {
            d = rt::toDecimal(v, intDigits + decimals);
            exp10 = d.exponent - 1; // a rounding carry may move it up
            split();
        }
    }
    QString digits = d.digits.isEmpty() ? QString(kZero) : d.digits;
    if (digits.size() < intDigits)
        digits += QString(intDigits - digits.size(), kZero);
    QString out;
    if (d.negative)
        out += kMinus;
    out += digits.left(intDigits);
    QString frac = digits.mid(intDigits);
    if (decimals >= 0 && frac.size() < decimals)
        frac += QString(decimals - frac.size(), kZero);
    if (!frac.isEmpty()) {
        out += decSep();
        out += frac;
    }
    out += kE;
    if (exp10 < 0)
        out += kMinus;
    out += QString::number(std::abs(exp10));
    return out;
}

QString valueText(const QString &text)
{
    QString t = text;
    t.remove(thouSep());
    if (t.isEmpty())
        return QStringLiteral("0");
    if (t == QStringLiteral("-"))
        return QStringLiteral("-0");
    return t;
}

} // namespace

NumEditModel::NumEditModel() : m_text(QStringLiteral("0"))
{
}

void NumEditModel::setSelection(int anchor, int caret)
{
    const int len = int(m_text.size());
    m_anchor = qBound(0, anchor, len);
    m_caret = qBound(0, caret, len);
}

void NumEditModel::placeCaret(int caret)
{
    setSelection(caret, caret);
}

void NumEditModel::setText(const QString &text)
{
    m_text = text;
    m_anchor = m_caret = 0;
    m_canUndo = false;
    m_undoText.clear();
}

void NumEditModel::sync(const QString &text, int anchor, int caret)
{
    if (text != m_text) {
        m_text = text;
        m_canUndo = false;
        m_undoText.clear();
    }
    setSelection(anchor, caret);
}

void NumEditModel::setDecimals(int decimals)
{
    if (decimals < 0)
        decimals = -1;
    if (decimals > 14)
        decimals = 14;
    if (m_maxLength > 0 && m_maxLength < decimals + 2)
        decimals = qMax(m_maxLength - 2, -1);
    m_decimals = decimals;
    setValue(value());
}

void NumEditModel::setNumberFormat(TNumberFormat format)
{
    m_format = format;
    setValue(value());
}

void NumEditModel::setMaxLength(int maxLength)
{
    m_maxLength = qMax(maxLength, 0);
}

void NumEditModel::setMinValue(long double v)
{
    if (v > m_maxValue)
        return;
    m_minValue = v;
}

void NumEditModel::setMaxValue(long double v)
{
    if (v < m_minValue)
        return;
    m_maxValue = v;
}

void NumEditModel::setValue(long double v)
{
    const QString s = normalForm(v);
    if (s != m_text)
        setText(s);
}

QString NumEditModel::normalForm(long double v) const
{
    switch (m_format) {
    case TNumberFormat::Standard:
        return standardForm(v, m_decimals);
    case TNumberFormat::Thousands:
        if (m_decimals < 0) {
            const int k = integerDigits(rt::formatFixed(v, 0, 0));
            return rt::groupThousands(rt::formatFixed(v, qMax(15 - k, 0), 0), thouSep());
        }
        return rt::groupThousands(standardForm(v, m_decimals), thouSep());
    case TNumberFormat::Scientific:
        return exponentForm(v, m_decimals, false);
    case TNumberFormat::Engineering:
        return exponentForm(v, m_decimals, true);
    }
    return standardForm(v, m_decimals);
}

long double NumEditModel::valueOf(const QString &text)
{
    return rt::StrToFloat(valueText(text));
}

bool NumEditModel::isReadable(const QString &text)
{
    const QString t = valueText(text);
    const rt::FloatScan scan = rt::scanFloat(t);
    if (!scan.valid)
        return false;
    if (scan.zero)
        return true;
    // Only the largest values take a conversion: a long paste asks this for every character.
    switch (rt::magnitudeFit(scan.magnitude)) {
    case rt::MagnitudeFit::Converts: return true;
    case rt::MagnitudeFit::Overflows: return false;
    case rt::MagnitudeFit::DigitsDecide: break;
    }
    long double v = 0;
    return rt::TryStrToFloat(t, v);
}

void NumEditModel::restore(const State &s)
{
    m_text = s.text;
    m_anchor = s.anchor;
    m_caret = s.caret;
}

int NumEditModel::lengthLimit() const
{
    // QLineEdit's own limit when none is set.
    return m_maxLength > 0 ? m_maxLength : 32767;
}

void NumEditModel::fixDigitlessMantissa()
{
    // "E5" or "-E5" (left by deleting the mantissa's last digit) would not convert: the
    // mantissa keeps a "0", as a lone integer digit does when it is deleted.
    const qsizetype e = m_text.indexOf(kE);
    if (e < 0)
        return;
    for (qsizetype i = 0; i < e; ++i)
        if (isAsciiDigit(m_text[i]))
            return;
    m_text.insert(e, kZero);
    if (m_caret > e)
        ++m_caret;
    if (m_anchor > e)
        ++m_anchor;
}

template<typename Step>
NumEditModel::EditResult NumEditModel::edit(Step step)
{
    const State before = state();
    if (!step()) {
        restore(before);
        return EditResult::Refused;
    }
    fixDigitlessMantissa();
    if (m_text == before.text)
        return EditResult::Done;
    if (m_text.size() > lengthLimit() && m_text.size() > before.text.size()) {
        restore(before);
        return EditResult::TooLong;
    }
    // No keystroke turns a number into a text that exit processing cannot read.
    if (!isReadable(m_text) && isReadable(before.text)) {
        restore(before);
        return EditResult::Refused;
    }
    m_undoText = before.text;
    m_canUndo = true;
    return EditResult::Done;
}

bool NumEditModel::typeChar(QChar ch)
{
    if (m_readOnly)
        return false;
    return edit([&] { return filterChar(ch); }) == EditResult::Done;
}

bool NumEditModel::filterChar(QChar ch)
{
    const QChar sep = decSep();
    const bool isSep = ch == sep;
    if (isSep && m_decimals == 0)
        return false;
    const bool digit = isAsciiDigit(ch);
    if (!digit && !isSep && ch != kMinus && ch != kE && ch != QLatin1Char('e'))
        return false;

    const int c0 = selStart();
    const int d0 = int(m_text.indexOf(sep)) + 1;
    const int x0 = int(m_text.indexOf(kE)) + 1;
    if (ch == QLatin1Char('e'))
        ch = kE;

    if (isSep || ch == kE)
        placeCaret(c0);
    else
        selectionRule();

    const bool neg = m_text.startsWith(kMinus);
    if (neg && m_caret == 0)
        placeCaret(1);

    if (isSep) {
        if (d0 > 0) {
            placeCaret(d0);
            return true;
        }
        int pos = m_caret;
        if (m_decimals < 0) {
            const qsizetype e = m_text.indexOf(kE);
            pos = int(e < 0 ? m_text.size() : e);
        }
        m_text.insert(pos, sep);
        placeCaret(pos + 1);
        return true;
    }
    if (ch == kE) {
        if (x0 > 0) {
            placeCaret(x0);
        } else {
            m_text.append(kE);
            placeCaret(int(m_text.size()));
        }
        return true;
    }
    if (ch == kMinus) {
        // Positions after the selection rule: it only removes characters behind c0.
        const int x = int(m_text.indexOf(kE)) + 1;
        if (x0 > 0 && c0 >= x0 && x > 0) {
            const bool expneg = m_text.indexOf(kMinus, x) >= 0;
            if (expneg) {
                if (x >= m_text.size() || m_text[x] != kMinus)
                    return false;
                m_text.remove(x, 1);
                placeCaret(c0 - 1);
            } else {
                m_text.insert(x, kMinus);
                placeCaret(c0 + 1);
            }
        } else if (neg) {
            m_text.remove(0, 1);
            placeCaret(c0 - 1);
        } else {
            m_text.insert(0, kMinus);
            placeCaret(c0 + 1);
        }
        return true;
    }
    return typeDigit(ch);
}

bool NumEditModel::typeDigit(QChar ch)
{
    int c = m_caret;
    const int len = int(m_text.size());
    // A leading zero is replaced rather than kept in front of the digit.
    if (c <= 2 && len >= 2 && m_text[0] == kMinus && m_text[1] == kZero) {
        m_text[1] = ch;
        placeCaret(2);
        return true;
    }
    if (c <= 1 && len >= 1 && m_text[0] == kZero) {
        m_text[0] = ch;
        placeCaret(1);
        return true;
    }
    const int e = int(m_text.indexOf(kE));
    if (e >= 0 && c == e + 1 && c < len && m_text[c] == kZero) {
        m_text[c] = ch;
        placeCaret(c + 1);
        return true;
    }
    if (e >= 0 && c > e) {
        // A digit never goes in front of the exponent's sign.
        if (c == e + 1 && c < len && m_text[c] == kMinus)
            ++c;
        QString exp = m_text.mid(e + 1);
        exp.insert(c - (e + 1), ch);
        if (typing::exponentExceeds(exp))
            return false;
        m_text.insert(c, ch);
        placeCaret(c + 1);
        return true;
    }
    if (m_decimals < 1) {
        m_text.insert(c, ch);
        placeCaret(c + 1);
        return true;
    }
    const int sp = int(m_text.indexOf(decSep()));
    if (sp >= 0 && c > sp) {
        // A fixed number of places: the fraction is overwritten, never lengthened.
        if (c - sp - 1 >= m_decimals)
            return false;
        const int end = e >= 0 ? e : len;
        if (c < end)
            m_text[c] = ch;
        else
            m_text.insert(c, ch);
        placeCaret(c + 1);
        return true;
    }
    m_text.insert(c, ch);
    placeCaret(c + 1);
    return true;
}

bool NumEditModel::keyBackspace()
{
    return removeKey(false);
}

bool NumEditModel::keyDelete()
{
    return removeKey(true);
}

bool NumEditModel::removeKey(bool isDelete)
{
    if (m_readOnly)
        return false;
    return edit([&] {
               if (hasSelection())
                   selectionRule();
               else
                   oneCharRule(isDelete);
               return true;
           })
        == EditResult::Done;
}

void NumEditModel::oneCharRule(bool isDelete)
{
    const QChar sep = decSep();
    const int len = int(m_text.size());
    const int c = m_caret;
    // b: the 1-based position of the character to remove.
    int b = 0;
    if (isDelete) {
        if (c + 1 > len)
            return;
        b = c + 1;
    } else {
        if (c == 0)
            return;
        b = c;
    }
    const QChar target = m_text[b - 1];
    if (target == kE || target == thouSep() || target == sep)
        b += isDelete ? 1 : -1;
    if (b <= 0 || b > len)
        return;
    const int d = int(m_text.indexOf(sep)) + 1;
    const qsizetype eIdx = m_text.indexOf(kE);
    const int e = eIdx >= 0 ? int(eIdx) + 1 : len + 1;

    if (d > 0 && d < b && b < e) {
        m_text.remove(b - 1, 1);
        if (m_decimals > 0)
            m_text.insert(e - 2, kZero); // keeps the fraction's width
        placeCaret(b - 1);
        return;
    }
    if (b == 1 && m_text.contains(kMinus)) {
        m_text.remove(0, 1);
        if (m_text.isEmpty())
            m_text = QStringLiteral("0");
        placeCaret(0);
        return;
    }
    if (b == 1 && (len == 1 || m_text[1] == sep || m_text[1] == kE)) {
        m_text[0] = kZero;
        placeCaret(1);
        return;
    }
    m_text.remove(b - 1, 1);
    placeCaret(b - 1);
    if ((m_format == TNumberFormat::Scientific || m_format == TNumberFormat::Engineering) && m_text.endsWith(kE))
        m_text.append(kZero);
}

void NumEditModel::selectionRule()
{
    if (!hasSelection())
        return;
    const int ss = selStart();
    const int sl = selLength();
    if (sl == m_text.size()) {
        m_text = normalForm(0);
        placeCaret(0);
        return;
    }
    const QString sel = m_text.mid(ss, sl);
    const QChar th = thouSep();
    int n = 0;
    for (QChar ch : sel)
        if (ch != th)
            ++n;
    if (n == 0)
        n = 1;
    else if (sel.contains(decSep()))
        --n;
    if (sel == QStringLiteral("-"))
        n = 2;
    placeCaret(ss + sl);
    for (int i = 0; i < n; ++i)
        oneCharRule(false);
}

QString NumEditModel::copyText() const
{
    return valueText(selectedText());
}

QString NumEditModel::cut()
{
    const QString clip = copyText();
    if (hasSelection() && !m_readOnly)
        edit([&] {
            selectionRule();
            return true;
        });
    return clip;
}

int NumEditModel::paste(const QString &clip)
{
    if (m_readOnly)
        return int(clip.size());
    const State before = state();
    const QString undoText = m_undoText;
    const bool canUndo = m_canUndo;
    if (hasSelection())
        edit([&] {
            selectionRule();
            return true;
        });
    const int refused = typeAll(clip);
    if (!clip.isEmpty() && refused == clip.size()) {
        // Nothing of it could be typed: the selection it was to replace stays.
        restore(before);
        m_undoText = undoText;
        m_canUndo = canUndo;
        return refused;
    }
    if (m_text != before.text) {
        m_undoText = before.text;
        m_canUndo = true;
    }
    return refused;
}

int NumEditModel::typeAll(QStringView chars)
{
    // A character through edit() costs a copy and a scan of the whole text; a long paste goes
    // through the typist, which keeps its cost per character small, and falls back to edit()
    // only for texts it does not model (set from outside, with letters and the like).
    typing::Typist typist({decSep(), thouSep(), m_decimals, lengthLimit()});
    bool fast = typist.load(m_text, m_caret);
    auto leaveTypist = [&] {
        m_text = typist.text();
        placeCaret(typist.caret());
        fast = false;
    };
    int refused = 0;
    for (qsizetype i = 0; i < chars.size(); ++i) {
        const QChar ch = chars[i];
        const char16_t u = ch.unicode();
        // Ctrl+C, Ctrl+V and Ctrl+X inside the pasted text are refused like any control
        // character: taken as commands, a pasted Ctrl+V would paste itself without end.
        if (u == 3 || u == 22 || u == 24) {
            ++refused;
            continue;
        }
        EditResult result = EditResult::Done;
        typing::Outcome outcome = typing::Outcome::Unmodelled;
        if (fast)
            outcome = typist.type(ch);
        switch (outcome) {
        case typing::Outcome::Accepted: result = EditResult::Done; break;
        case typing::Outcome::Refused: result = EditResult::Refused; break;
        case typing::Outcome::TooLong: result = EditResult::TooLong; break;
        case typing::Outcome::Unmodelled:
            if (fast)
                leaveTypist();
            result = edit([&] { return filterChar(ch); });
            break;
        }
        if (result == EditResult::Refused) {
            ++refused;
        } else if (result == EditResult::TooLong) {
            refused += int(chars.size() - i);
            break;
        }
    }
    if (fast)
        leaveTypist();
    return refused;
}

void NumEditModel::undo()
{
    if (!m_canUndo || m_readOnly)
        return;
    // One level, as the edit control keeps it: undoing again restores the change.
    std::swap(m_text, m_undoText);
    placeCaret(int(m_text.size()));
}

void NumEditModel::deleteSelection()
{
    if (!hasSelection() || m_readOnly)
        return;
    const QString before = m_text;
    const int ss = selStart();
    m_text.remove(ss, selLength());
    placeCaret(ss);
    m_undoText = before;
    m_canUndo = true;
}

NumEditModel::ExitResult NumEditModel::exitProcessing()
{
    const long double v = value();
    setValue(v);
    if (hasRange() && (v < m_minValue || v > m_maxValue))
        return ExitResult::OutOfRange;
    return ExitResult::Accepted;
}

void NumEditModel::clampToRange()
{
    const long double v = value();
    if (v < m_minValue)
        setValue(m_minValue);
    else if (v > m_maxValue)
        setValue(m_maxValue);
}

} // namespace ctl
