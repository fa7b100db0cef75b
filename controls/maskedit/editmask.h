#pragma once

#include <QChar>
#include <QList>
#include <QString>

#include <functional>

namespace ctl {

// What one position of a pattern accepts besides the blank character.
enum class PositionClass {
    None,               // only the blank character
    Literal,            // the literal itself
    Digit,              // 0-9
    NonZeroDigit,       // 1-9
    DigitOrSpace,       // 0-9 and the space
    Bit,                // 0 and 1
    SignedDigit,        // + - 0-9
    SignedNonZeroDigit, // + - 1-9
    Sign,               // + -
    LowerLetter,
    UpperLetter,
    Letter,
    LetterOrDigit,
    UserRule            // decided by the OnUserRule callback
};

struct MaskPosition
{
    PositionClass cls = PositionClass::None;
    QChar literal;
    bool required = false;
};

// The user-rule callback: starts with Ok = false; `at` is the 1-based position.
using UserRule = std::function<void(bool &Ok, QChar c, int at)>;

// A parsed mask of the pattern kind: one entry per text position.
class EditMask
{
public:
    EditMask() = default;
    explicit EditMask(const QString &mask);

    int size() const { return int(m_positions.size()); }
    const MaskPosition &position(int index) const { return m_positions.at(index); } // 0-based

    // The text with literals in place and the blank character everywhere else.
    QString blankPattern(QChar blank) const;

    // Acceptance of one character at a 1-based position; nothing is accepted after the last.
    bool accepts(QChar c, int at, QChar blank, const UserRule &rule = {}) const;
    // Whether c belongs to the class of the position, the blank character not counting.
    bool inClass(QChar c, int at, const UserRule &rule = {}) const;

    // Valid: not longer than the pattern and every character accepted at its own position.
    bool isValid(const QString &text, QChar blank, const UserRule &rule = {}) const;

    // The first required position (1-based) whose character does not belong to its class, or 0.
    int firstUnfilledRequired(const QString &text, const UserRule &rule = {}) const;

private:
    QList<MaskPosition> m_positions;
};

} // namespace ctl
