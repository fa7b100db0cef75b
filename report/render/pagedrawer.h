#pragma once

class QPainter;

namespace rep {

class TrepCustomMemoView;
class TrepPreviewPages;
class TrepReportPage;
class TrepView;

namespace draw {
class TrepDrawText;
struct DrawArgs;
struct DrawMemo;
}

// Draws one rebuilt page onto any canvas: the page's colour and frame inside the margins, then
// its views with the margins added to the offsets (swapped on even pages with MirrorMargins),
// only those within 20 device pixels of the canvas's clip region (all of them on a recorded
// drawing), non-printable ones left out on printers, memos told the store's page count.
void drawReportPage(TrepPreviewPages &pages, int index, TrepReportPage &page, QPainter *canvas, double scaleX,
                    double scaleY, double offsetX, double offsetY);

// Draws one view of the model (memo, line, shape or plain view) with the given arguments.
void drawReportView(TrepView &view, const draw::DrawArgs &args, draw::TrepDrawText *text = nullptr);

// The memo as the drawing layer sees it: its box, text, font and layout options.
draw::DrawMemo drawMemoOf(const TrepCustomMemoView &memo);

// Makes every prepared-page store draw its pages with drawReportPage.
void installPageDrawer();

} // namespace rep
