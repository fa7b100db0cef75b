// libFuzzer target for the declaration file reader: whatever it takes must write back to bytes
// that read back to the same draft, and the checks must take whatever it puts on a form.

#include "declaration/checks.h"
#include "declaration/draftfile.h"
#include "declaration/formaccess.h"
#include "runtime/formatsettings.h"

#include <QString>

#include <cstdint>
#include <cstdlib>

namespace {

void useHungarianSeparator()
{
    // The reader rewrites "." to the locale's ","; the Hungarian case exercises that.
    static const bool done = [] {
        rt::FormatSettings s;
        s.decimalSeparator = QLatin1Char(',');
        s.thousandSeparator = QLatin1Char(' ');
        rt::setFormatSettings(s);
        return true;
    }();
    (void)done;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    useHungarianSeparator();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    useHungarianSeparator();
    const QString name = QStringLiteral("fuzz.tkd");
    QString error;
    const std::optional<decl::Draft> draft =
        decl::readDraft(QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size)), name, &error);
    if (!draft) {
        // A refusal always says which file and why.
        if (!error.startsWith(QStringLiteral("A ")) || !error.contains(name) || !error.contains(QLatin1Char('\n')))
            std::abort();
        return 0;
    }
    const QByteArray written = decl::toJson(*draft);
    const std::optional<decl::Draft> again = decl::readDraft(written, name, &error);
    if (!again || !(*again == *draft) || decl::toJson(*again) != written)
        std::abort();
    decl::MapForm form;
    decl::applyDraft(*draft, form);
    const QList<decl::Finding> findings = decl::checkForm(form, QDate(2006, 6, 1));
    for (const decl::Finding &f : findings)
        if (f.message.isEmpty() || decl::findingsFor(f.component, form, QDate(2006, 6, 1)).value(0) != f)
            std::abort();
    return 0;
}
