#pragma once

#include "controls/maskedit/editmask.h"

#include <QList>
#include <QObject>
#include <QString>

#include <functional>

namespace ctl {

enum TCtlMaskType { meInteger, meWord, meFloat, meFloatFixed, meFloatNumber, meCurrency, meDate, meTime, meMask, meNone };
enum TCtlEditCharCase { ecNormal, ecUpperCase, ecLowerCase };

// What one replace operation changed: enough to put back the text, caret and selection.
struct ReplaceRecord
{
    int caret = 1;     // caret before the edit
    int selStart = 1;  // selection before the edit
    int selLength = 0;
    int at = 1;        // where the text changed
    QString removed;   // text taken out at `at`
    QString inserted;  // text put in at `at`
};

// The editing logic of a masked edit: text, caret, selection, undo, and the pattern rules.
// Positions are 1-based; the caret stands before character number caret(). Only the pattern
// kind (meMask) checks the mask; every other kind edits as a plain single-line field.
class MaskEditModel : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString Text READ text WRITE setText)
    Q_PROPERTY(QString Mask READ mask WRITE setMask)
    Q_PROPERTY(QChar BlankChar READ blankChar WRITE setBlankChar)
    Q_PROPERTY(int MaxLength READ maxLength WRITE setMaxLength)
    Q_PROPERTY(bool ReadOnly READ readOnly WRITE setReadOnly)
    Q_PROPERTY(bool Modified READ modified WRITE setModified)

public:
    explicit MaskEditModel(QObject *parent = nullptr);

    TCtlMaskType maskType() const { return m_maskType; }
    void setMaskType(TCtlMaskType type);
    QString mask() const { return m_mask; }
    void setMask(const QString &mask);
    const EditMask &editMask() const { return m_editMask; }
    QChar blankChar() const { return m_blankChar; }
    void setBlankChar(QChar c) { m_blankChar = c; }
    int maxLength() const { return m_maxLength; }
    void setMaxLength(int length) { m_maxLength = qMax(0, length); }
    bool readOnly() const { return m_readOnly; }
    void setReadOnly(bool on) { m_readOnly = on; }
    TCtlEditCharCase charCase() const { return m_charCase; }
    void setCharCase(TCtlEditCharCase c) { m_charCase = c; }

    bool isPatternKind() const { return m_maskType == meMask; }
    QString blankPattern() const { return m_editMask.blankPattern(m_blankChar); }
    bool isValid(const QString &text) const;

    QString text() const { return m_text; }
    // The text as it is read aloud, of the same length as text(): each blank character a space,
    // and the literals that no typed character follows spaces too, so that an empty field reads
    // as empty and a partly typed one as what was typed. The text itself keeps its blanks.
    QString spokenText() const;
    // What a pattern asks for, for a listener: the groups of positions between literals, counted
    // ("8, 1 és 2 számjegy"); empty for the other kinds.
    QString expectedForm() const;
    // Rejected (the text stays) when not valid for the mask; caret to 1, selection cleared.
    void setText(const QString &text);

    int caret() const { return m_caret; }
    int selStart() const { return m_selStart; }
    int selLength() const { return m_selLength; }
    QString selectedText() const { return m_text.mid(m_selStart - 1, m_selLength); }
    bool hasSelection() const { return m_selLength > 0; }
    // Whether the character at a 1-based position is selected.
    bool isSelected(int position) const { return position >= m_selStart && position < m_selStart + m_selLength; }

    bool modified() const { return m_modified; }
    void setModified(bool on);

    // Undo menu item: enabled from creation and after every edit until undoing empties the stack.
    bool canUndo() const { return m_canUndo; }
    int undoCount() const { return int(m_undo.size()); }
    int redoCount() const { return int(m_redo.size()); }

    // While loading no change events fire; ending it puts the blank pattern in the pattern kind.
    void beginLoad() { m_loading = true; }
    void endLoad();

    // Caret and selection.
    void setCaret(int position);                    // clears the selection
    void moveCaret(int position, bool extend);      // extend: the selection follows the caret
    void select(int start, int length);             // caret at the end of the selection
    void moveLeft(bool word, bool extend);
    void moveRight(bool word, bool extend);
    void home(bool extend) { moveCaret(1, extend); }
    void end(bool extend) { moveCaret(int(m_text.size()) + 1, extend); }
    void clearSelection() { moveCaret(m_caret, false); }
    void selectAll() { select(1, int(m_text.size())); }
    void selectWordAt(int position);                // the run between the nearest spaces

    // Edits; each goes through replace().
    void typeChar(QChar c);
    void backspace();
    void deleteKey();
    QString cut();                                  // returns the text for the clipboard
    // The selection replaced by the text, its line breaks and tabs made blanks; a text the
    // mask refuses changes nothing.
    void paste(const QString &s);
    void deleteSelection();
    void undo();
    void redo();
    // Drag and drop inside the field: removes the selection and inserts it at `position`
    // (counted in the text before the removal). False when the drop lands on the selection;
    // a move the mask refuses changes nothing.
    bool moveSelectionTo(int position);

    // The first required position that is not filled, or 0.
    int firstUnfilledRequired() const;

    UserRule OnUserRule;
    std::function<void(QChar &Key)> OnKeyPress;   // may change the key; below 32 cancels

Q_SIGNALS:
    void OnModified();
    void OnTextChangedAt(int At);
    void OnChange();
    void OnCursorPosChanged();   // on every setting of the caret, moved or not

private:
    // The replace operation: the selection (with `exact` unset, in overwrite mode, the
    // character at the caret) replaced by s. Refused as a whole when the result does not fit.
    void replace(const QString &s, bool exact);
    void undoOrRedo(bool undo);
    void setSelectionState(int start, int length, int caret, bool notify = true);
    int anchor() const;
    void blankSelection();
    QChar applyCharCase(QChar c) const;

    TCtlMaskType m_maskType = meMask;
    QString m_mask;
    EditMask m_editMask;
    QChar m_blankChar = QLatin1Char('_');
    int m_maxLength = 0;
    bool m_readOnly = false;
    TCtlEditCharCase m_charCase = ecNormal;

    QString m_text;
    int m_caret = 1;
    int m_selStart = 1;
    int m_selLength = 0;
    bool m_modified = false;
    bool m_loading = false;
    bool m_canUndo = true;
    enum class Replaying { No, Undo, Redo } m_replaying = Replaying::No;
    QList<ReplaceRecord> m_undo;
    QList<ReplaceRecord> m_redo;
};

} // namespace ctl
