#pragma once

#include "declaration/checks.h"

#include <QHash>
#include <QObject>

namespace app {

class FormView;

// The warning look of the form's fields: a field or group whose value fails a check shows the
// warning ground and frame, with the message as its tooltip and in its accessible description,
// until its value is right. A field is judged as the user leaves it (and, while it shows a
// warning, as its text changes), together with the fields that depend on it; the whole form
// after a check run. A warning that arises as a field is left is also told to a listener, once.
class FieldWarnings : public QObject
{
    Q_OBJECT
public:
    explicit FieldWarnings(FormView &form);

    // Judges the component and its dependents again and shows the result on them.
    void recheck(const QString &component);
    // Shows exactly these findings of the whole form: marks their fields and clears every other.
    void showAll(const QList<decl::Finding> &findings);
    // Checks the whole form and shows the result.
    void recheckAll();
    // The message a component shows, empty when it shows none.
    QString messageOf(const QString &component) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void judge(const QString &component);
    void show(const QString &component, const QString &message);
    void textChanged(const QString &component);

    FormView &m_form;
    QHash<QString, QString> m_messages;     // component -> message it shows
    QHash<QString, QString> m_descriptions; // component -> its description without the message
    QHash<QString, QString> m_told;         // component -> the message a listener was told
};

} // namespace app
