// libFuzzer target for the table reader: any bytes are read or refused with a reason naming the
// row; a row it takes is a declaration a file carries back, and its cells written again read back
// as the same row.

#include "declaration/draftfile.h"
#include "declaration/table/declarationtable.h"
#include "runtime/formatsettings.h"

#include <QBuffer>
#include <QString>

#include <cstdint>
#include <cstdlib>

namespace {

void require(bool condition)
{
    if (!condition)
        std::abort();
}

QByteArray bytesOf(const uint8_t *data, size_t size)
{
    return QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    // The reader rewrites "." to the locale's ","; the Hungarian case exercises that.
    rt::FormatSettings s;
    s.decimalSeparator = QLatin1Char(',');
    s.thousandSeparator = QLatin1Char(' ');
    rt::setFormatSettings(s);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QByteArray bytes = bytesOf(data, size);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    decl::TableReader reader(&buffer);
    QString error;
    if (!reader.readHeader(&error)) {
        require(error.startsWith(QStringLiteral("A táblázat nem olvasható be.\n")) && error.size() > 30);
        return 0;
    }
    require(!reader.header().isEmpty());
    const QByteArray header = decl::csvRecord(reader.header());
    int last = 1;
    for (;;) {
        const decl::TableReader::Next next = reader.next();
        if (next == decl::TableReader::Next::End) {
            require(reader.next() == next);
            return 0;
        }
        require(reader.rowNumber() > last);
        last = reader.rowNumber();
        const QString row = QStringLiteral("A táblázat %1. sor").arg(last);
        require(reader.error().startsWith(row) == (next != decl::TableReader::Next::Row));
        if (next == decl::TableReader::Next::Broken) {
            require(reader.error().contains(u'\n') && reader.next() == next);
            return 0;
        }
        if (next == decl::TableReader::Next::BadRow) {
            require(reader.error().contains(u'\n') && reader.draft() == decl::Draft());
            continue;
        }
        require(reader.cells().size() == reader.header().size());
        // What the row gave is a declaration a file holds: written and read back it is the same.
        const std::optional<decl::Draft> back = decl::readDraft(decl::toJson(reader.draft()), QStringLiteral("x.tkd"));
        require(back && *back == reader.draft());
        // The cells written as this program writes them read back as the same row, when the header
        // does (a header whose unquoted commas make up more column names than its ";" may not).
        QByteArray again = header + decl::csvRecord(reader.cells());
        QBuffer againBuffer(&again);
        againBuffer.open(QIODevice::ReadOnly);
        decl::TableReader rereader(&againBuffer);
        require(rereader.readHeader());
        if (rereader.header() != reader.header())
            continue;
        require(rereader.next() == decl::TableReader::Next::Row);
        require(rereader.cells() == reader.cells() && rereader.draft() == reader.draft());
        require(rereader.next() == decl::TableReader::Next::End);
    }
}
