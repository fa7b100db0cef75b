// Opening and saving a declaration file through the main window's commands, on a fully filled
// form: the file read and checked, every control set, the computation and the title (goal: under
// 5 ms); the form read from the controls and written atomically (goal: under 5 ms). Medians of
// nine repetitions.

#include "app/form1.h"
#include "bench/benchmain.h"
#include "declaration/catalogue.h"
#include "declaration/draftfile.h"
#include "declaration/formaccess.h"
#include "runtime/formatsettings.h"
#include "runtime/ui/application.h"

#include <QAction>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace {

// Every field filled as a user would, valid codes, a remark of twenty lines, every group chosen.
decl::Draft fullDraft()
{
    decl::MapForm form;
    int n = 0;
    for (const decl::Field &f : decl::fields()) {
        ++n;
        switch (f.kind) {
        case decl::FieldKind::TextEdit:
            form.setText(f.component, u"Kovácsné Őri Űrsula, 9999 Hollóberény, Fő tér %1."_s.arg(n));
            break;
        case decl::FieldKind::TaxNumber: form.setText(f.component, u"15789934-2-51"_s); break;
        case decl::FieldKind::TaxId: form.setText(f.component, u"8365670003"_s); break;
        case decl::FieldKind::NumericEdit: form.setText(f.component, u"%1,5"_s.arg(n * 100)); break;
        case decl::FieldKind::RichEdit: {
            QStringList lines;
            for (int i = 0; i < 20; ++i)
                lines.append(u"A megjegyzés %1. sora, ékezetekkel: árvíztűrő tükörfúrógép."_s.arg(i + 1));
            form.setText(f.component, lines.join(u"\r\n"_s));
        }
        }
    }
    form.setText(u"NumEdit1"_s, u"90000"_s);
    form.setItemIndex(u"CtlRadioGroup1"_s, 1);
    form.setItemIndex(u"CtlRadioGroup5"_s, 2);
    form.setItemIndex(u"CtlRadioGroup6"_s, 4);
    return decl::draftOf(form);
}

void BM_OpenDraftInTheWindow(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"teli.tkd"_s);
    decl::saveDraft(path, fullDraft());
    app::TForm1 form;
    for (auto _ : state)
        form.openFile(path);
    if (form.windowTitle() != u"Elektronikus nyomtatvány - Hollóberény Polgármesteri Hivatal - teli.tkd"_s)
        state.SkipWithError("the file was not opened");
}

void BM_SaveDraftFromTheWindow(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"teli.tkd"_s);
    decl::saveDraft(path, fullDraft());
    app::TForm1 form;
    form.openFile(path);
    QAction *save = form.findChild<QAction *>(u"Ments1"_s);
    for (auto _ : state)
        save->trigger();
}

} // namespace

BENCHMARK(BM_OpenDraftInTheWindow)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_SaveDraftFromTheWindow)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);

int main(int argc, char **argv)
{
    tk::bench::preferOffscreen();
    rt::initFormatSettings();
    rt::Application application(argc, argv);
    return tk::bench::runBenchmarks(argc, argv);
}
