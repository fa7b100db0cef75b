#include "declaration/table/declarationtable.h"

#include "csv_p.h"

#include <QIODevice>

#include <cstring>

namespace decl::table_p {

namespace {

// Large enough that a device is read in few calls, small beside the records it holds.
constexpr qint64 chunkSize = 64 * 1024;

bool needsQuotes(const QByteArray &cell)
{
    for (const char c : cell)
        if (c == ';' || c == '"' || c == '\r' || c == '\n')
            return true;
    return false;
}

} // namespace

void RecordParser::endCell()
{
    m_cells.append(std::move(m_cell));
    m_cell = QByteArray();
}

void RecordParser::stray()
{
    if (m_strayQuoteCell < 0)
        m_strayQuoteCell = int(m_cells.size());
}

qsizetype RecordParser::feed(QByteArrayView bytes)
{
    const char *const begin = bytes.data();
    const char *const end = begin + bytes.size();
    for (const char *p = begin; p < end && !m_ended; ++p) {
        const char c = *p;
        switch (m_state) {
        case State::Quoted: {
            // The run up to the next quote is the cell's text, line breaks and separators too.
            const char *quote = static_cast<const char *>(memchr(p, '"', size_t(end - p)));
            if (!quote) {
                m_cell.append(p, end - p);
                return bytes.size();
            }
            m_cell.append(p, quote - p);
            p = quote;
            m_state = State::QuoteInQuoted;
            continue;
        }
        case State::QuoteInQuoted:
            if (c == '"') {
                m_cell += '"';
                m_state = State::Quoted;
                continue;
            }
            m_state = State::Unquoted;
            if (m_separator && c != m_separator && c != '\r' && c != '\n')
                stray(); // text after the closing quote
            break;
        case State::CellStart:
            if (c == '"') {
                m_state = State::Quoted;
                continue;
            }
            m_state = State::Unquoted;
            break;
        case State::Unquoted:
            break;
        }
        // Unquoted.
        if (m_separator && c == m_separator) {
            endCell();
            m_state = State::CellStart;
        } else if (c == '\r' || c == '\n') {
            endCell();
            m_ended = true;
            m_endedAtLineEnd = true;
            m_endedAtCr = c == '\r';
            return p + 1 - begin;
        } else if (c == '"') {
            if (m_separator) {
                stray();
                m_cell += c;
            } else {
                m_state = State::Quoted;
            }
        } else {
            m_cell += c;
        }
    }
    return bytes.size();
}

bool RecordParser::finish()
{
    if (m_ended)
        return true;
    if (m_state == State::Quoted)
        return false;
    endCell();
    m_ended = true;
    return true;
}

bool RecordSource::fill()
{
    if (m_atEnd || m_failed)
        return false;
    // What the records before the current one took is given back first.
    if (m_start > 0) {
        m_buffer.remove(0, m_start);
        m_base += m_start;
        m_pos -= m_start;
        m_start = 0;
    }
    for (;;) {
        const qsizetype old = m_buffer.size();
        m_buffer.resize(old + chunkSize);
        const qint64 n = m_device->read(m_buffer.data() + old, chunkSize);
        m_buffer.resize(old + std::max<qint64>(n, 0));
        if (n > 0)
            return true;
        if (n < 0) {
            m_failed = true;
            return false;
        }
        // A pipe or socket may have nothing yet; a file, a buffer or a closed stream is at its end.
        if (!m_device->waitForReadyRead(-1)) {
            m_atEnd = true;
            return false;
        }
    }
}

RecordSource::Status RecordSource::next(char separator, Record *record)
{
    m_start = m_pos;
    if (!m_started) {
        while (m_buffer.size() - m_pos < 3 && fill()) {
        }
        m_started = true;
        if (QByteArrayView(m_buffer).sliced(m_pos).startsWith("\xEF\xBB\xBF"))
            m_pos += 3;
        m_start = m_pos;
    }
    if (m_skipLf) {
        if (m_pos == m_buffer.size())
            fill();
        if (m_pos < m_buffer.size() && m_buffer[m_pos] == '\n')
            ++m_pos;
        m_skipLf = false;
        m_start = m_pos;
    }
    RecordParser parser(separator);
    for (;;) {
        if (m_pos == m_buffer.size() && !fill()) {
            if (m_failed)
                return Status::ReadFailed;
            if (m_pos == m_start)
                return Status::End;
            if (!parser.finish())
                return Status::Unterminated;
            break;
        }
        m_pos += parser.feed(QByteArrayView(m_buffer).sliced(m_pos));
        // Stops within a chunk of the bound, before a record without end fills the memory.
        if (m_pos - m_start > m_maxRecordSize)
            return Status::TooLong;
        if (parser.ended()) {
            m_skipLf = parser.endedAtCr();
            break;
        }
    }
    QByteArrayView bytes = QByteArrayView(m_buffer).sliced(m_start, m_pos - m_start);
    if (parser.endedAtLineEnd())
        bytes.chop(1);
    const qsizetype bad = firstInvalidUtf8(bytes);
    record->invalidUtf8At = bad < 0 ? -1 : m_base + m_start + bad;
    record->offset = m_base + m_start;
    record->strayQuoteCell = parser.strayQuoteCell();
    record->cells = parser.takeCells();
    record->bytes = separator ? QByteArray() : bytes.toByteArray();
    return Status::Record;
}

QString RecordSource::deviceError() const
{
    return m_device->errorString();
}

qsizetype firstInvalidUtf8(QByteArrayView bytes)
{
    const auto *const s = reinterpret_cast<const uchar *>(bytes.data());
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    while (i < n) {
        const uchar c = s[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        // The lead byte gives the length and the range of the second byte (no overlong forms,
        // no surrogates, nothing beyond U+10FFFF); the others are 80..BF.
        int length = 0;
        uchar low = 0x80, high = 0xBF;
        if (c >= 0xC2 && c <= 0xDF) {
            length = 2;
        } else if (c >= 0xE0 && c <= 0xEF) {
            length = 3;
            if (c == 0xE0)
                low = 0xA0;
            else if (c == 0xED)
                high = 0x9F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            length = 4;
            if (c == 0xF0)
                low = 0x90;
            else if (c == 0xF4)
                high = 0x8F;
        } else {
            return i;
        }
        if (i + length > n)
            return i;
        if (s[i + 1] < low || s[i + 1] > high)
            return i;
        for (int k = 2; k < length; ++k)
            if (s[i + k] < 0x80 || s[i + k] > 0xBF)
                return i;
        i += length;
    }
    return -1;
}

} // namespace decl::table_p

namespace decl {

QByteArray csvRecord(const QStringList &cells)
{
    QByteArray out;
    for (qsizetype i = 0; i < cells.size(); ++i) {
        if (i > 0)
            out += ';';
        const QByteArray cell = cells[i].toUtf8();
        if (!table_p::needsQuotes(cell)) {
            out += cell;
            continue;
        }
        out += '"';
        for (const char c : cell) {
            if (c == '"')
                out += '"';
            out += c;
        }
        out += '"';
    }
    out += "\r\n";
    return out;
}

} // namespace decl
