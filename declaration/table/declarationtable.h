#pragma once

#include "declaration/draftfile.h"

#include <QByteArray>
#include <QChar>
#include <QDate>
#include <QHash>
#include <QString>
#include <QStringList>

#include <memory>

class QIODevice;

namespace decl {

namespace table_p {
class RecordSource;
}

// The table of declarations the tax register exchanges: one row per declaration file, as CSV
// (RFC 4180) in UTF-8 with a byte-order mark, ";" between cells ("," is the decimal separator),
// CRLF after each record. A cell is quoted, its quotes doubled, exactly when it holds ";", a
// quote, CR or LF; within a cell a line break is "\n", as in the declaration file.
//
// The columns, in order: "fájl" (the file's name), each input field's text as the declaration
// file stores it, each radio group's chosen option by its screen text (empty for none), the four
// computed values as the form shows them, and "ellenőrzési találatok", the number of findings of
// the checks. A column is named by its caption and whose it is: "adózó: neve",
// "1. tulajdonostárs: adószáma"; outside the blocks by its section.

inline constexpr QStringView fileColumn = u"fájl";
inline constexpr QStringView findingsColumn = u"ellenőrzési találatok";

// The longest record the reader takes. A declaration's cells at their longest, every character
// three bytes and every quote doubled, stay far below it.
inline constexpr qint64 maxTableRecordSize = 16 * 1024 * 1024;

// The column names, in the table's order; unique, none with a line break.
QStringList tableHeader();

// The column of a field or radio group by its component name, empty for none.
QString tableColumnName(const QString &component);

// The start of a table: the byte-order mark and the header record.
QByteArray tableHeaderBytes();

// The cells of a declaration's row: the draft put on an untouched form (what it does not name
// stays as there), computed and checked. The computed cells are empty when the computation
// fails. The checks measure values in their boxes on paper with the fonts, which needs a
// QGuiApplication; without one, whether values fit is not checked. Birth dates in tax
// identification codes must not be after today, as in checkForm.
QStringList tableRow(const QString &fileName, const Draft &draft, QDate today = QDate::currentDate());

// One record: the cells quoted where needed and separated by ";", in UTF-8, ended by CRLF. The
// same cells always give the same bytes.
QByteArray csvRecord(const QStringList &cells);

// Reads a table record by record from a device open for reading, so that memory holds one
// record, however long the table. Takes the tables this program writes and the same tables saved
// again by a spreadsheet: "," as the separator too (the one of the two under which the header
// names more of the declaration's columns; ";" when both name as many), with or without the
// byte-order mark, LF, CRLF or CR after records, the columns in any order, some missing (those
// fields and groups are left out of the drafts) or unknown ones (ignored, see extraColumns()).
// The file name, computed and findings columns are never read into a draft.
//
// Rows are numbered as records, the header being 1, whatever line breaks their cells hold: the
// row number a spreadsheet shows. A record with no text in any cell (an empty line) is skipped.
class TableReader
{
public:
    explicit TableReader(QIODevice *device);
    ~TableReader();
    TableReader(const TableReader &) = delete;
    TableReader &operator=(const TableReader &) = delete;

    // Reads the header, and the table as far as its first row. Returns false, with the reason in
    // Hungarian in *error, when the whole table is refused: empty, without rows, a column twice,
    // no column of a declaration, the header not UTF-8 or its quotes broken. Call it once, first.
    bool readHeader(QString *error = nullptr);

    // The column names as the header gives them, in its order.
    const QStringList &header() const { return m_header; }
    // The header's columns that are no column of a declaration, each once, in table order.
    QStringList extraColumns() const;
    // The column's index in the table, -1 when the table has none of that name.
    int columnOf(const QString &name) const;
    QChar separator() const { return QChar::fromLatin1(m_separator); }

    // Row: draft() and cells() hold the next row. BadRow: the row is refused, error() names it
    // and its column; cells() holds its cells when it could be split into cells; call next()
    // again for the rows after it. End: no more rows. Broken: the table cannot be read further
    // (a quote open to its end, a record not UTF-8 or longer than maxTableRecordSize, the device
    // failing), error() says why. After End or Broken, next() returns the same again.
    enum class Next { Row, BadRow, End, Broken };
    Next next();

    // The record number of the row next() returned last.
    int rowNumber() const { return m_rowNumber; }
    const Draft &draft() const { return m_draft; }
    const QStringList &cells() const { return m_cells; }
    // Why the row next() returned last was refused or the table broke off, in Hungarian: a
    // headline naming the row, the reason on the next line; empty after a good row.
    QString error() const { return m_error; }

private:
    struct Fetched;
    Next fetch(Fetched *out);
    Next refuseRow(const QString &reason);
    Next refuseColumn(int column, const QString &reason);
    Next takeRow();

    std::unique_ptr<table_p::RecordSource> m_source;
    std::unique_ptr<Fetched> m_pending; // the first row, read ahead by readHeader()
    char m_separator = ';';
    QStringList m_header;
    QList<int> m_columns;              // per table column: index into the known columns, -1 for none
    QHash<QString, int> m_columnIndex; // header name -> table column
    bool m_headerRead = false;
    Next m_final = Next::Row;          // End or Broken once reached
    int m_records = 0;                 // records taken so far, the header included
    int m_rowNumber = 0;
    Draft m_draft;
    QStringList m_cells;
    QString m_error;
};

} // namespace decl
