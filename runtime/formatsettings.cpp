#include "runtime/formatsettings.h"

#include "logging_p.h"

#include <QLocale>

namespace rt {

namespace {
FormatSettings &settingsInstance()
{
    static FormatSettings s;
    return s;
}
} // namespace

void initFormatSettings()
{
    const QLocale locale = QLocale::system();
    FormatSettings s;
    const QString dec = locale.decimalPoint();
    const QString grp = locale.groupSeparator();
    // Our conversions take one character; a longer one leaves the default in place.
    if (dec.size() == 1)
        s.decimalSeparator = dec.front();
    else
        qCInfo(lcRuntime, "decimal separator \"%s\" is not one character; \"%s\" is used", qUtf8Printable(dec),
               qUtf8Printable(QString(s.decimalSeparator)));
    if (grp.size() == 1)
        s.thousandSeparator = grp.front();
    else
        qCInfo(lcRuntime, "group separator \"%s\" is not one character; \"%s\" is used", qUtf8Printable(grp),
               qUtf8Printable(QString(s.thousandSeparator)));
    s.shortDateFormat = locale.dateFormat(QLocale::ShortFormat);
    settingsInstance() = s;
}

const FormatSettings &formatSettings()
{
    return settingsInstance();
}

void setFormatSettings(const FormatSettings &settings)
{
    settingsInstance() = settings;
}

} // namespace rt
