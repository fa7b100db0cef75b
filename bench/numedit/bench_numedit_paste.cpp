// A 1 MB clipboard text pasted with Ctrl+V into a numeric field whose "0" is selected, as on
// entering it: digits (the text ends at the largest number the type holds), letters (all
// refused) and a mix of both with separators, signs and line breaks. Goal: under 50 ms median.

#include "bench/benchmain.h"
#include "controls/numedit/ui/numedit.h"

#include <QApplication>
#include <QClipboard>
#include <QRandomGenerator>
#include <QTest>

namespace {

constexpr int payloadSize = 1000000;

enum class Payload { Digits, Letters, Mixed };

QString payload(Payload kind)
{
    switch (kind) {
    case Payload::Digits:
        return QString(payloadSize, QLatin1Char('7'));
    case Payload::Letters:
        return QString(payloadSize, QLatin1Char('x'));
    case Payload::Mixed:
        break;
    }
    const QString mix = QStringLiteral("0123456789012345678901234567890123456789,.-eE \n\tabc");
    QRandomGenerator rng(2006);
    QString s(payloadSize, Qt::Uninitialized);
    for (QChar &ch : s)
        ch = mix.at(rng.bounded(int(mix.size())));
    return s;
}

void BM_PasteIntoNumEdit(benchmark::State &state, Payload kind)
{
    QGuiApplication::clipboard()->setText(payload(kind));
    ctl::TNumEdit edit;
    edit.show();
    qsizetype length = 0;
    for (auto _ : state) {
        state.PauseTiming();
        edit.setValue(0);
        edit.selectAll();
        state.ResumeTiming();
        QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
        length = edit.text().size();
    }
    state.counters["length"] = double(length);
}
BENCHMARK_CAPTURE(BM_PasteIntoNumEdit, digits, Payload::Digits)
    ->Unit(benchmark::kMillisecond)->Repetitions(7)->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(BM_PasteIntoNumEdit, letters, Payload::Letters)
    ->Unit(benchmark::kMillisecond)->Repetitions(7)->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(BM_PasteIntoNumEdit, mixed, Payload::Mixed)
    ->Unit(benchmark::kMillisecond)->Repetitions(7)->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char **argv)
{
    tk::bench::preferOffscreen();
    QApplication app(argc, argv);
    return tk::bench::runBenchmarks(argc, argv);
}
