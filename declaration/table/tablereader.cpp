#include "declaration/table/declarationtable.h"

#include "csv_p.h"
#include "tablecolumns_p.h"

#include <QIODevice>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringDecoder>

#include <algorithm>
#include <optional>

using namespace Qt::StringLiterals;

// The reading half of the table: no computation, checks or fonts are needed to read one.

namespace decl {

using table_p::Column;
using table_p::ColumnKind;
using table_p::Record;
using table_p::RecordSource;
using Status = RecordSource::Status;

namespace {

QString tableRefused(const QString &reason)
{
    return u"A táblázat nem olvasható be.\n"_s + reason;
}

QString tableBroken(int row, const QString &reason)
{
    return u"A táblázat %1. sorától nem olvasható tovább.\n"_s.arg(row) + reason;
}

QString unterminated()
{
    return u"A sorban megnyitott idézőjelet a fájl végéig semmi nem zárja le."_s;
}

QString tooLong()
{
    return u"A sor hosszabb %1 MB-nál; egy bevallás sora ennél jóval rövidebb."_s.arg(maxTableRecordSize >> 20);
}

// what: "A sor", "A fejléc".
QString notUtf8(const QString &what, qint64 offset)
{
    return u"%1 nem UTF-8 kódolású szöveg: a fájl %2. bájtja nem az. A táblázatot UTF-8 kódolással kell "
           u"menteni; más kódolásban (például Latin-2-ben) az ékezetes betűk nem olvashatók."_s
        .arg(what)
        .arg(offset + 1);
}

QString strayQuote()
{
    return u"A cella idézőjelei hibásak: az idézőjelet tartalmazó cella egészét idézőjelek közé kell tenni, "
           u"benne minden idézőjelet megkettőzve."_s;
}

// A cell's text exactly as its bytes give it. QString::fromUtf8 drops a byte-order mark at the
// start, which within the table is a cell's text: only the file's own mark is no part of it.
QString textOf(QByteArrayView utf8)
{
    QStringDecoder decoder(QStringDecoder::Utf8,
                           QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    return decoder.decode(utf8);
}

// The header split at separator; nothing when its quotes are broken there. A line end the split
// sees outside quotes, where finding the record saw none, is a stray quote too.
std::optional<QList<QByteArray>> splitHeader(QByteArrayView header, char separator)
{
    table_p::RecordParser parser(separator);
    parser.feed(header);
    if (parser.ended() || !parser.finish() || parser.strayQuoteCell() >= 0)
        return std::nullopt;
    return parser.takeCells();
}

qsizetype knownColumns(const QList<QByteArray> &names)
{
    return std::count_if(names.cbegin(), names.cend(),
                         [](const QByteArray &n) { return table_p::columnIndex(textOf(n)) >= 0; });
}

bool allEmpty(const QList<QByteArray> &cells)
{
    return std::all_of(cells.cbegin(), cells.cend(), [](const QByteArray &c) { return c.isEmpty(); });
}

QString optionProblem(const RadioGroup &g, const QString &cell)
{
    QStringList options;
    for (const QString &item : g.items)
        options.append(u"„%1”"_s.arg(item));
    return u"A cella szövege, „%1”, nem lehetősége a(z) „%2” csoportnak. A lehetőségek: %3, vagy üres cella, ha "
           u"egyik sem."_s.arg(cell, g.caption, options.join(u", "_s));
}

// The reason why readDraft refused, without its headline.
QString reasonOf(const QString &error)
{
    return error.mid(error.indexOf(u'\n') + 1);
}

QByteArray draftFileBytes(const QJsonObject &fieldObject, const QJsonObject &choiceObject)
{
    QJsonObject root;
    root.insert(u"format"_s, draftFormat.toString());
    root.insert(u"version"_s, draftVersion);
    root.insert(u"fields"_s, fieldObject);
    root.insert(u"choices"_s, choiceObject);
    return QJsonDocument(root).toJson(QJsonDocument::Compact);
}

} // namespace

struct TableReader::Fetched
{
    Next next = Next::End;
    Record record;
    int number = 0;
};

TableReader::TableReader(QIODevice *device)
    : m_source(std::make_unique<RecordSource>(device, maxTableRecordSize))
{
}

TableReader::~TableReader() = default;

bool TableReader::readHeader(QString *error)
{
    Q_ASSERT(!m_headerRead);
    m_headerRead = true;
    auto refuse = [&](const QString &reason) {
        m_error = tableRefused(reason);
        m_final = Next::Broken;
        if (error)
            *error = m_error;
        return false;
    };
    // The separator is not known yet: the record is found first, then split.
    Record record;
    const Status status = m_source->next(0, &record);
    m_records = 1;
    m_rowNumber = 1;
    switch (status) {
    case Status::End: return refuse(u"A táblázat üres."_s);
    case Status::Unterminated: return refuse(u"A fejlécben megnyitott idézőjelet a fájl végéig semmi nem zárja le."_s);
    case Status::TooLong: return refuse(u"A fejléc hosszabb %1 MB-nál."_s.arg(maxTableRecordSize >> 20));
    case Status::ReadFailed: return refuse(u"A fájl olvasása megszakadt: %1"_s.arg(m_source->deviceError()));
    case Status::Record: break;
    }
    if (record.invalidUtf8At >= 0)
        return refuse(notUtf8(u"A fejléc"_s, record.invalidUtf8At));
    if (record.bytes.isEmpty())
        return refuse(u"A táblázat első sora, a fejléc, üres."_s);

    // A spreadsheet may have saved the table with "," between cells; the header tells which, as
    // the separator that finds more of the declaration's columns, ";" when both find as many.
    const std::optional<QList<QByteArray>> semicolonCells = splitHeader(record.bytes, ';');
    const std::optional<QList<QByteArray>> commaCells = splitHeader(record.bytes, ',');
    if (!semicolonCells && !commaCells)
        return refuse(u"A fejléc idézőjelei hibásak: az idézőjelet tartalmazó oszlopnevet egészében idézőjelek közé "
                      u"kell tenni, benne minden idézőjelet megkettőzve."_s);
    const bool comma = !semicolonCells || (commaCells && knownColumns(*commaCells) > knownColumns(*semicolonCells));
    m_separator = comma ? ',' : ';';
    const QList<QByteArray> &cells = comma ? *commaCells : *semicolonCells;
    bool known = false;
    for (int i = 0; i < cells.size(); ++i) {
        const QString name = textOf(cells[i]);
        if (!name.isEmpty()) {
            if (const auto it = m_columnIndex.constFind(name); it != m_columnIndex.cend())
                return refuse(u"A(z) „%1” oszlop kétszer áll a fejlécben: a(z) %2. és a(z) %3. oszlop neve."_s.arg(name)
                                  .arg(*it + 1)
                                  .arg(i + 1));
            m_columnIndex.insert(name, i);
        }
        m_header.append(name);
        const int column = table_p::columnIndex(name);
        m_columns.append(column);
        known = known || column >= 0;
    }
    if (!known)
        return refuse(u"A fejlécben nincs egyetlen bevallási oszlop sem (például „%1” vagy „%2”): ez nem "
                      u"bevallások táblázata."_s.arg(fileColumn, tableHeader().value(1)));

    // Read ahead to the first row, so that a table without any is refused as a whole.
    m_pending = std::make_unique<Fetched>();
    m_pending->next = fetch(m_pending.get());
    if (m_pending->next == Next::End)
        return refuse(u"A táblázatban csak a fejléc áll, egyetlen bevallás sora sincs."_s);
    return true;
}

QStringList TableReader::extraColumns() const
{
    QStringList extra;
    for (int i = 0; i < m_header.size(); ++i)
        if (m_columns[i] < 0 && !extra.contains(m_header[i]))
            extra.append(m_header[i]);
    return extra;
}

int TableReader::columnOf(const QString &name) const
{
    return m_columnIndex.value(name, -1);
}

// The next record that holds any text, or End, or Broken with the reason set.
TableReader::Next TableReader::fetch(Fetched *out)
{
    for (;;) {
        const Status status = m_source->next(m_separator, &out->record);
        if (status == Status::End)
            return Next::End;
        out->number = ++m_records;
        switch (status) {
        case Status::End:
        case Status::Record: break;
        case Status::Unterminated: m_error = tableBroken(out->number, unterminated()); return Next::Broken;
        case Status::TooLong: m_error = tableBroken(out->number, tooLong()); return Next::Broken;
        case Status::ReadFailed:
            m_error = tableBroken(out->number, u"A fájl olvasása megszakadt: %1"_s.arg(m_source->deviceError()));
            return Next::Broken;
        }
        if (out->record.invalidUtf8At >= 0) {
            m_error = tableBroken(out->number, notUtf8(u"A sor"_s, out->record.invalidUtf8At));
            return Next::Broken;
        }
        if (!allEmpty(out->record.cells))
            return Next::Row;
    }
}

TableReader::Next TableReader::next()
{
    Q_ASSERT(m_headerRead);
    if (!m_headerRead) {
        m_error = tableRefused(u"A táblázat fejléce nincs beolvasva."_s);
        m_final = Next::Broken;
    }
    if (m_final != Next::Row)
        return m_final;
    Fetched fetched;
    if (m_pending) {
        fetched = std::move(*m_pending);
        m_pending.reset();
    } else {
        m_error.clear();
        fetched.next = fetch(&fetched);
    }
    m_draft = Draft();
    m_cells.clear();
    if (fetched.number > 0)
        m_rowNumber = fetched.number;
    if (fetched.next != Next::Row) {
        m_final = fetched.next;
        return m_final;
    }
    m_cells.reserve(fetched.record.cells.size());
    for (const QByteArray &cell : std::as_const(fetched.record.cells))
        m_cells.append(textOf(cell));
    if (const int stray = fetched.record.strayQuoteCell; stray >= 0)
        return stray < m_header.size() ? refuseColumn(stray, strayQuote()) : refuseRow(strayQuote());
    return takeRow();
}

TableReader::Next TableReader::refuseRow(const QString &reason)
{
    m_error = u"A táblázat %1. sora nem olvasható be.\n"_s.arg(m_rowNumber) + reason;
    return Next::BadRow;
}

TableReader::Next TableReader::refuseColumn(int column, const QString &reason)
{
    m_error = u"A táblázat %1. sora nem olvasható be: „%2” oszlop.\n"_s.arg(m_rowNumber).arg(m_header.value(column))
        + reason;
    return Next::BadRow;
}

// The row's cells as a declaration file, read by the file's own reader, so that a cell is
// refused for what a file could not hold either.
TableReader::Next TableReader::takeRow()
{
    if (m_cells.size() > m_header.size())
        return refuseRow(u"A sorban %1 cella áll, a fejlécben csak %2 oszlop."_s.arg(m_cells.size()).arg(m_header.size()));
    if (m_cells.size() < m_header.size())
        return refuseRow(u"A sorban csak %1 cella áll, a fejlécben %2 oszlop."_s.arg(m_cells.size()).arg(m_header.size()));

    const QString source = u"%1. sor"_s.arg(m_rowNumber);
    QJsonObject fieldObject;
    QJsonObject choiceObject;
    bool options = true;
    for (int i = 0; i < m_cells.size(); ++i) {
        if (m_columns[i] < 0)
            continue;
        const Column &c = table_p::columns().at(m_columns[i]);
        if (c.kind == ColumnKind::Field) {
            fieldObject.insert(c.field->key, m_cells[i]);
        } else if (c.kind == ColumnKind::Group) {
            const int index = m_cells[i].isEmpty() ? -1 : int(c.group->items.indexOf(m_cells[i]));
            options = options && (index >= 0 || m_cells[i].isEmpty());
            choiceObject.insert(c.group->component, index);
        }
    }
    QString error;
    if (options) {
        if (std::optional<Draft> draft = readDraft(draftFileBytes(fieldObject, choiceObject), source, &error)) {
            m_draft = std::move(*draft);
            return Next::Row;
        }
    }
    // The file's reader names the first field it refuses in its own order; the row names the
    // first column in the table's.
    for (int i = 0; i < m_cells.size(); ++i) {
        if (m_columns[i] < 0)
            continue;
        const Column &c = table_p::columns().at(m_columns[i]);
        if (c.kind == ColumnKind::Group && !m_cells[i].isEmpty() && !c.group->items.contains(m_cells[i]))
            return refuseColumn(i, optionProblem(*c.group, m_cells[i]));
        QString fieldError;
        if (c.kind == ColumnKind::Field
            && !readDraft(draftFileBytes(QJsonObject{{c.field->key, m_cells[i]}}, {}), source, &fieldError))
            return refuseColumn(i, reasonOf(fieldError));
    }
    return refuseRow(reasonOf(error));
}

} // namespace decl
