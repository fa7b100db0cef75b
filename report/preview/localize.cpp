#include "report/preview/localize.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QWidget>

namespace rep {

namespace {

void applyProperty(QWidget *target, bool isWindow, const QString &property, const QString &value)
{
    if (property.compare(QLatin1String("Hint"), Qt::CaseInsensitive) == 0) {
        target->setToolTip(value);
        return;
    }
    if (property.compare(QLatin1String("Caption"), Qt::CaseInsensitive) == 0
        || property.compare(QLatin1String("Text"), Qt::CaseInsensitive) == 0) {
        if (isWindow)
            target->setWindowTitle(value);
        else if (auto *b = qobject_cast<QAbstractButton *>(target))
            b->setText(value);
        else if (auto *l = qobject_cast<QLabel *>(target))
            l->setText(value);
        else if (auto *g = qobject_cast<QGroupBox *>(target))
            g->setTitle(value);
        else if (auto *e = qobject_cast<QLineEdit *>(target))
            e->setText(value);
        return;
    }
    // Any other name: a Qt property of the same name with a lower-case first letter.
    QString qtName = property;
    if (!qtName.isEmpty())
        qtName[0] = qtName.at(0).toLower();
    const QByteArray name = qtName.toLatin1();
    if (target->metaObject()->indexOfProperty(name.constData()) >= 0)
        target->setProperty(name.constData(), value);
}

} // namespace

void localizeWindow(QWidget *window, const QString &lines)
{
    if (!window)
        return;
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\n|\r"));
    for (const QString &line : lines.split(lineBreak, Qt::SkipEmptyParts)) {
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq < 0)
            continue;
        const QString name = line.left(eq);
        const QString value = line.mid(eq + 1).left(4096);
        const qsizetype dot = name.indexOf(QLatin1Char('.'));
        if (dot < 0) {
            applyProperty(window, true, name, value);
            continue;
        }
        auto *control = window->findChild<QWidget *>(name.left(dot));
        if (!control)
            continue;
        applyProperty(control, false, name.mid(dot + 1), value);
    }
}

} // namespace rep
