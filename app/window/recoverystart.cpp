#include "app/window/recoverystart.h"

#include "app/window/form1.h"
#include "app/commands/recoverycopy.h"
#include "runtime/messages.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace app {

namespace {

QString samePath(const QString &path)
{
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? info.absoluteFilePath() : canonical;
}

} // namespace

void offerRecoveredWork(TForm1 &form, RecoveryStore &store, const QString &openFile)
{
    bool restored = false;
    for (const RecoveryStore::Orphan &orphan : store.orphans()) {
        if (restored)
            break;
        QString error;
        const std::optional<RecoveryContent> content = loadRecovery(orphan.path, &error);
        if (!content) {
            const QString aside = RecoveryStore::setAside(orphan);
            rt::showMessage({rt::applicationTitle(),
                             error + u"\nA másolat félretéve: "_s + QDir::toNativeSeparators(aside) +
                                 u"\nA program üres nyomtatvánnyal indul."_s,
                             rt::Message::Icon::Stop});
            continue;
        }
        if (!openFile.isEmpty() && (content->filePath.isEmpty() || samePath(content->filePath) != samePath(openFile)))
            continue;
        switch (form.document().dialogs().askRestore(&form, content->changed, content->filePath)) {
        case RestoreAnswer::Restore:
            store.adopt(orphan);
            form.restoreRecovery(*content);
            restored = true;
            break;
        case RestoreAnswer::Discard:
            RecoveryStore::discard(orphan);
            break;
        case RestoreAnswer::Later:
            break;
        }
    }
    if (!restored && !openFile.isEmpty())
        form.openFile(openFile);
}

} // namespace app
