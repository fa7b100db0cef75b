#pragma once

#include <QString>

namespace ctl {

enum class TNumberFormat { Standard, Thousands, Scientific, Engineering };

// The editing rules of the numeric field, without any widget: its text, caret and selection,
// the key filter, the clipboard commands and the rewrite into the normal form on exit.
// Positions are 0-based; the caret is the number of characters in front of it, and the
// selection runs from the anchor to the caret. Separators come from rt::formatSettings()
// at the moment of each call.
class NumEditModel
{
public:
    enum class ExitResult { Accepted, OutOfRange };

    NumEditModel();

    const QString &text() const { return m_text; }
    int caret() const { return m_caret; }
    int anchor() const { return m_anchor; }
    int selStart() const { return qMin(m_anchor, m_caret); }
    int selLength() const { return qAbs(m_caret - m_anchor); }
    bool hasSelection() const { return m_anchor != m_caret; }
    QString selectedText() const { return m_text.mid(selStart(), selLength()); }

    // Positions are clamped into the text.
    void setSelection(int anchor, int caret);
    void setCaret(int caret) { setSelection(caret, caret); }
    void selectAll() { setSelection(0, int(m_text.size())); }
    // Sets the text as the edit control does it: no rules, caret at the start, undo emptied.
    void setText(const QString &text);
    // Takes over the state the widget holds; a text other than ours counts as set from outside.
    void sync(const QString &text, int anchor, int caret);

    int decimals() const { return m_decimals; }
    // Clamps to -1 … 14 (and to MaxLength − 2), then rewrites the text in the normal form.
    void setDecimals(int decimals);
    TNumberFormat numberFormat() const { return m_format; }
    void setNumberFormat(TNumberFormat format);
    int maxLength() const { return m_maxLength; }
    void setMaxLength(int maxLength);
    bool readOnly() const { return m_readOnly; }
    void setReadOnly(bool readOnly) { m_readOnly = readOnly; }

    long double minValue() const { return m_minValue; }
    long double maxValue() const { return m_maxValue; }
    // Ignored when it would put MinValue above MaxValue.
    void setMinValue(long double v);
    // Ignored when it would put MaxValue below MinValue.
    void setMaxValue(long double v);
    bool hasRange() const { return m_minValue != 0 || m_maxValue != 0; }

    // Throws rt::EConvertError when the text does not convert.
    long double value() const { return valueOf(m_text); }
    // The text becomes the normal form of v when that differs from it.
    void setValue(long double v);
    QString normalForm(long double v) const;

    // The number a text stands for: thousands separators dropped, "" read as 0 and a lone
    // "-" as -0. Throws rt::EConvertError.
    static long double valueOf(const QString &text);
    static bool isReadable(const QString &text);

    // One typed character through the filter. False when it was refused (the caller beeps).
    bool typeChar(QChar ch);
    // The Backspace and Delete keys. False when refused.
    bool keyBackspace();
    bool keyDelete();

    // What Copy puts on the clipboard.
    QString copyText() const;
    // Cut: returns the clipboard text and removes the selection by the rules.
    QString cut();
    // Paste: removes the selection by the rules, then types every character of the text, as
    // typing them one by one would, in one pass however long the text. The first character
    // that would take the text past the length limit ends it: the rest counts as refused.
    // A paste of which every character is refused changes nothing, the selection included.
    // Returns how many characters were refused.
    int paste(const QString &clip);

    // The context menu's own commands: no rules.
    bool canUndo() const { return m_canUndo; }
    void undo();
    void deleteSelection();

    // Exit processing: rewrites the text in the normal form of its value and reports
    // whether that value lies inside [MinValue, MaxValue]. Throws rt::EConvertError with
    // the text left as it was.
    ExitResult exitProcessing();
    // Sets the value to the nearer bound of the range.
    void clampToRange();

private:
    struct State
    {
        QString text;
        int anchor;
        int caret;
    };
    State state() const { return {m_text, m_anchor, m_caret}; }
    void restore(const State &s);
    enum class EditResult { Done, Refused, TooLong };
    // Runs an editing step and keeps its result only if it leaves a text within the length
    // limit that still converts (when the text converted before); records the undo step.
    template<typename Step>
    EditResult edit(Step step);
    // Types the characters for a paste; returns how many were refused.
    int typeAll(QStringView chars);
    void fixDigitlessMantissa();
    int lengthLimit() const;

    bool filterChar(QChar ch);
    bool typeDigit(QChar ch);
    void selectionRule();
    // Backspace or Delete: the selection rule, or the one-character rule without a selection.
    bool removeKey(bool isDelete);
    void oneCharRule(bool isDelete);
    void placeCaret(int caret);

    QString m_text;
    int m_anchor = 0;
    int m_caret = 0;
    QString m_undoText;
    bool m_canUndo = false;
    int m_decimals = -1;
    TNumberFormat m_format = TNumberFormat::Standard;
    int m_maxLength = 0;
    bool m_readOnly = false;
    long double m_minValue = 0;
    long double m_maxValue = 0;
};

} // namespace ctl
