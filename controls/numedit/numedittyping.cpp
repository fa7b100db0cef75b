#include "numedittyping_p.h"

#include "runtime/floatconv.h"

#include <algorithm>
#include <iterator>
#include <limits>

namespace ctl::typing {

namespace {

constexpr QChar kE = QLatin1Char('E');
constexpr QChar kMinus = QLatin1Char('-');
constexpr QChar kZero = QLatin1Char('0');

constexpr int maxExponent = std::numeric_limits<long double>::max_exponent10;

bool isAsciiDigit(QChar ch)
{
    return ch >= QLatin1Char('0') && ch <= QLatin1Char('9');
}

// Exponent digits with no sign and no leading zero.
bool exponentDigitsExceed(QStringView digits)
{
    if (digits.size() > 4)
        return true;
    bool ok = false;
    const int v = digits.isEmpty() ? 0 : digits.toInt(&ok);
    return (digits.isEmpty() || ok) && v > maxExponent;
}

// The decimal digit string one unit larger ("199" gives "200", "99" gives "100").
QString incremented(QString digits)
{
    for (qsizetype i = digits.size() - 1; i >= 0; --i) {
        if (digits[i] != QLatin1Char('9')) {
            digits[i] = QChar(digits[i].unicode() + 1);
            return digits;
        }
        digits[i] = kZero;
    }
    return QLatin1Char('1') + digits;
}

bool converts(const QString &text)
{
    long double v = 0;
    return rt::TryStrToFloat(text, v);
}

} // namespace

bool exponentExceeds(QStringView exp)
{
    QStringView digits = exp.startsWith(kMinus) ? exp.mid(1) : exp;
    while (digits.startsWith(kZero))
        digits = digits.mid(1);
    return exponentDigitsExceed(digits);
}

Typist::Typist(const Rules &rules) : m_rules(rules)
{
    std::fill(std::begin(m_refusedAt), std::end(m_refusedAt), ~0u);
}

bool Typist::load(const QString &text, int caret)
{
    const QChar sep = m_rules.decimalSeparator;
    const QChar thou = m_rules.thousandSeparator;
    auto filterOwn = [](QChar c) { return isAsciiDigit(c) || c == kMinus || c == kE || c == QLatin1Char('e'); };
    if (sep == thou || filterOwn(sep) || filterOwn(thou))
        return false;
    qsizetype sepAt = -1;
    qsizetype eAt = -1;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text[i];
        if (isAsciiDigit(ch) || ch == kMinus)
            continue;
        if (ch == thou && sepAt < 0 && eAt < 0)
            continue;
        if (ch == sep && sepAt < 0 && eAt < 0) {
            sepAt = i;
            continue;
        }
        if (ch == kE && eAt < 0) {
            eAt = i;
            continue;
        }
        return false;
    }
    const qsizetype n = text.size();
    const qsizetype aEnd = sepAt >= 0 ? sepAt : (eAt >= 0 ? eAt : n);
    m_seg[A] = text.left(aEnd);
    m_seg[B] = sepAt >= 0 ? text.mid(sepAt + 1, (eAt >= 0 ? eAt : n) - sepAt - 1) : QString();
    m_seg[C] = eAt >= 0 ? text.mid(eAt + 1) : QString();
    m_hasSep = sepAt >= 0;
    m_hasE = eAt >= 0;
    // Dropping the thousands separators would bring a "-" behind them to the front (" -5"
    // reads as -5); the counts below do not follow that.
    bool thouSeen = false;
    for (QChar ch : std::as_const(m_seg[A])) {
        if (ch == thou)
            thouSeen = true;
        else if (ch != kMinus)
            break;
        else if (thouSeen)
            return false;
    }
    m_caret = qBound(0, caret, int(n));
    recount(A);
    recount(B);
    recount(C);
    m_counts.digits = ++m_stamps;
    m_counts.readable = readable();
    m_state = ++m_stamps;
    return true;
}

QString Typist::text() const
{
    QString t = m_seg[A];
    if (m_hasSep) {
        t += m_rules.decimalSeparator;
        t += m_seg[B];
    }
    if (m_hasE) {
        t += kE;
        t += m_seg[C];
    }
    return t;
}

QString Typist::conversionText() const
{
    // Thousands separators stand only in the integer part.
    return text().remove(m_rules.thousandSeparator);
}

int Typist::zeroRunInC() const
{
    const QString &c = m_seg[C];
    int i = expNegative() ? 1 : 0;
    const int start = i;
    while (i < c.size() && c[i] == kZero)
        ++i;
    return i - start;
}

void Typist::recount(Seg seg)
{
    const QString &s = m_seg[seg];
    Counts &k = m_counts;
    switch (seg) {
    case A:
        k.aDigits = k.aMinus = k.aThou = k.aLead = 0;
        k.aFirstNZ = -1;
        for (int i = 0; i < s.size(); ++i) {
            const QChar ch = s[i];
            if (isAsciiDigit(ch)) {
                ++k.aDigits;
                if (k.aFirstNZ < 0 && ch != kZero)
                    k.aFirstNZ = i;
                else if (k.aFirstNZ < 0)
                    ++k.aLead;
            } else if (ch == kMinus) {
                if (i > 0)
                    ++k.aMinus;
            } else {
                ++k.aThou;
            }
        }
        break;
    case B:
        k.bDigits = k.bMinus = 0;
        k.bFirstNZ = -1;
        for (int i = 0; i < s.size(); ++i) {
            const QChar ch = s[i];
            if (isAsciiDigit(ch)) {
                ++k.bDigits;
                if (k.bFirstNZ < 0 && ch != kZero)
                    k.bFirstNZ = i;
            } else {
                ++k.bMinus;
            }
        }
        break;
    case C:
        k.cDigits = k.cMinus = 0;
        for (int i = 0; i < s.size(); ++i) {
            if (isAsciiDigit(s[i]))
                ++k.cDigits;
            else if (i > 0)
                ++k.cMinus;
        }
        k.cZeros = zeroRunInC();
        break;
    }
}

void Typist::note(Undo::Kind kind, Seg seg, int index, QChar ch)
{
    Q_ASSERT(m_undoCount < 2);
    m_undo[m_undoCount++] = Undo{kind, seg, index, ch};
}

void Typist::takeBack()
{
    while (m_undoCount > 0) {
        const Undo &u = m_undo[--m_undoCount];
        QString &s = m_seg[u.seg];
        switch (u.kind) {
        case Undo::None:
            break;
        case Undo::Inserted:
            s.remove(u.index, 1);
            break;
        case Undo::Prepended:
            s.remove(0, 1);
            break;
        case Undo::RemovedFront:
            s.prepend(u.ch);
            break;
        case Undo::Replaced:
            s[u.index] = u.ch;
            break;
        case Undo::SepCreated:
            m_seg[A] += m_seg[B];
            m_seg[B].clear();
            m_hasSep = false;
            break;
        case Undo::ECreated:
            m_seg[C].clear();
            m_hasE = false;
            break;
        }
    }
}

void Typist::insertDigit(Seg seg, int index, QChar digit)
{
    note(Undo::Inserted, seg, index);
    Counts &k = m_counts;
    if (seg != C)
        k.digits = ++m_stamps;
    const bool zero = digit == kZero;
    switch (seg) {
    case A:
        if (k.aFirstNZ >= 0 && index > k.aFirstNZ) {
            // behind the first significant digit: one more significant digit
        } else if (!zero) {
            k.aLead = 0;
            for (int i = 0; i < index; ++i)
                if (isAsciiDigit(m_seg[A][i]))
                    ++k.aLead;
            k.aFirstNZ = index;
        } else {
            ++k.aLead;
            if (k.aFirstNZ >= 0)
                ++k.aFirstNZ;
        }
        ++k.aDigits;
        break;
    case B:
        if (k.bFirstNZ >= 0 && index <= k.bFirstNZ)
            k.bFirstNZ = zero ? k.bFirstNZ + 1 : index;
        else if (k.bFirstNZ < 0 && !zero)
            k.bFirstNZ = index;
        ++k.bDigits;
        break;
    case C: {
        const int sign = expNegative() ? 1 : 0;
        if (index <= sign + k.cZeros)
            k.cZeros = zero ? k.cZeros + 1 : index - sign;
        ++k.cDigits;
        break;
    }
    }
    m_seg[seg].insert(index, digit);
}

void Typist::replaceDigit(Seg seg, int index, QChar digit)
{
    QString &s = m_seg[seg];
    note(Undo::Replaced, seg, index, s[index]);
    s[index] = digit;
    Counts &k = m_counts;
    if (seg != C)
        k.digits = ++m_stamps;
    switch (seg) {
    case A:
        // Only a leading "0" is replaced here.
        if (digit != kZero && (k.aFirstNZ < 0 || index < k.aFirstNZ)) {
            k.aLead = 0;
            for (int i = 0; i < index; ++i)
                if (isAsciiDigit(s[i]))
                    ++k.aLead;
            k.aFirstNZ = index;
        }
        break;
    case B:
        recount(B); // a fixed-width fraction: a few digits
        break;
    case C:
        k.cZeros = zeroRunInC();
        break;
    }
}

void Typist::prependMinus(Seg seg)
{
    note(Undo::Prepended, seg, 0);
    QString &s = m_seg[seg];
    const bool frontWasMinus = !s.isEmpty() && s.front() == kMinus;
    if (seg == A) {
        if (frontWasMinus)
            ++m_counts.aMinus;
        if (m_counts.aFirstNZ >= 0)
            ++m_counts.aFirstNZ;
        s.prepend(kMinus);
    } else {
        if (frontWasMinus)
            ++m_counts.cMinus;
        s.prepend(kMinus);
        if (frontWasMinus)
            m_counts.cZeros = zeroRunInC();
    }
}

void Typist::removeFrontMinus(Seg seg)
{
    note(Undo::RemovedFront, seg, 0, kMinus);
    QString &s = m_seg[seg];
    s.remove(0, 1);
    const bool frontIsMinus = !s.isEmpty() && s.front() == kMinus;
    if (seg == A) {
        if (frontIsMinus)
            --m_counts.aMinus;
        if (m_counts.aFirstNZ >= 0)
            --m_counts.aFirstNZ;
    } else if (frontIsMinus) {
        --m_counts.cMinus;
        m_counts.cZeros = zeroRunInC();
    }
}

Outcome Typist::type(QChar ch)
{
    const bool isSep = ch == m_rules.decimalSeparator;
    if (isSep && m_rules.decimals == 0)
        return Outcome::Refused;
    if (!isAsciiDigit(ch) && !isSep && ch != kMinus && ch != kE && ch != QLatin1Char('e'))
        return Outcome::Refused;
    if (ch == QLatin1Char('e'))
        ch = kE;
    const int kind = isAsciiDigit(ch) ? ch.unicode() - '0' : (ch == kMinus ? 10 : (isSep ? 11 : 12));
    if (m_refusedAt[kind] == m_state)
        return Outcome::Refused;

    const Counts saved = m_counts;
    const int caret0 = m_caret;
    const int total0 = total();
    m_undoCount = 0;
    auto refuse = [&](Outcome outcome) {
        takeBack();
        m_counts = saved;
        m_caret = caret0;
        if (outcome == Outcome::Refused)
            m_refusedAt[kind] = m_state;
        return outcome;
    };
    auto accept = [&] {
        m_state = ++m_stamps;
        return Outcome::Accepted;
    };

    const Step s = step(ch);
    switch (s) {
    case Step::Refused: return refuse(Outcome::Refused);
    case Step::TooLong: return refuse(Outcome::TooLong);
    case Step::Unmodelled: return refuse(Outcome::Unmodelled);
    case Step::Moved:
    case Step::Changed: break;
    }
    bool changed = s == Step::Changed;
    bool fixed = false;
    // A mantissa left without a digit in front of "E" gets a "0", as the model's edits do.
    if (m_hasE && m_counts.aDigits == 0 && m_counts.bDigits == 0) {
        const int e = mantissaEnd();
        if (m_hasSep)
            insertDigit(B, int(m_seg[B].size()), kZero);
        else
            insertDigit(A, lenA(), kZero);
        if (m_caret > e)
            ++m_caret;
        changed = fixed = true;
    }
    if (!changed)
        return accept();
    if (total() > m_rules.lengthLimit && total() > total0)
        return refuse(Outcome::TooLong);
    // The number's own sign never changes whether it converts, unless taking it away shows
    // another "-" behind it.
    const bool signOnly = ch == kMinus && !fixed && m_undo[0].seg == A && m_counts.aMinus == saved.aMinus;
    const bool now = signOnly ? saved.readable : readable();
    if (!now && saved.readable)
        return refuse(Outcome::Refused);
    m_counts.readable = now;
    return accept();
}

Typist::Step Typist::step(QChar ch)
{
    const int c0 = m_caret;
    const int a = lenA();
    const int e = m_hasE ? mantissaEnd() : -1; // index of "E"
    const int x0 = e + 1;                        // its 1-based position, 0 without one
    const int d0 = m_hasSep ? a + 1 : 0;         // the separator's 1-based position
    const bool neg = negative();
    if (neg && m_caret == 0)
        m_caret = 1;

    if (ch == m_rules.decimalSeparator) {
        if (d0 > 0) {
            m_caret = d0;
            return Step::Moved;
        }
        int pos = m_caret;
        if (m_rules.decimals < 0)
            pos = m_hasE ? e : total();
        if (pos > a) {
            // Fixed decimals with the caret in the exponent: such a text never converts.
            const int grow = 1 + (m_counts.aDigits == 0 ? 1 : 0);
            if (total() + grow > m_rules.lengthLimit)
                return Step::TooLong;
            return m_counts.readable ? Step::Refused : Step::Unmodelled;
        }
        const QString tail = m_seg[A].mid(pos);
        if (tail.contains(m_rules.thousandSeparator))
            return Step::Unmodelled;
        note(Undo::SepCreated, A, pos);
        m_seg[B] = tail;
        m_seg[A].truncate(pos);
        m_hasSep = true;
        recount(A);
        recount(B);
        m_counts.digits = ++m_stamps;
        m_caret = pos + 1;
        return Step::Changed;
    }
    if (ch == kE) {
        if (x0 > 0) {
            m_caret = x0;
            return Step::Moved;
        }
        note(Undo::ECreated, C, 0);
        m_hasE = true;
        m_seg[C].clear();
        recount(C);
        m_caret = total();
        return Step::Changed;
    }
    if (ch == kMinus) {
        if (x0 > 0 && c0 >= x0) {
            if (expNegative() || m_counts.cMinus > 0) {
                // Only a sign right after "E" can be taken away.
                if (!expNegative())
                    return Step::Refused;
                removeFrontMinus(C);
                m_caret = qMax(c0 - 1, 0);
            } else {
                prependMinus(C);
                m_caret = c0 + 1;
            }
        } else if (neg) {
            removeFrontMinus(A);
            m_caret = qMax(c0 - 1, 0);
        } else {
            prependMinus(A);
            m_caret = c0 + 1;
        }
        return Step::Changed;
    }
    return typeDigit(ch);
}

Typist::Step Typist::typeDigit(QChar ch)
{
    const int c = m_caret;
    const int a = lenA();
    const QString &sa = m_seg[A];
    const QString &sc = m_seg[C];
    auto replaced = [&](Seg seg, int index, int caret) {
        m_caret = caret;
        if (m_seg[seg][index] == ch)
            return Step::Moved;
        replaceDigit(seg, index, ch);
        return Step::Changed;
    };
    // A leading zero is replaced rather than kept in front of the digit.
    if (c <= 2 && a >= 2 && sa[0] == kMinus && sa[1] == kZero)
        return replaced(A, 1, 2);
    if (c <= 1 && a >= 1 && sa[0] == kZero)
        return replaced(A, 0, 1);
    const int e = m_hasE ? mantissaEnd() : -1;
    if (e >= 0 && c == e + 1 && !sc.isEmpty() && sc[0] == kZero)
        return replaced(C, 0, c + 1);
    if (e >= 0 && c > e) {
        int k = c - (e + 1);
        // A digit never goes in front of the exponent's sign.
        if (k == 0 && expNegative())
            ++k;
        // The exponent this digit would make, without building it: only what follows the
        // sign and the leading zeros counts, and beyond four such digits it is too large.
        const int sign = expNegative() ? 1 : 0;
        int zeros = m_counts.cZeros;
        if (k <= sign + zeros)
            zeros = ch == kZero ? zeros + 1 : k - sign;
        const int rest = int(sc.size()) + 1 - sign - zeros;
        if (rest > 4)
            return Step::Refused;
        QString digits;
        for (int i = sign + zeros; i <= sc.size(); ++i)
            digits += i < k ? sc[i] : (i == k ? ch : sc[i - 1]);
        if (exponentDigitsExceed(digits))
            return Step::Refused;
        insertDigit(C, k, ch);
        m_caret = e + 1 + k + 1;
        return Step::Changed;
    }
    const int decimals = m_rules.decimals;
    const int sp = m_hasSep ? a : -1;
    if (decimals >= 1 && sp >= 0 && c > sp) {
        // A fixed number of places: the fraction is overwritten, never lengthened.
        if (c - sp - 1 >= decimals)
            return Step::Refused;
        if (c < mantissaEnd())
            return replaced(B, c - sp - 1, c + 1);
        insertDigit(B, c - sp - 1, ch);
        m_caret = c + 1;
        return Step::Changed;
    }
    if (c <= a)
        insertDigit(A, c, ch);
    else
        insertDigit(B, c - a - 1, ch);
    m_caret = c + 1;
    return Step::Changed;
}

bool Typist::readable() const
{
    const Counts &k = m_counts;
    if (k.aMinus > 0 || k.bMinus > 0 || k.cMinus > 0)
        return false;
    if (m_hasE && !m_hasSep && k.aDigits == 0)
        return false;
    if (!m_hasE && !m_hasSep && k.aDigits == 0)
        return true; // "" or "-" once the thousands separators are gone: 0
    const long long significant = k.aFirstNZ >= 0 ? k.aDigits - k.aLead : 0;
    const bool fractionNonZero = k.bFirstNZ >= 0;
    const long long fractionZeros = fractionNonZero ? k.bFirstNZ : k.bDigits;
    if (significant == 0 && !fractionNonZero)
        return true;
    return converts(significant, fractionZeros);
}

// What the runtime's conversion gives for this (well-formed, non-zero) text, worked out as
// NumEditModel::isReadable does from its magnitude (counted as rt::scanFloat counts it, but from
// the running counts) and, at the type's limit, from its leading digits, so that it is not
// converted: a conversion near 10^4932 costs microseconds, and a paste may ask millions of times.
bool Typist::converts(long long significant, long long fractionZeros) const
{
    const Counts &k = m_counts;
    const QString &c = m_seg[C];
    const int sign = expNegative() ? 1 : 0;
    const bool exponentDigits = m_hasE && k.cDigits > 0;
    long long exponent = 0;
    if (exponentDigits) {
        if (k.cDigits - k.cZeros > 15) {
            exponent = 1000000000000000LL;
        } else {
            for (int i = sign + k.cZeros; i < c.size(); ++i)
                exponent = exponent * 10 + (c[i].unicode() - '0');
        }
        if (sign)
            exponent = -exponent;
    }
    const long long base = significant > 0 ? significant : -fractionZeros;
    switch (rt::magnitudeFit(exponent + base)) { // value = 0.ddd × 10^(exponent + base)
    case rt::MagnitudeFit::Converts: return true;
    case rt::MagnitudeFit::Overflows: return false;
    case rt::MagnitudeFit::DigitsDecide: break;
    }

    // 0.ddd × 10^4933 against the smallest value that no longer fits, 0.11897314953572317650…
    // × 10^4933: the first 19 digits decide unless they are the limit's own. The answer holds
    // until a digit changes.
    if (m_leadDigits != k.digits) {
        m_leadDigits = k.digits;
        m_lead = compareLead(significant);
    }
    switch (m_lead) {
    case Lead::Below: return true;
    case Lead::Above: return false;
    case Lead::Unsure: break;
    }
    return typing::converts(conversionText()); // the limit's own 30 digits: read them all
}

Typist::Lead Typist::compareLead(long long significant) const
{
    const Counts &k = m_counts;
    const QString &sa = m_seg[A];
    const QString &sb = m_seg[B];
    // The significant digits in order: A's from its first non-zero one, then B's.
    int ia = significant > 0 ? k.aFirstNZ : int(sa.size());
    int ib = significant > 0 ? 0 : k.bFirstNZ;
    auto next = [&]() -> QChar {
        while (ia < sa.size() && !isAsciiDigit(sa[ia]))
            ++ia;
        if (ia < sa.size())
            return sa[ia++];
        return ib < sb.size() ? sb[ib++] : QChar();
    };
    // A shorter number compares as if padded with zeros; the limit's digits are not all zeros.
    static const QString limitLead = QStringLiteral("1189731495357231765");
    QString lead;
    for (QChar l : limitLead) {
        const QChar d = next();
        if (d.isNull())
            return Lead::Below;
        if (d != l)
            return d < l ? Lead::Below : Lead::Above;
        lead += d;
    }
    // The limit's own first digits: bracket the value between two short numbers.
    constexpr int keep = 30;
    while (lead.size() < keep) {
        const QChar d = next();
        if (d.isNull())
            break;
        lead += d;
    }
    const int count = significant > 0 ? int(significant) + k.bDigits : k.bDigits - k.bFirstNZ;
    const QString scale = QString(kE) + QString::number(4933 - lead.size());
    if (!typing::converts(lead + scale))
        return Lead::Above;
    if (count <= keep || typing::converts(incremented(lead) + scale))
        return Lead::Below;
    return Lead::Unsure;
}

} // namespace ctl::typing
