#pragma once

#include <QHash>
#include <QString>

namespace app {

class FormView;

// Makes the main window usable with a screen reader and the keyboard alone: every field named
// after its screen caption in the catalogue (a repeated caption told apart by whose field it is),
// the computed values named after their rows, keys that lead into the radio groups, and
// controls that cannot be seen kept out of the focus chain.
void makeAccessible(FormView &form);

// Lets the computed values take the focus from Tab while a screen reader listens, and only then;
// called as Tab is about to move the focus, since a reader may come and go while the program runs.
void followScreenReader(FormView &form);

// The value of computed label `component` as it is read out: an area grouped and with its unit
// ("1.250 nm2"), the tax as shown ("261.250 Ft.").
QString spokenResult(const QString &component, const QString &value);

// The computed values as they stand, by component; what tellChangedResults compares against.
QHash<QString, QString> computedResults(const FormView &form);
// What a listener is told of the computed values that differ from `before`, in the form's order:
// "c. beépitetlen belterületi földrészlet (a-b): 1.250 nm2. fizetendő adó: 261.250 Ft.";
// empty when nothing changed.
QString resultsMessage(const QHash<QString, QString> &before, const QHash<QString, QString> &after);

// The accessible name of a screen caption: the caption without its closing colon.
QString accessibleNameOf(const QString &screenCaption);

} // namespace app
