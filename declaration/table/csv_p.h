#pragma once

// The CSV codec under the table: records split into cells as RFC 4180 has them, read from a
// device a record at a time.

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

class QIODevice;

namespace decl::table_p {

// Splits one record into cells, fed its bytes as they come: a cell is quoted when it starts
// with a quote, and a quote within a quoted cell is doubled. A record ends at CR or LF outside
// quotes.
class RecordParser
{
public:
    // With separator 0 the parser only finds where a header ends whose separator is not known
    // yet: a quote then opens a quoted run wherever it stands.
    explicit RecordParser(char separator) : m_separator(separator) {}

    // Takes bytes up to and including the CR or LF that ends the record; returns how many.
    qsizetype feed(QByteArrayView bytes);
    bool ended() const { return m_ended; }
    // The record ended at CR or LF, not at the end of the input.
    bool endedAtLineEnd() const { return m_endedAtLineEnd; }
    // The record ended at CR, so an LF right after it belongs to the same line end.
    bool endedAtCr() const { return m_endedAtCr; }
    // Ends the record where the input ends: false when a quoted cell is still open.
    bool finish();

    QList<QByteArray> takeCells() { return std::move(m_cells); }
    // The first cell with a quote where none may stand (within an unquoted cell, or after a
    // quoted cell's closing quote), -1 for none.
    int strayQuoteCell() const { return m_strayQuoteCell; }

private:
    enum class State { CellStart, Unquoted, Quoted, QuoteInQuoted };
    void endCell();
    void stray();

    char m_separator;
    State m_state = State::CellStart;
    bool m_ended = false;
    bool m_endedAtLineEnd = false;
    bool m_endedAtCr = false;
    int m_strayQuoteCell = -1;
    QByteArray m_cell;
    QList<QByteArray> m_cells;
};

struct Record
{
    QList<QByteArray> cells;       // each cell's bytes, its quotes undone
    QByteArray bytes;              // the record as it stands, without its line end; with separator 0 only
    int strayQuoteCell = -1;       // see RecordParser
    qint64 offset = 0;             // of its first byte in the device
    qint64 invalidUtf8At = -1;     // the device offset of its first byte that is no UTF-8, -1 for none
};

// Reads records from a device, holding the current one and at most one read ahead of it. A
// byte-order mark in front of the first record is skipped.
class RecordSource
{
public:
    enum class Status { Record, End, Unterminated, TooLong, ReadFailed };

    RecordSource(QIODevice *device, qint64 maxRecordSize) : m_device(device), m_maxRecordSize(maxRecordSize) {}

    // The next record, split at separator (0: see RecordParser).
    Status next(char separator, Record *record);
    // The device offset where the record that did not end began, or of the failed read.
    qint64 offset() const { return m_base + m_start; }
    QString deviceError() const;

private:
    bool fill();

    QIODevice *m_device;
    qint64 m_maxRecordSize;
    QByteArray m_buffer;
    qsizetype m_pos = 0;   // the next byte to take
    qsizetype m_start = 0; // where the current record began
    qint64 m_base = 0;     // the device offset of m_buffer[0]
    bool m_started = false;
    bool m_skipLf = false;
    bool m_atEnd = false;
    bool m_failed = false;
};

// The index of the first byte in bytes that starts no valid UTF-8 sequence, or of the sequence
// left unfinished; -1 when all of it is UTF-8.
qsizetype firstInvalidUtf8(QByteArrayView bytes);

} // namespace decl::table_p
