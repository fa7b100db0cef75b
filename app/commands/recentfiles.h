#pragma once

#include <QString>
#include <QStringList>

namespace app {

// The declarations used last, newest first, and the folder the file dialogs were in last, kept
// in the program's settings file (the program's only persistent settings). A settings file
// that cannot be read is taken as empty, and one that cannot be written only forgets: neither
// stops the program.
class RecentFiles
{
public:
    static constexpr int maxFiles = 5;
    // The user's settings file of the program: telekado/telekado.conf in the configuration folder.
    static QString defaultSettingsPath();

    explicit RecentFiles(const QString &settingsPath);

    const QStringList &files() const { return m_files; }
    const QString &lastFolder() const { return m_folder; }
    // A declaration opened or saved: first in the list, and its folder the last one used.
    void add(const QString &path);
    // A declaration that has gone.
    void remove(const QString &path);

private:
    void store();

    QString m_settingsPath;
    QStringList m_files;
    QString m_folder;
};

} // namespace app
