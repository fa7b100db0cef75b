#include "app/window/fieldwarnings.h"

#include "app/window/formview.h"
#include "controls/common/ui/warninglook.h"
#include "controls/maskedit/ui/ctlmaskedit.h"
#include "controls/panels/ui/stylededit.h"
#include "controls/radiogroup/ui/ctlradiogroup.h"
#include "declaration/catalogue.h"
#include "runtime/messages.h"
#include "runtime/ui/announce.h"

#include <QFocusEvent>
#include <QPlainTextEdit>
#include <QStringList>

namespace app {

using namespace Qt::StringLiterals;

FieldWarnings::FieldWarnings(FormView &form) : m_form(form)
{
    for (const decl::Field &f : decl::fields()) {
        QWidget *w = form.control(f.component);
        const QString name = f.component;
        if (auto *e = qobject_cast<ctl::TStyledEdit *>(w)) {
            e->installEventFilter(this);
            connect(e, &QLineEdit::textChanged, this, [this, name] { textChanged(name); });
        } else if (auto *m = qobject_cast<ctl::TCtlMaskEdit *>(w)) {
            // The field's own exit event: it skips the window going to the background.
            connect(m, &ctl::TCtlMaskEdit::OnExit, this, [this, name] { recheck(name); });
            connect(m, &ctl::TCtlMaskEdit::OnChange, this, [this, name] { textChanged(name); });
        } else if (auto *r = qobject_cast<QPlainTextEdit *>(w)) {
            // The remark: only its length can make it fail, when it would not fit on paper.
            r->installEventFilter(this);
            connect(r, &QPlainTextEdit::textChanged, this, [this, name] { textChanged(name); });
        }
    }
    // A group is never left by the keyboard; its choice is what changes it.
    for (const decl::RadioGroup &g : decl::radioGroups())
        if (auto *w = qobject_cast<ctl::TCtlRadioGroup *>(form.control(g.component))) {
            const QString name = g.component;
            connect(w, &ctl::TCtlRadioGroup::OnChange, this, [this, name] { recheck(name); });
        }
}

void FieldWarnings::recheck(const QString &component)
{
    QStringList arisen;
    for (const QString &c : decl::dependentFields(component)) {
        judge(c);
        // A listener hears a warning once, when the field that raised it is left; as the
        // description it stays for whoever comes back.
        const QString message = m_messages.value(c);
        if (message.isEmpty())
            m_told.remove(c);
        else if (m_told.value(c) != message) {
            m_told.insert(c, message);
            arisen << message;
        }
    }
    rt::announce(m_form.widget(), arisen.join(u' '));
}

void FieldWarnings::judge(const QString &component)
{
    const QList<decl::Finding> found = decl::findingsFor(component, m_form.form());
    show(component, found.isEmpty() ? QString() : found.first().message);
}

void FieldWarnings::showAll(const QList<decl::Finding> &findings)
{
    QHash<QString, QString> wanted;
    // A field shows its first finding, as judge() does.
    for (const decl::Finding &f : findings)
        if (!wanted.contains(f.component))
            wanted.insert(f.component, f.message);
    for (const QString &c : m_messages.keys())
        if (!wanted.contains(c))
            show(c, QString());
    for (auto it = wanted.cbegin(); it != wanted.cend(); ++it)
        show(it.key(), it.value());
}

void FieldWarnings::recheckAll()
{
    showAll(decl::checkForm(m_form.form()));
}

QString FieldWarnings::messageOf(const QString &component) const
{
    return m_messages.value(component);
}

void FieldWarnings::show(const QString &component, const QString &message)
{
    if (m_messages.value(component) == message)
        return;
    QWidget *w = m_form.control(component);
    if (!w)
        return;
    // A screen reader hears the description: the message follows what it says of the field.
    if (!m_messages.contains(component))
        m_descriptions.insert(component, w->accessibleDescription());
    const QString description = m_descriptions.value(component);
    if (message.isEmpty()) {
        m_messages.remove(component);
        w->setAccessibleDescription(m_descriptions.take(component));
    } else {
        m_messages.insert(component, message);
        w->setAccessibleDescription(description.isEmpty() ? message : description + u": "_s + message);
    }
    if (auto *r = qobject_cast<QPlainTextEdit *>(w)) {
        // A plain text box has no warning look of its own: its ground takes the shared colour.
        const char *own = "ownGround";
        if (!r->property(own).isValid())
            r->setProperty(own, r->palette().color(QPalette::Base));
        QPalette palette = r->palette();
        palette.setColor(QPalette::Base, message.isEmpty() ? r->property(own).value<QColor>()
                                                           : QColor::fromRgb(ctl::warningGroundRgb));
        r->setPalette(palette);
    }
    // Every kind of field has the property.
    w->setProperty("Warning", !message.isEmpty());
    w->setToolTip(message);
}

void FieldWarnings::textChanged(const QString &component)
{
    // Typing marks nothing new; a warning already shown goes as soon as the value is right,
    // or follows the text.
    for (const QString &c : decl::dependentFields(component))
        if (m_messages.contains(c))
            judge(c);
}

bool FieldWarnings::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusOut) {
        // The window going to the background, or a menu of the field, is not leaving it.
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason) {
            const QString name = watched->objectName();
            rt::runHandler([&] { recheck(name); });
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace app
