#include "app/cli/tablecommand.h"

#include "app/cli/errorline.h"
#include "app/cli/outputfiles.h"
#include "declaration/draftfile.h"
#include "declaration/table/declarationtable.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

using namespace Qt::StringLiterals;

namespace app {

int writeTable(const QString &table, const QStringList &inputs, const std::function<void(const QString &)> &errorLine)
{
    QSaveFile file(table);
    auto refuse = [&](const QString &reason) {
        file.cancelWriting();
        errorLine(app::errorLine(table, u"A táblázat nem írható\n"_s + reason));
        return 1;
    };
    if (!file.open(QIODevice::WriteOnly))
        return refuse(file.errorString());
    file.write(decl::tableHeaderBytes());
    int failures = 0;
    for (const QString &input : inputs) {
        QString error;
        const std::optional<decl::Draft> draft = decl::loadDraft(input, &error);
        if (!draft) {
            errorLine(app::errorLine(input, error));
            ++failures;
            continue;
        }
        if (file.write(decl::csvRecord(decl::tableRow(QFileInfo(input).fileName(), *draft))) < 0)
            return refuse(file.errorString());
    }
    // A full disk may show only here, as the last bytes go out.
    if (!file.commit())
        return refuse(file.errorString());
    return failures == 0 ? 0 : 1;
}

int writeDeclarationsFromTable(const QString &table, const QString &folder, const QString &nameColumn,
                               const std::function<void(const QString &)> &errorLine,
                               const std::function<void(const QString &)> &notice)
{
    QFile file(table);
    if (!file.open(QIODevice::ReadOnly)) {
        errorLine(app::errorLine(table, u"A táblázat nem nyitható meg\n"_s + file.errorString()));
        return 1;
    }
    decl::TableReader reader(&file);
    QString error;
    if (!reader.readHeader(&error)) {
        errorLine(app::errorLine(table, error));
        return 1;
    }
    if (const QStringList extra = reader.extraColumns(); !extra.isEmpty()) {
        QStringList quoted;
        for (const QString &name : extra)
            quoted << u"„%1”"_s.arg(name);
        notice(QDir::toNativeSeparators(table) + u": Ezek az oszlopok nem a bevallás részei, kimaradnak: "_s +
               quoted.join(u", "_s) + u'.');
    }
    // The taxpayer's name unless told otherwise.
    const QString naming = nameColumn.isEmpty() ? decl::tableColumnName(u"StyledEdit35"_s) : nameColumn;
    const int namingColumn = reader.columnOf(naming);
    if (namingColumn < 0) {
        errorLine(app::errorLine(table, u"A táblázatban nincs „%1” oszlop, amelyről a fájlok nevüket kapnák."_s.arg(naming)));
        return 1;
    }

    int failures = 0;
    for (;;) {
        switch (reader.next()) {
        case decl::TableReader::Next::Row: {
            QString stem = safeFileStem(reader.cells().value(namingColumn));
            // A name that ends as the files do would be doubled.
            if (stem.endsWith(u".tkd"_s, Qt::CaseInsensitive))
                stem = safeFileStem(stem.chopped(4));
            if (stem.isEmpty())
                stem = u"%1. sor"_s.arg(reader.rowNumber());
            if (writeDraftUnder(folder, stem, reader.draft(), &error).isEmpty()) {
                errorLine(app::errorLine(table, u"%1. sor\n"_s.arg(reader.rowNumber()) + error));
                ++failures;
            }
            break;
        }
        case decl::TableReader::Next::BadRow:
            errorLine(app::errorLine(table, reader.error()));
            ++failures;
            break;
        case decl::TableReader::Next::Broken:
            errorLine(app::errorLine(table, reader.error()));
            return 1;
        case decl::TableReader::Next::End:
            return failures == 0 ? 0 : 1;
        }
    }
}

} // namespace app
