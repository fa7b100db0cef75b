#include "app/startup.h"

#include "app/form1.h"
#include "app/guide/tform2.h"
#include "report/render/pagedrawer.h"
#include "report/resources/resources.h"
#include "runtime/formatsettings.h"
#include "runtime/ui/application.h"

namespace app {

int run(int argc, char **argv)
{
    // Read once, before anything else: the conversions never follow later locale changes.
    rt::initFormatSettings();
    rt::Application application(argc, argv);
    // The report texts exist before any window; every page store draws through the drawing layer.
    rep::fillHungarianResources();
    rep::installPageDrawer();
    TForm1 form1;
    guide::TForm2 form2(&form1);
    form1.setGuideWindow(&form2);
    form1.show();
    return application.exec();
}

} // namespace app
