#include "controls/maskedit/maskeditmodel.h"

#include "controls/common/singleline.h"
#include "controls/maskedit/appeditstate.h"

#include <QLoggingCategory>
#include <QStringList>

namespace ctl {

namespace {
Q_LOGGING_CATEGORY(lcMaskEdit, "telekado.controls.maskedit", QtInfoMsg)
} // namespace

MaskEditModel::MaskEditModel(QObject *parent) : QObject(parent) {}

void MaskEditModel::setMaskType(TCtlMaskType type)
{
    m_maskType = type;
    if (type == meMask)
        setText(blankPattern());
}

void MaskEditModel::setMask(const QString &mask)
{
    m_mask = mask;
    m_editMask = EditMask(mask);
    if (isPatternKind())
        setText(blankPattern());
}

QString MaskEditModel::spokenText() const
{
    if (!isPatternKind())
        return m_text;
    QString spoken = m_text;
    bool typedAfter = false;
    for (qsizetype i = spoken.size() - 1; i >= 0; --i) {
        const bool literal = i < m_editMask.size() && m_editMask.position(int(i)).cls == PositionClass::Literal;
        if (literal) {
            if (!typedAfter)
                spoken[i] = u' ';
        } else if (spoken.at(i) == m_blankChar) {
            spoken[i] = u' ';
        } else {
            typedAfter = true;
        }
    }
    return spoken;
}

QString MaskEditModel::expectedForm() const
{
    if (!isPatternKind())
        return QString();
    QStringList groups;
    int run = 0;
    bool digitsOnly = true;
    for (int i = 0; i < m_editMask.size(); ++i) {
        const PositionClass cls = m_editMask.position(i).cls;
        if (cls == PositionClass::Literal) {
            if (run > 0)
                groups << QString::number(run);
            run = 0;
            continue;
        }
        ++run;
        digitsOnly = digitsOnly && (cls == PositionClass::Digit || cls == PositionClass::NonZeroDigit
                                   || cls == PositionClass::DigitOrSpace);
    }
    if (run > 0)
        groups << QString::number(run);
    if (groups.isEmpty())
        return QString();
    QString counted = groups.takeLast();
    if (!groups.isEmpty())
        counted = groups.join(QStringLiteral(", ")) + QStringLiteral(" és ") + counted;
    return counted + (digitsOnly ? QStringLiteral(" számjegy") : QStringLiteral(" karakter"));
}

bool MaskEditModel::isValid(const QString &text) const
{
    return !isPatternKind() || m_editMask.isValid(text, m_blankChar, OnUserRule);
}

void MaskEditModel::setText(const QString &value)
{
    const QString text = m_maxLength > 0 ? value.left(m_maxLength) : value;
    if (text == m_text)
        return;
    // An invalid string is refused and the field keeps what it held, rather than falling back
    // to the copy of some earlier edit.
    const bool changed = isValid(text);
    if (!changed)
        qCDebug(lcMaskEdit, "\"%s\" does not fit the mask: the field keeps its text", qUtf8Printable(text));
    if (changed) {
        m_text = text;
        // The records describe edits of the old text; replaying them here would be meaningless.
        m_undo.clear();
        m_redo.clear();
    }
    if (changed && !m_loading) {
        Q_EMIT OnTextChangedAt(1);
        Q_EMIT OnChange();
    }
    setCaret(1);
}

void MaskEditModel::endLoad()
{
    if (isPatternKind())
        setText(blankPattern());
    m_loading = false;
}

void MaskEditModel::setModified(bool on)
{
    if (m_modified == on)
        return;
    m_modified = on;
    Q_EMIT OnModified();
}

void MaskEditModel::setSelectionState(int start, int length, int caret, bool notify)
{
    const int end = int(m_text.size()) + 1;
    m_caret = qBound(1, caret, end);
    m_selStart = qBound(1, start, end);
    m_selLength = qBound(0, length, end - m_selStart);
    if (m_selLength == 0)
        m_selStart = m_caret;
    if (notify)
        Q_EMIT OnCursorPosChanged();
}

int MaskEditModel::anchor() const
{
    if (m_selLength == 0)
        return m_caret;
    return m_caret == m_selStart ? m_selStart + m_selLength : m_selStart;
}

void MaskEditModel::setCaret(int position)
{
    setSelectionState(position, 0, position);
}

void MaskEditModel::moveCaret(int position, bool extend)
{
    position = qBound(1, position, int(m_text.size()) + 1);
    if (!extend) {
        setCaret(position);
        return;
    }
    const int a = anchor();
    setSelectionState(qMin(a, position), qAbs(position - a), position);
}

void MaskEditModel::select(int start, int length)
{
    start = qBound(1, start, int(m_text.size()) + 1);
    length = qBound(0, length, int(m_text.size()) + 1 - start);
    setSelectionState(start, length, start + length);
}

void MaskEditModel::moveLeft(bool word, bool extend)
{
    int p = m_caret - 1;
    if (word) {
        // Before the previous space, or the start when there is none.
        p = 1;
        for (int i = m_caret - 1; i >= 1; --i) {
            if (m_text.at(i - 1) == QLatin1Char(' ')) {
                p = i;
                break;
            }
        }
    }
    moveCaret(p, extend);
}

void MaskEditModel::moveRight(bool word, bool extend)
{
    int p = m_caret + 1;
    if (word) {
        // Before the next space, or the end when there is none.
        p = int(m_text.size()) + 1;
        for (int i = m_caret + 1; i <= m_text.size(); ++i) {
            if (m_text.at(i - 1) == QLatin1Char(' ')) {
                p = i;
                break;
            }
        }
    }
    moveCaret(p, extend);
}

void MaskEditModel::selectWordAt(int position)
{
    const int len = int(m_text.size());
    position = qBound(1, position, len + 1);
    int s = position;
    while (s > 1 && m_text.at(s - 2) != QLatin1Char(' '))
        --s;
    int e = position;
    while (e <= len && m_text.at(e - 1) != QLatin1Char(' '))
        ++e;
    select(s, e - s);
}

void MaskEditModel::replace(const QString &s, bool exact)
{
    if (m_readOnly)
        return;
    ReplaceRecord rec;
    rec.caret = m_caret;
    rec.selStart = m_selStart;
    rec.selLength = m_selLength;
    rec.at = m_selStart;

    // Overwrite takes the character at the caret. Undo and redo carry their exact range.
    int length = m_selLength;
    if (!exact && length == 0 && !appEditState().insert && m_caret <= m_text.size())
        length = 1;
    const int at = m_selStart;
    QString result = m_text;
    result.replace(at - 1, length, s);
    // A text the mask or MaxLength refuses is not inserted, and then nothing is removed
    // either: a refused paste leaves the text, caret and selection as they were.
    const bool refused =
        !s.isEmpty() && (!isValid(result) || (m_maxLength > 0 && result.size() > m_maxLength));
    // Removing alone can leave characters shifted out of their positions: the text is put back.
    const bool changed = !refused && isValid(result);
    if (changed) {
        // The record holds what really changed, so that undo restores the text exactly.
        rec.removed = m_text.mid(at - 1, length);
        rec.inserted = s;
        m_text = result;
    }
    if (m_replaying == Replaying::Undo) {
        m_redo.append(rec);
    } else {
        m_undo.append(rec);
        if (m_replaying == Replaying::No)
            m_redo.clear();
        m_canUndo = true;
    }
    const bool modifiedNow = !m_modified;
    m_modified = true;
    if (refused)
        setSelectionState(rec.selStart, rec.selLength, rec.caret, false);
    else
        setSelectionState(at + int(rec.inserted.size()), 0, at + int(rec.inserted.size()), false);

    // The events come once the field's state is whole, so that a handler that fails leaves a
    // consistent field behind: OnModified, OnTextChangedAt, OnChange, OnCursorPosChanged.
    if (modifiedNow)
        Q_EMIT OnModified();
    if (!m_loading) {
        Q_EMIT OnTextChangedAt(rec.selStart);
        Q_EMIT OnChange();
    }
    Q_EMIT OnCursorPosChanged();
}

QChar MaskEditModel::applyCharCase(QChar c) const
{
    switch (m_charCase) {
    case ecUpperCase: return c.toUpper();
    case ecLowerCase: return c.toLower();
    case ecNormal: break;
    }
    return c;
}

void MaskEditModel::typeChar(QChar c)
{
    if (!isPatternKind()) {
        if (OnKeyPress)
            OnKeyPress(c);
        if (c.unicode() >= 32)
            replace(QString(applyCharCase(c)), false);
        return;
    }
    if (m_selLength > 1)
        setSelectionState(m_selStart, 1, m_selStart);
    appEditState().insert = false;
    const bool accepted = m_editMask.accepts(c, m_selStart, m_blankChar, OnUserRule);
    if (OnKeyPress)
        OnKeyPress(c);
    if (!accepted || c.unicode() < 32)
        return;
    replace(QString(applyCharCase(c)), false);
}

void MaskEditModel::paste(const QString &s)
{
    replace(singleLine(s), false);
}

void MaskEditModel::blankSelection()
{
    replace(blankPattern().mid(m_selStart - 1, m_selLength), true);
}

void MaskEditModel::backspace()
{
    if (m_text.isEmpty() || m_readOnly)
        return;
    if (m_selLength == 0) {
        if (m_caret <= 1)
            return;
        setSelectionState(m_caret - 1, 1, m_caret);
    }
    const int start = m_selStart;
    if (isPatternKind()) {
        blankSelection();
        setCaret(start);
    } else {
        replace(QString(), true);
    }
}

void MaskEditModel::deleteKey()
{
    if (m_readOnly)
        return;
    if (m_selLength == 0) {
        if (m_caret > m_text.size())
            return;
        setSelectionState(m_caret, 1, m_caret);
    }
    const int caret = m_caret;
    if (isPatternKind()) {
        blankSelection();
        setCaret(caret);
    } else {
        replace(QString(), true);
    }
}

QString MaskEditModel::cut()
{
    if (m_selLength == 0)
        return QString();
    const QString s = selectedText();
    replace(QString(), true);
    return s;
}

void MaskEditModel::deleteSelection()
{
    if (m_selLength > 0)
        replace(QString(), true);
}

void MaskEditModel::undo()
{
    undoOrRedo(true);
}

void MaskEditModel::redo()
{
    undoOrRedo(false);
}

void MaskEditModel::undoOrRedo(bool undo)
{
    QList<ReplaceRecord> &stack = undo ? m_undo : m_redo;
    if (stack.isEmpty() || m_readOnly)
        return;
    const ReplaceRecord rec = stack.takeLast();
    setSelectionState(rec.at, int(rec.inserted.size()), rec.at);
    m_replaying = undo ? Replaying::Undo : Replaying::Redo;
    replace(rec.removed, true);
    m_replaying = Replaying::No;
    if (undo)
        m_canUndo = !m_undo.isEmpty();
    // The caret where it stood before that edit, the restored text selected.
    if (rec.removed.isEmpty())
        setCaret(rec.caret);
    else
        setSelectionState(rec.at, int(rec.removed.size()), rec.caret);
}

bool MaskEditModel::moveSelectionTo(int position)
{
    if (m_selLength == 0 || m_readOnly)
        return false;
    const int start = m_selStart;
    const int length = m_selLength;
    if (position >= start && position <= start + length)
        return false;
    const QString moved = selectedText();
    const int target = position > start ? position - length : position;
    QString removed = m_text;
    removed.remove(start - 1, length);
    QString result = removed;
    result.insert(target - 1, moved);
    // The user moves text in one gesture: when the mask refuses either half, nothing moves.
    if (!isValid(removed) || !isValid(result))
        return true;
    replace(QString(), true);
    setCaret(target);
    // Inserted, also in overwrite mode: the character where the text lands stays.
    replace(moved, true);
    return true;
}

int MaskEditModel::firstUnfilledRequired() const
{
    return isPatternKind() ? m_editMask.firstUnfilledRequired(m_text, OnUserRule) : 0;
}

} // namespace ctl
