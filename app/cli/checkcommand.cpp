#include "app/cli/checkcommand.h"

#include "app/cli/errorline.h"
#include "declaration/checks.h"
#include "declaration/draftfile.h"
#include "declaration/formaccess.h"

#include <QTextStream>

namespace app {

using namespace Qt::StringLiterals;

int runCheckCommand(const QStringList &files, QTextStream &out, QTextStream &err)
{
    if (files.isEmpty()) {
        err << u"A --check után adja meg az ellenőrizendő bevallásfájlokat."_s << Qt::endl;
        return 2;
    }
    bool clean = true;
    for (const QString &file : files) {
        QString error;
        const std::optional<decl::Draft> draft = decl::loadDraft(file, &error);
        if (!draft) {
            err << errorLine(file, error) << Qt::endl;
            clean = false;
            continue;
        }
        // Fields the file does not name are as on an untouched form.
        decl::MapForm form;
        decl::applyDraft(*draft, form);
        for (const decl::Finding &f : decl::checkForm(form)) {
            out << file << u": "_s << decl::fieldLabel(f) << u": "_s << f.message << Qt::endl;
            clean = false;
        }
    }
    return clean ? 0 : 1;
}

} // namespace app
