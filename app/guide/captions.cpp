#include "app/guide/captions.h"

#include <QDir>
#include <QFile>
#include <QLoggingCategory>

// Resources of a static library are registered by hand, once, before the first look-up.
static void initGuideResources()
{
    static const bool done = [] {
        Q_INIT_RESOURCE(guide);
        return true;
    }();
    Q_UNUSED(done);
}

namespace guide {

namespace {

Q_LOGGING_CATEGORY(lcGuide, "telekado.app.guide")

QByteArray readResource(const QString &name)
{
    initGuideResources();
    QFile file(QStringLiteral(":/tk/rtf/") + name);
    if (!file.open(QIODevice::ReadOnly)) {
        qCWarning(lcGuide, "%s: %s", qUtf8Printable(file.fileName()), qUtf8Printable(file.errorString()));
        return {};
    }
    return file.readAll();
}

bool isCaptionName(const QString &name)
{
    static const QLatin1StringView prefixes[] = {QLatin1StringView("RTFLabel"), QLatin1StringView("CtlRichLabel")};
    for (QLatin1StringView p : prefixes) {
        if (name.startsWith(p) && name.size() > p.size()) {
            bool digits = true;
            for (qsizetype i = p.size(); i < name.size(); ++i)
                digits = digits && name.at(i).isDigit();
            return digits;
        }
    }
    return false;
}

} // namespace

QByteArray captionRtf(const QString &componentName)
{
    // Only plain component names reach the resource path.
    if (!isCaptionName(componentName))
        return {};
    return readResource(componentName + QStringLiteral(".rtf"));
}

QStringList captionComponents()
{
    initGuideResources();
    QStringList names;
    const QStringList files = QDir(QStringLiteral(":/tk/rtf")).entryList({QStringLiteral("*.rtf")}, QDir::Files);
    for (const QString &f : files) {
        const QString name = f.chopped(4);
        if (isCaptionName(name))
            names << name;
    }
    return names;
}

QByteArray guideRtf()
{
    return readResource(QStringLiteral("guide.rtf"));
}

} // namespace guide
