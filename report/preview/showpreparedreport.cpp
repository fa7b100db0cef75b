#include "report/preview/showpreparedreport.h"

#include "report/preview/treppreviewform.h"

#include <memory>

namespace rep {

void showPreparedReport(PageSource &source, const TrepPreviewOptions &options, const PreviewHooks &hooks,
                        const QString &reportName, QWidget *parent)
{
    if (options.Modal) {
        auto form = std::make_unique<TrepPreviewForm>(parent, hooks);
        form->init(&source, options, reportName);
        form->exec();
        return;
    }
    auto *form = new TrepPreviewForm(parent, hooks);
    form->setAttribute(Qt::WA_DeleteOnClose);
    form->init(&source, options, reportName);
    form->show();
}

} // namespace rep
