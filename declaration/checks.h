#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

namespace decl {

class FormAccess;

// One thing to put right before printing.
struct Finding
{
    QString component;  // the field or radio group
    QString caption;    // its screen caption (a group's caption for a group)
    QString section;    // the section's caption, trimmed
    QString message;    // what is wrong and what a right value looks like
    QString block;      // whose field it is ("adózó", "1. tulajdonostárs" …), empty outside the blocks

    friend bool operator==(const Finding &, const Finding &) = default;
};

// The field as lists name it: its caption without the closing colon and, within section I's
// blocks, whose field it is ("adóazonositó jele (2. tulajdonostárs)"), since the blocks repeat the
// captions.
QString fieldLabel(const Finding &finding);

// Every finding of the form, in form order: section by section, within a section in tab order;
// among them, on the field that makes it so, that the data will not fit the printed 2D code.
// Reads the form only; any text gives findings or none. Birth dates in tax identification codes
// must not be after `today`.
QList<Finding> checkForm(const FormAccess &form, QDate today = QDate::currentDate());

// The findings of one field or group (none for a component the checks do not know). A
// co-owner's name is judged with the rest of its block, see dependentFields().
QList<Finding> findingsFor(const QString &component, const FormAccess &form, QDate today = QDate::currentDate());

// The components whose findings may change when this one's text changes: the component itself
// and, within a co-owner block, the block's name field.
QStringList dependentFields(const QString &component);

// The single rules, for the window and for tests. Each takes a masked field's text as the field
// holds it and returns an empty string when the text is right (or wholly blank), or the message.
QString taxIdProblem(const QString &text, QDate today = QDate::currentDate());
QString taxNumberProblem(const QString &text);

} // namespace decl
