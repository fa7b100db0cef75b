#pragma once

#include <QFlags>

namespace rep {

// How the preview fits the pages: a fixed factor, the whole page, the page width, two pages side by side.
enum TrepZoomMode { zmDefault, zmWholePage, zmPageWidth, zmManyPages };

enum TrepPreviewButton {
    pbPrint = 1 << 0,
    pbLoad = 1 << 1,
    pbSave = 1 << 2,
    pbExport = 1 << 3,
    pbZoom = 1 << 4,
    pbFind = 1 << 5,
    pbOutline = 1 << 6,
    pbPageSetup = 1 << 7,
    pbTools = 1 << 8,
    pbEdit = 1 << 9,
    pbNavigator = 1 << 10,
};
Q_DECLARE_FLAGS(TrepPreviewButtons, TrepPreviewButton)
Q_DECLARE_OPERATORS_FOR_FLAGS(TrepPreviewButtons)

// The report's preview options; the defaults are the engine's, the declaration changes three.
struct TrepPreviewOptions
{
    bool AllowEdit = true;
    TrepPreviewButtons Buttons = TrepPreviewButtons(0x7ff);
    bool DoubleBuffered = true;
    bool Maximized = true;
    bool MDIChild = false;
    bool Modal = true;
    bool OutlineVisible = false;
    int OutlineWidth = 120;
    bool ShowCaptions = false;
    double Zoom = 1.0;
    TrepZoomMode ZoomMode = zmDefault;
};

} // namespace rep
