#include "runtime/formatsettings.h"

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
    if (dec.size() == 1)
        s.decimalSeparator = dec.front();
    if (grp.size() == 1)
        s.thousandSeparator = grp.front();
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
