#pragma once

#include <QHash>
#include <QString>

namespace decl {

// The declaration's view of the form: the window implements it over its controls,
// tests and tools over a map.
class FormAccess
{
public:
    virtual ~FormAccess() = default;
    // The field text of a component (text edit, masked edit, numeric edit, rich edit).
    virtual QString text(const QString &component) const = 0;
    // The chosen item of a radio group, -1 when none is chosen.
    virtual int itemIndex(const QString &group) const = 0;
    virtual QString caption(const QString &label) const = 0;
    virtual void setCaption(const QString &label, const QString &caption) = 0;
};

// A form held in maps, initialised with the untouched form's contents.
class MapForm : public FormAccess
{
public:
    MapForm();

    QString text(const QString &component) const override;
    int itemIndex(const QString &group) const override;
    QString caption(const QString &label) const override;
    void setCaption(const QString &label, const QString &caption) override;

    void setText(const QString &component, const QString &text);
    void setItemIndex(const QString &group, int index);
    // Every caption write in order, for checking partial updates.
    const QList<QPair<QString, QString>> &captionWrites() const { return m_writes; }

private:
    QHash<QString, QString> m_texts;
    QHash<QString, int> m_indexes;
    QHash<QString, QString> m_captions;
    QList<QPair<QString, QString>> m_writes;
};

} // namespace decl
