#include "app/commands/recentfiles.h"

#include "logging_p.h"

#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace app {

namespace {
const QString keyFiles = u"recent/files"_s;
const QString keyFolder = u"dialogs/lastFolder"_s;

QString normalPath(const QString &path)
{
    return QFileInfo(path).absoluteFilePath();
}
} // namespace

QString RecentFiles::defaultSettingsPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + u"/telekado/telekado.conf"_s;
}

RecentFiles::RecentFiles(const QString &settingsPath) : m_settingsPath(settingsPath)
{
    const QSettings settings(m_settingsPath, QSettings::IniFormat);
    if (settings.status() != QSettings::NoError)
        qCWarning(lcCommands, "the settings file %s cannot be read; it is taken as empty", qUtf8Printable(m_settingsPath));
    for (const QString &f : settings.value(keyFiles).toStringList()) {
        if (!f.isEmpty() && !m_files.contains(f) && m_files.size() < maxFiles)
            m_files << f;
    }
    m_folder = settings.value(keyFolder).toString();
}

void RecentFiles::add(const QString &path)
{
    const QString file = normalPath(path);
    m_files.removeAll(file);
    m_files.prepend(file);
    while (m_files.size() > maxFiles)
        m_files.removeLast();
    m_folder = QFileInfo(file).absolutePath();
    store();
}

void RecentFiles::remove(const QString &path)
{
    m_files.removeAll(normalPath(path));
    store();
}

void RecentFiles::store()
{
    QSettings settings(m_settingsPath, QSettings::IniFormat);
    settings.setValue(keyFiles, m_files);
    settings.setValue(keyFolder, m_folder);
    settings.sync();
    if (settings.status() != QSettings::NoError)
        qCWarning(lcCommands, "the settings file %s cannot be written", qUtf8Printable(m_settingsPath));
}

} // namespace app
