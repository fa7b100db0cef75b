// Preparation of the printed declaration, and the linear growth of preparing and saving reports
// of many pages (copies of the declaration's first page).
#include "bench/benchmain.h"
#include "declaration/formaccess.h"
#include "declaration/reporttemplate.h"
#include "declaration/reportvalues.h"
#include "report/engine/reportdocument.h"
#include "report/model/page.h"
#include "report/resources/resources.h"
#include "runtime/messages.h"

#include <QElapsedTimer>
#include <QTemporaryDir>

#include <malloc.h>

namespace {

void quietMessages()
{
    rt::setMessageHandler([](const rt::Message &) {});
}

void BM_PrepareDeclaration(benchmark::State &state)
{
    quietMessages();
    decl::MapForm form;
    form.setItemIndex(QStringLiteral("CtlRadioGroup5"), 2);
    form.setItemIndex(QStringLiteral("CtlRadioGroup6"), 4);
    decl::DeclarationReport declaration(form);
    for (auto _ : state) {
        const bool ok = declaration.prepare();
        benchmark::DoNotOptimize(ok);
    }
}
BENCHMARK(BM_PrepareDeclaration)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

// A report of `count` pages, each a copy of the declaration's Page1 with its names made unique.
std::unique_ptr<rep::ReportDocument> syntheticReport(int count, decl::FormAccess &form)
{
    rep::TrepReport declaration;
    decl::loadReportTemplate(declaration);
    rep::TrepXMLItem page;
    declaration.Pages().first()->SaveToStream(page);

    rep::TrepXMLItem root(QStringLiteral("TrepReport"));
    for (int i = 0; i < count; ++i) {
        auto copy = std::make_unique<rep::TrepXMLItem>(page.name(), page.text());
        copy->setProp(QStringLiteral("Name"), QStringLiteral("Page%1").arg(i + 1));
        for (int j = 0; j < page.count(); ++j) {
            const rep::TrepXMLItem *object = page.child(j);
            rep::TrepXMLItem *c = copy->add(object->name(), object->text());
            c->setProp(QStringLiteral("Name"), object->prop(QStringLiteral("Name")) + QStringLiteral("_%1").arg(i));
        }
        root.addItem(std::move(copy));
    }
    auto document = std::make_unique<rep::ReportDocument>();
    document->report().LoadFromStream(root);
    document->report().OnGetValue = [&form](const QString &name, QVariant &value) {
        decl::repReport1GetValue(form, name, value);
    };
    return document;
}

size_t heapInUse()
{
    return mallinfo2().uordblks;
}

void BM_PrepareAndSavePages(benchmark::State &state)
{
    quietMessages();
    const int count = int(state.range(0));
    decl::MapForm form;
    auto document = syntheticReport(count, form);
    rep::TrepReport &report = document->report();
    rep::TrepPreviewPages &pages = document->pages();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("report.prp"));
    double bytesPerPage = 0;
    double prepareSeconds = 0, saveSeconds = 0;
    for (auto _ : state) {
        state.PauseTiming();
        pages.Clear();
        const size_t before = heapInUse();
        state.ResumeTiming();
        QElapsedTimer timer;
        timer.start();
        const bool ok = report.PrepareReport(true);
        prepareSeconds += timer.nsecsElapsed() / 1e9;
        state.PauseTiming();
        const size_t after = heapInUse();
        state.ResumeTiming();
        timer.restart();
        pages.SaveToFile(path);
        saveSeconds += timer.nsecsElapsed() / 1e9;
        if (!ok || pages.Count() != count)
            state.SkipWithError("preparation failed");
        bytesPerPage = double(after > before ? after - before : 0) / count;
    }
    state.counters["pages"] = count;
    state.counters["time_per_page"] =
        benchmark::Counter(double(count), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.counters["bytes_per_page"] = bytesPerPage;
    state.counters["prepare_us_per_page"] = prepareSeconds * 1e6 / double(state.iterations()) / count;
    state.counters["save_us_per_page"] = saveSeconds * 1e6 / double(state.iterations()) / count;
}
BENCHMARK(BM_PrepareAndSavePages)->Arg(10)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)
    ->Iterations(3);

} // namespace

int main(int argc, char **argv)
{
    rep::fillHungarianResources();
    return tk::bench::runBenchmarks(argc, argv);
}
