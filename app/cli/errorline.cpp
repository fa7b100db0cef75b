#include "app/cli/errorline.h"

#include "runtime/errors.h"

#include <QDir>
#include <QStringList>

using namespace Qt::StringLiterals;

namespace app {

QString errorLine(const QString &input, const QString &message)
{
    const QString name = QDir::toNativeSeparators(input);
    QStringList lines = message.split(u'\n', Qt::SkipEmptyParts);
    if (lines.isEmpty())
        return name + u": "_s + rt::displayMessage(message);
    QString headline = lines.takeFirst();
    const QString named = u": "_s + name;
    if (headline.endsWith(named) && !lines.isEmpty())
        headline.chop(named.size());
    // A headline written as a sentence of its own loses its full stop before the reason.
    if (headline.endsWith(u'.') && !lines.isEmpty())
        headline.chop(1);
    return name + u": "_s + rt::displayMessage(lines.isEmpty() ? headline : headline + u": "_s + lines.join(u' '));
}

} // namespace app
