#include "accessiblepanels_p.h"

#include "controls/panels/ui/styledtoolpanel.h"

#include <QAccessibleWidget>

namespace ctl {

namespace {

// A section panel is a grouping named by its caption; the blanks that indent the caption on the
// bar are not part of its name.
class AccessibleToolPanel : public QAccessibleWidget
{
public:
    explicit AccessibleToolPanel(TStyledToolPanel *panel) : QAccessibleWidget(panel, QAccessible::Grouping) {}

    QString text(QAccessible::Text t) const override
    {
        QString s = QAccessibleWidget::text(t);
        if (t == QAccessible::Name && s.isEmpty())
            s = static_cast<TStyledToolPanel *>(object())->Caption().trimmed();
        return s;
    }
};

QAccessibleInterface *toolPanelFactory(const QString &className, QObject *object)
{
    if (className == QLatin1StringView(TStyledToolPanel::staticMetaObject.className()))
        if (auto *panel = qobject_cast<TStyledToolPanel *>(object))
            return new AccessibleToolPanel(panel);
    return nullptr;
}

} // namespace

void installToolPanelAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(toolPanelFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace ctl
