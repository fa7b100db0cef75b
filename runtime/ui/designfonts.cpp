#include "runtime/ui/designfonts.h"

#include "logging_p.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QStandardPaths>

namespace rt {

namespace {

// Where Debian's metric-compatible outlines live, below each system data folder.
constexpr const char16_t *fontFiles[] = {
    u"wine/fonts/tahoma.ttf",
    u"wine/fonts/tahomabd.ttf",
    u"wine/fonts/ms_sans_serif.ttf",
};

} // namespace

QStringList loadDesignFonts()
{
    // Application fonts need the application object; before it exists nothing is remembered.
    static QStringList families;
    static bool done = false;
    if (done || !QGuiApplication::instance())
        return families;
    done = true;
    for (const char16_t *file : fontFiles) {
        const QString relative = QString::fromUtf16(file);
        QString path = QStandardPaths::locate(QStandardPaths::GenericDataLocation, relative);
        if (path.isEmpty())
            path = QStringLiteral("/usr/share/") + relative;
        const int id = QFontDatabase::addApplicationFont(path);
        if (id < 0) {
            qCInfo(lcRuntimeUi, "%s not loaded; a similar system font takes its place", qUtf8Printable(relative));
            continue;
        }
        for (const QString &family : QFontDatabase::applicationFontFamilies(id))
            if (!families.contains(family))
                families.append(family);
    }
    return families;
}

QFont dialogFont()
{
    QFont f(QStringLiteral("Tahoma"));
    f.setPixelSize(11);
    return f;
}

} // namespace rt
