#pragma once

#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>

namespace rep {

// The report engine's text table: every text the engine shows comes from here, looked up by key
// at the moment it is shown. One instance per process.
class TrepResources
{
public:
    static TrepResources &instance();

    // Replaces the text of an existing key, otherwise appends the entry.
    void add(const QString &key, const QString &text);
    // The entry's text, or the key itself when the table lacks it (a missing message shows its
    // key). The engine's own messages that the start-up table does not list read in Hungarian.
    QString get(const QString &key) const;
    bool contains(const QString &key) const;
    // Keys in the order they were first added.
    QStringList keys() const { return m_keys; }

    // Rewrites the captions of a window from the entry of its class: each line "Property=Value"
    // sets a property of the window, "Control.Property=Value" one of the named child (by
    // objectName, searched recursively). Lines naming a missing control are skipped.
    void localize(QObject *window, const QString &windowClass) const;

    // Empties the table (tests).
    void clear();

private:
    TrepResources() = default;
    QStringList m_keys;
    QHash<QString, int> m_index; // lower-case key -> index into m_keys/m_texts
    QStringList m_texts;
};

// Fills the table with the program's Hungarian texts; called once at start-up.
void fillHungarianResources();
// The Hungarian text of a key without the table (windows shown before it is filled, tests);
// the key itself when there is none.
QString hungarianText(const QString &key);

// Applies window lines ("Property=Value", "Control.Property=Value", CR LF between lines) to a
// window and its named children; lines naming a missing control are skipped.
void localizeLines(QObject *window, const QString &lines);

// Shorthand for TrepResources::instance().get(key).
inline QString repGet(const QString &key)
{
    return TrepResources::instance().get(key);
}

// Fills the "%s" and "%d" placeholders of a resource text in order ("%%" is a percent sign).
QString repFormat(const QString &format, const QStringList &args);

// Sets a text property of a QObject, mapping the engine's names onto Qt's: "Caption" is the
// window title of a window and the text (or title) of a control, "Hint" is the tool tip.
// Returns false when the object has no such property.
bool setTextProperty(QObject *object, const QString &property, const QString &value, bool isWindow);

} // namespace rep
