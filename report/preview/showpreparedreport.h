#pragma once

#include "report/preview/previewoptions.h"
#include "report/preview/treppreview.h"

namespace rep {

class PageSource;

// Opens the preview window on prepared pages. Modal (the declaration's case): runs the window
// and destroys it when it closes; the pages stay with their owner. Otherwise shows it and lets
// it free itself when closed (the source must then outlive the window). The window belongs to
// parent, the window that opened it.
void showPreparedReport(PageSource &source, const TrepPreviewOptions &options, const PreviewHooks &hooks,
                        const QString &reportName = {}, QWidget *parent = nullptr);

} // namespace rep
