#pragma once

#include "report/draw/drawtypes.h"

#include <QColor>

namespace rep::draw {

class TrepDrawText;

// Device rectangle of a view for the drawing arguments (integer device pixels).
DeviceRect deviceRect(const DrawView &view, const DrawArgs &args);

// The steps of a view's drawing: background, then frame.
void drawBackground(const DrawView &view, const DeviceRect &rect, const DrawArgs &args);
void drawFrame(const DrawView &view, const DeviceRect &rect, const DrawArgs &args);

// TrepView: device rectangle, background, frame. Views with Printable False are left out on
// printer canvases, as by every draw function below.
void drawView(const DrawView &view, const DrawArgs &args);

// TrepCustomMemoView. Uses text (the report's layout object) or, when null, the shared one.
// Replaces the first "[TOTALPAGES#]" of memo.Text by memo.PageCount unless in design mode.
void drawMemo(DrawMemo &memo, const DrawArgs &args, TrepDrawText *text = nullptr);

// TrepCustomLineView. A line that is not diagonal is made axis-parallel first: Width or Height
// becomes 0 and Frame.Typ becomes [ftLeft] or [ftTop], written into line.
void drawLine(DrawLine &line, const DrawArgs &args);

// TrepShapeView.
void drawShape(const DrawShape &shape, const DrawArgs &args);

// The memo's text area in device pixels: the device rectangle inset by the gaps and the frame.
TRect memoClipRect(const DrawMemo &memo, const DeviceRect &rect, const DrawArgs &args);

// CalcHeight and CalcWidth of a memo, in report units, rounded.
int memoCalcHeight(const DrawMemo &memo, TrepDrawText *text = nullptr);
int memoCalcWidth(const DrawMemo &memo, TrepDrawText *text = nullptr);

// How much of the memo's text its box holds as drawn: whole lines from the top, within the gaps
// and the frame. A text may be any size: it is laid out only as far as the box reaches.
struct MemoFit
{
    qsizetype shown = 0; // characters that show, line breaks not counted
    bool whole = true;
};
MemoFit memoFit(const DrawMemo &memo, TrepDrawText *text = nullptr);

// w one-pixel lines from (x1, y1) to (x2, y2), end point left out, each shifted across the
// line by its offset (w = 0 counts as 1), in colour and dash style (fsDouble draws solid).
void drawThickLine(QPainter &canvas, int x1, int y1, int x2, int y2, int w, const QColor &color,
                   TrepFrameStyle style = fsSolid);

} // namespace rep::draw
