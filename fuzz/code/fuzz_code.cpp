// libFuzzer target for the 2D code's reader: any bytes a scanner may hand over are read or
// refused with a reason, and whatever is read is a whole declaration that a file carries back.

#include "declaration/declarationcode.h"
#include "declaration/draftfile.h"
#include "runtime/formatsettings.h"

#include <QString>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    rt::FormatSettings s;
    s.decimalSeparator = QLatin1Char(',');
    s.thousandSeparator = QLatin1Char(' ');
    rt::setFormatSettings(s);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QString error;
    const std::optional<decl::Draft> draft = decl::readCode(
        QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size)), QStringLiteral("lap.png"), &error);
    if (!draft) {
        // A refusal always names the page and says why.
        if (!error.contains(QStringLiteral("lap.png")) || !error.contains(u'\n'))
            std::abort();
        return 0;
    }
    // What a code gave is a declaration a file holds: written and read back it is the same.
    if (decl::readDraft(decl::toJson(*draft), QStringLiteral("back.tkd")) != draft)
        std::abort();
    return 0;
}
