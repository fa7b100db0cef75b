// The table of declarations, for the fully filled form: its row written (computed, checked with
// each value's fit on paper, quoted; goal under 0.5 ms) and one row read back into a draft (goal
// under 0.5 ms), medians of nine repetitions; and tables of 1,000 and of 10,000 rows read from a
// stream, whose peak memory must not grow with the count.

#include "bench/benchmain.h"
#include "bench/filledform.h"
#include "declaration/formaccess.h"
#include "declaration/table/declarationtable.h"
#include "runtime/formatsettings.h"

#include <QGuiApplication>
#include <QIODevice>

#include <cstring>
#include <sys/resource.h>

using namespace Qt::StringLiterals;

namespace {

const QDate today(2006, 6, 1);

// The filled form, its numbers read with a decimal comma.
decl::MapForm fullForm()
{
    rt::FormatSettings settings;
    settings.decimalSeparator = u',';
    rt::setFormatSettings(settings);
    return tk::bench::filledForm();
}

// A table arriving through a pipe: the header, then the same row count times (-1: without end).
class RowStream : public QIODevice
{
public:
    RowStream(QByteArray header, QByteArray row, qint64 count)
        : m_header(std::move(header)), m_row(std::move(row)), m_count(count)
    {
        open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        qint64 n = 0;
        while (n < maxSize) {
            const qint64 at = m_given - m_header.size();
            const QByteArray &part = at < 0 ? m_header : m_row;
            const qint64 offset = at < 0 ? m_given : at % m_row.size();
            if (at >= 0 && m_count >= 0 && at >= m_count * m_row.size())
                break;
            const qint64 take = std::min(maxSize - n, part.size() - offset);
            memcpy(data + n, part.constData() + offset, size_t(take));
            n += take;
            m_given += take;
        }
        return n;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    QByteArray m_header;
    QByteArray m_row;
    qint64 m_count;
    qint64 m_given = 0;
};

QByteArray fullRow()
{
    return decl::csvRecord(decl::tableRow(u"kovacsne-ori-ursula.tkd"_s, decl::draftOf(fullForm()), today));
}

long peakKilobytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

void BM_TableWriteRow(benchmark::State &state)
{
    // The draft is taken from the form each time, as the command takes it from each file.
    const decl::MapForm form = fullForm();
    qsizetype bytes = 0;
    for (auto _ : state) {
        const QByteArray record = decl::csvRecord(decl::tableRow(u"kovacsne-ori-ursula.tkd"_s, decl::draftOf(form), today));
        bytes = record.size();
        benchmark::DoNotOptimize(record);
    }
    state.counters["bytes"] = double(bytes);
}

void BM_TableReadRow(benchmark::State &state)
{
    RowStream stream(decl::tableHeaderBytes(), fullRow(), -1);
    decl::TableReader reader(&stream);
    if (!reader.readHeader()) {
        state.SkipWithError("header refused");
        return;
    }
    for (auto _ : state) {
        if (reader.next() != decl::TableReader::Next::Row) {
            state.SkipWithError(qPrintable(reader.error()));
            break;
        }
        benchmark::DoNotOptimize(reader.draft());
    }
}

void BM_TableReadTable(benchmark::State &state)
{
    const qint64 count = state.range(0);
    const QByteArray header = decl::tableHeaderBytes();
    const QByteArray row = fullRow();
    qint64 rows = 0;
    for (auto _ : state) {
        RowStream stream(header, row, count);
        decl::TableReader reader(&stream);
        rows = 0;
        if (reader.readHeader())
            while (reader.next() == decl::TableReader::Next::Row)
                ++rows;
    }
    if (rows != count)
        state.SkipWithError("not every row read");
    state.counters["table_MB"] = double(header.size() + count * row.size()) / (1 << 20);
    state.counters["peak_MB"] = double(peakKilobytes()) / 1024;
}

} // namespace

BENCHMARK(BM_TableWriteRow)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_TableReadRow)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);
// The smaller table first: the peak after it is the baseline the larger one must keep.
BENCHMARK(BM_TableReadTable)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(1);

int main(int argc, char **argv)
{
    // The checks measure each value's fit with the fonts, which need a GUI application.
    tk::bench::preferOffscreen();
    QGuiApplication application(argc, argv);
    return tk::bench::runBenchmarks(argc, argv);
}
