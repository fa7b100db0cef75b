#include "computedlabel_p.h"

#include "controls/common/ui/accessibletext.h"

namespace app {

namespace {

// A computed value as assistive technology reads it: a read-only text named after its row, whose
// value is the caption the computation wrote.
class AccessibleComputedLabel : public ctl::AccessibleReadOnlyText
{
public:
    explicit AccessibleComputedLabel(ComputedLabel *label) : AccessibleReadOnlyText(label, QAccessible::StaticText) {}

    QString plainText() const override { return static_cast<ComputedLabel *>(object())->text(); }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value)
            return plainText();
        QString s = AccessibleReadOnlyText::text(t);
        if (t == QAccessible::Name && s.isEmpty())
            s = plainText();
        return s;
    }
    using AccessibleReadOnlyText::text;
};

QAccessibleInterface *computedLabelFactory(const QString &className, QObject *object)
{
    if (className == QLatin1StringView(ComputedLabel::staticMetaObject.className()))
        if (auto *label = qobject_cast<ComputedLabel *>(object))
            return new AccessibleComputedLabel(label);
    return nullptr;
}

} // namespace

ComputedLabel::ComputedLabel(int rightEdge, int top, QWidget *parent)
    : QLabel(parent), m_right(rightEdge), m_top(top)
{
    static const bool installed = [] {
        QAccessible::installFactory(computedLabelFactory);
        return true;
    }();
    Q_UNUSED(installed);
    setAlignment(Qt::AlignRight | Qt::AlignTop);
    setCaption(QStringLiteral("0"));
}

void ComputedLabel::setCaption(const QString &caption)
{
    const QString before = text();
    setText(caption);
    adjustSize();
    move(m_right - width(), m_top);
    if (caption != before && QAccessible::isActive()) {
        // The value is told whole: a new result, not an edit of the old one.
        QAccessibleValueChangeEvent value(this, caption);
        QAccessible::updateAccessibility(&value);
        QAccessibleTextUpdateEvent text(this, 0, before, caption);
        QAccessible::updateAccessibility(&text);
    }
}

} // namespace app
