#pragma once

#include <QChar>
#include <QString>
#include <QStringView>

namespace ctl::typing {

// What the character filter works with besides the text.
struct Rules
{
    QChar decimalSeparator;
    QChar thousandSeparator;
    int decimals = -1;
    int lengthLimit = 32767;
};

// How one typed character ended.
enum class Outcome {
    Accepted,   // applied (possibly only moving the caret)
    Refused,    // refused by the filter or because the text would stop converting
    TooLong,    // refused because the text would pass the length limit
    Unmodelled  // the result leaves what Typist models: type this one the slow way
};

// Whether an exponent text (an optional "-" and digits) exceeds the extended type's limit.
bool exponentExceeds(QStringView exp);

// The character filter for long runs of characters (a paste). It gives, character for
// character, what NumEditModel's filter gives, including the refusal of a keystroke that would
// leave a convertible text unconvertible, but keeps the number split where the filter looks
// (sign and integer part, separator, fraction, "E", exponent) with running counts, so that a
// character costs about the same whatever the length of the text.
class Typist
{
public:
    explicit Typist(const Rules &rules);

    // False when the text holds something this split cannot represent (letters, a second
    // separator, thousands separators outside the integer part); the slow way is left then.
    bool load(const QString &text, int caret);

    // One character, with no selection. Refused characters leave the state as it was.
    Outcome type(QChar ch);

    QString text() const;
    int caret() const { return m_caret; }

private:
    enum Seg { A, B, C }; // sign and integer part; fraction; exponent with its sign

    struct Counts
    {
        int aDigits = 0;
        int aMinus = 0;    // "-" in A after its first character
        int aThou = 0;
        int aFirstNZ = -1; // index of A's first non-zero digit
        int aLead = 0;     // digits in A before aFirstNZ (all of them when there is none)
        int bDigits = 0;
        int bMinus = 0;
        int bFirstNZ = -1;
        int cDigits = 0;
        int cMinus = 0;    // "-" in C after its first character
        int cZeros = 0;    // "0" characters that follow C's optional sign
        unsigned digits = 0; // changes whenever a digit of A or B does
        bool readable = true;
    };

    // How to take back one change to the segments when a keystroke is refused late.
    struct Undo
    {
        enum Kind { None, Inserted, Prepended, RemovedFront, Replaced, SepCreated, ECreated } kind = None;
        Seg seg = A;
        int index = 0;
        QChar ch;
    };

    enum class Step { Refused, TooLong, Unmodelled, Moved, Changed };

    Step step(QChar ch);
    Step typeDigit(QChar ch);

    int lenA() const { return int(m_seg[A].size()); }
    int mantissaEnd() const { return lenA() + (m_hasSep ? 1 + int(m_seg[B].size()) : 0); }
    int total() const { return mantissaEnd() + (m_hasE ? 1 + int(m_seg[C].size()) : 0); }
    bool negative() const { return !m_seg[A].isEmpty() && m_seg[A].front() == QLatin1Char('-'); }
    bool expNegative() const { return !m_seg[C].isEmpty() && m_seg[C].front() == QLatin1Char('-'); }

    // Changes that keep the counts current and note how to take them back.
    void insertDigit(Seg seg, int index, QChar digit);
    void replaceDigit(Seg seg, int index, QChar digit);
    void prependMinus(Seg seg);
    void removeFrontMinus(Seg seg);
    void note(Undo::Kind kind, Seg seg, int index, QChar ch = {});
    void takeBack();

    void recount(Seg seg);
    int zeroRunInC() const;
    bool readable() const;
    bool converts(long long significant, long long fractionZeros) const;
    // How the leading digits compare with the type's limit.
    enum class Lead { Below, Above, Unsure };
    Lead compareLead(long long significant) const;
    QString conversionText() const;

    Rules m_rules;
    QString m_seg[3];
    bool m_hasSep = false;
    bool m_hasE = false;
    int m_caret = 0;
    Counts m_counts;
    Undo m_undo[2];
    int m_undoCount = 0;
    unsigned m_stamps = 0;
    // The state's stamp, new with every accepted keystroke, and the stamp at which each of the
    // characters "0" … "9", "-", separator, "E" was last refused: refused again at once.
    unsigned m_state = 0;
    unsigned m_refusedAt[13];
    // compareLead's answer for the digits with this stamp.
    mutable unsigned m_leadDigits = 0;
    mutable Lead m_lead = Lead::Unsure;
};

} // namespace ctl::typing
