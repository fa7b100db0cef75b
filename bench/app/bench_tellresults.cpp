// What telling a listener the results adds to the computation: leaving an area field computes
// the tax; with a screen reader listening the changed results are also composed and shown as a
// notification (goal: under 1 ms more than without). Each iteration alternates the area, so
// that every computation changes the results, and lets the event loop show the notification.

#include "app/window/form1.h"
#include "bench/benchmain.h"
#include "controls/numedit/ui/numedit.h"
#include "runtime/formatsettings.h"
#include "runtime/ui/application.h"

#include <QAccessible>
#include <QCoreApplication>
#include <QtGui/private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>

using namespace Qt::StringLiterals;

namespace {

// A screen reader connecting switches the platform's accessibility on; Qt has no public switch.
void setListening(bool on)
{
    if (QPlatformAccessibility *p = QGuiApplicationPrivate::platformIntegration()->accessibility())
        p->setActive(on);
}

void computeAlternating(benchmark::State &state, bool listening)
{
    app::TForm1 form;
    form.show();
    auto *a = qobject_cast<ctl::TNumEdit *>(form.control(u"NumEdit1"_s));
    if (!a) {
        state.SkipWithError("no area field");
        return;
    }
    setListening(listening);
    bool odd = false;
    for (auto _ : state) {
        a->setText(odd ? u"1500"_s : u"2000"_s);
        odd = !odd;
        form.szamolas();
        QCoreApplication::processEvents();
    }
    setListening(false);
    const bool told = !form.findChildren<QWidget *>(u"announcement"_s).isEmpty();
    if (told != listening)
        state.SkipWithError(listening ? "nothing was told" : "told without a listener");
}

void BM_ComputeWithoutListener(benchmark::State &state) { computeAlternating(state, false); }
void BM_ComputeAndTellListener(benchmark::State &state) { computeAlternating(state, true); }

} // namespace

BENCHMARK(BM_ComputeWithoutListener)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_ComputeAndTellListener)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);

int main(int argc, char **argv)
{
    tk::bench::preferOffscreen();
    rt::initFormatSettings();
    rt::Application application(argc, argv);
    return tk::bench::runBenchmarks(argc, argv);
}
