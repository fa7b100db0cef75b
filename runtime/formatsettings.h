#pragma once

#include <QChar>
#include <QString>

namespace rt {

// The locale settings the runtime's conversions use. They are read once at
// start-up (initFormatSettings) and never follow the C library's locale.
struct FormatSettings
{
    QChar decimalSeparator = QLatin1Char('.');
    QChar thousandSeparator = QLatin1Char(',');
    QString shortDateFormat = QStringLiteral("yyyy.MM.dd");
};

// Reads the settings from QLocale::system(); the program calls it once before any window exists.
void initFormatSettings();

const FormatSettings &formatSettings();
// Tests switch separators with this; the program never does after start-up.
void setFormatSettings(const FormatSettings &settings);

} // namespace rt
