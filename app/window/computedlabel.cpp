#include "computedlabel_p.h"

#include "app/window/accessibility.h"
#include "controls/common/ui/accessibletext.h"

#include <QFontMetrics>

namespace app {

namespace {

// A computed value as assistive technology reads it: a read-only text named after its row, whose
// value is the caption the computation wrote. The name carries the value as it is read out
// ("c. …: 1.250 nm2"), since a reader speaks only the name of a label that takes the focus; its
// characters stand where they are drawn, so that a reader's review of the screen finds the value.
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
        if (t == QAccessible::Name)
            s = s.isEmpty() ? plainText() : s + QStringLiteral(": ") + spokenResult(object()->objectName(), plainText());
        return s;
    }
    using AccessibleReadOnlyText::text;

    QRect characterRect(int offset) const override
    {
        auto *label = static_cast<ComputedLabel *>(object());
        const QString caption = label->text();
        if (offset < 0 || offset >= caption.size())
            return QRect();
        // One line, right-aligned at the top of the label, as the label draws it.
        const QFontMetrics fm(label->font());
        const QRect area = label->contentsRect();
        const int left = area.right() + 1 - fm.horizontalAdvance(caption);
        const QRect r(left + fm.horizontalAdvance(caption.left(offset)), area.top(),
                      std::max(1, fm.horizontalAdvance(caption.at(offset))), fm.height());
        return QRect(label->mapToGlobal(r.topLeft()), r.size());
    }
    int offsetAtPoint(const QPoint &point) const override
    {
        for (int i = 0; i < characterCount(); ++i)
            if (characterRect(i).contains(point))
                return i;
        return -1;
    }
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
        QAccessibleEvent name(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&name);
    }
}

} // namespace app
