#include "report/resources/resources.h"

#include "hungarian_p.h"

#include <QLoggingCategory>
#include <QVariant>

namespace rep {

namespace {
Q_LOGGING_CATEGORY(lcReportResources, "telekado.report.resources", QtInfoMsg)
}

TrepResources &TrepResources::instance()
{
    static TrepResources table;
    return table;
}

void TrepResources::add(const QString &key, const QString &text)
{
    const QString folded = key.toLower();
    const auto it = m_index.constFind(folded);
    if (it != m_index.constEnd()) {
        m_texts[*it] = text;
        return;
    }
    m_index.insert(folded, m_keys.size());
    m_keys.append(key);
    m_texts.append(text);
}

QString TrepResources::get(const QString &key) const
{
    const auto it = m_index.constFind(key.toLower());
    return it == m_index.constEnd() ? hungarianMessage(key) : m_texts.at(*it);
}

bool TrepResources::contains(const QString &key) const
{
    return m_index.contains(key.toLower());
}

void TrepResources::clear()
{
    m_keys.clear();
    m_texts.clear();
    m_index.clear();
}

static bool hasProperty(const QObject *object, const char *name)
{
    return object->metaObject()->indexOfProperty(name) >= 0
        || object->dynamicPropertyNames().contains(QByteArray(name));
}

bool setTextProperty(QObject *object, const QString &property, const QString &value, bool isWindow)
{
    const QByteArray name = property.toLatin1();
    if (hasProperty(object, name.constData()))
        return object->setProperty(name.constData(), value);
    QList<const char *> candidates;
    if (property.compare(QLatin1String("Caption"), Qt::CaseInsensitive) == 0) {
        if (isWindow)
            candidates = {"windowTitle"};
        else
            candidates = {"text", "title", "windowTitle"};
    } else if (property.compare(QLatin1String("Hint"), Qt::CaseInsensitive) == 0) {
        candidates = {"toolTip"};
    } else if (property.compare(QLatin1String("Text"), Qt::CaseInsensitive) == 0) {
        candidates = {"text", "plainText"};
    }
    for (const char *candidate : candidates) {
        if (hasProperty(object, candidate))
            return object->setProperty(candidate, value);
    }
    return false;
}

static QObject *findNamedChild(QObject *window, const QString &name)
{
    // Names compare like the engine's component names: A to Z without case.
    const QList<QObject *> children = window->findChildren<QObject *>();
    for (QObject *child : children) {
        if (child->objectName().compare(name, Qt::CaseInsensitive) == 0)
            return child;
    }
    return nullptr;
}

void TrepResources::localize(QObject *window, const QString &windowClass) const
{
    if (window && contains(windowClass))
        localizeLines(window, get(windowClass));
}

void localizeLines(QObject *window, const QString &lines)
{
    if (!window)
        return;
    for (const QString &line : lines.split(QStringLiteral("\r\n"))) {
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0)
            continue;
        const QString name = line.left(eq);
        const QString value = line.mid(eq + 1).left(4096);
        const qsizetype dot = name.indexOf(QLatin1Char('.'));
        QObject *target = dot < 0 ? window : findNamedChild(window, name.left(dot));
        if (!target) {
            qCDebug(lcReportResources) << "no control for the line" << line;
            continue;
        }
        if (!setTextProperty(target, dot < 0 ? name : name.mid(dot + 1), value, dot < 0))
            qCDebug(lcReportResources) << "no text property for the line" << line;
    }
}

QString repFormat(const QString &format, const QStringList &args)
{
    QString result;
    qsizetype next = 0;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format.at(i);
        if (c == QLatin1Char('%') && i + 1 < format.size()) {
            const QChar kind = format.at(i + 1);
            if (kind == QLatin1Char('%')) {
                result += c;
                ++i;
                continue;
            }
            if (kind == QLatin1Char('s') || kind == QLatin1Char('d')) {
                result += next < args.size() ? args.at(next) : QString();
                ++next;
                ++i;
                continue;
            }
        }
        result += c;
    }
    return result;
}

} // namespace rep
