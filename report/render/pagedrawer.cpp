#include "report/render/pagedrawer.h"

#include "report/draw/objectdraw.h"
#include "report/draw/trepdrawtext.h"
#include "report/model/objects.h"
#include "report/model/page.h"
#include "report/pages/previewpages.h"
#include "logging_p.h"

#include <QPaintDevice>
#include <QPainter>

#include <cstdlib>

namespace rep {

namespace {

draw::DrawFont toDraw(const TrepFont &f)
{
    draw::DrawFont d;
    d.Name = f.Name;
    d.Height = f.Height;
    d.Style = draw::TFontStyles(f.Style); // both keep bit (1 << ordinal) per style
    d.Color = f.Color;
    return d;
}

draw::DrawFrame toDraw(const TrepFrame &f)
{
    draw::DrawFrame d;
    d.Typ = draw::TrepFrameTypes(f.Typ); // both keep bit (1 << ordinal) per side
    d.Width = f.Width;
    d.Color = f.Color;
    d.Style = draw::TrepFrameStyle(f.Style);
    d.DropShadow = f.DropShadow;
    d.ShadowColor = f.ShadowColor;
    d.ShadowWidth = f.ShadowWidth;
    return d;
}

void fillView(draw::DrawView &d, const TrepView &v)
{
    d.Left = v.AbsLeft();
    d.Top = v.AbsTop();
    d.Width = v.Width();
    d.Height = v.Height();
    d.Color = v.Color;
    d.BrushStyle = draw::TBrushStyle(v.BrushStyle);
    d.Frame = toDraw(v.Frame);
    d.Printable = v.Printable;
}

// The view's device rectangle grown by 20 pixels on every side: views whose area touches the
// clip region only through anti-aliasing or a thick frame are still drawn.
QRect nearRect(const TrepView &view, const draw::DrawArgs &args)
{
    draw::DrawView d;
    fillView(d, view);
    const draw::DeviceRect r = draw::deviceRect(d, args);
    return QRect(std::min(r.X, r.X1) - 20, std::min(r.Y, r.Y1) - 20, std::abs(r.DX) + 40, std::abs(r.DY) + 40);
}

} // namespace

draw::DrawMemo drawMemoOf(const TrepCustomMemoView &memo)
{
    draw::DrawMemo d;
    fillView(d, memo);
    d.Text = memo.Text();
    d.Font = toDraw(memo.Font());
    d.HAlign = draw::TrepHAlign(memo.HAlign);
    d.VAlign = draw::TrepVAlign(memo.VAlign);
    d.GapX = memo.GapX;
    d.GapY = memo.GapY;
    d.LineSpacing = memo.LineSpacing;
    d.CharSpacing = memo.CharSpacing;
    d.ParagraphGap = memo.ParagraphGap;
    d.WordWrap = memo.WordWrap;
    d.WordBreak = memo.WordBreak;
    d.AllowHTMLTags = memo.AllowHTMLTags;
    d.RTLReading = memo.RTLReading;
    d.Rotation = memo.Rotation();
    d.Highlight.Active = memo.Highlight.Active;
    d.Highlight.Color = memo.Highlight.Color;
    d.Highlight.Font = toDraw(memo.Highlight.Font);
    d.PageCount = memo.TotalPages;
    return d;
}

void drawReportView(TrepView &view, const draw::DrawArgs &args, draw::TrepDrawText *text)
{
    if (auto *memo = dynamic_cast<TrepCustomMemoView *>(&view)) {
        draw::DrawMemo d = drawMemoOf(*memo);
        draw::drawMemo(d, args, text);
    } else if (auto *line = dynamic_cast<TrepCustomLineView *>(&view)) {
        // The drawing may make the line axis-parallel: it changes only this drawn copy.
        draw::DrawLine d;
        fillView(d, view);
        d.Diagonal = line->Diagonal;
        draw::drawLine(d, args);
    } else if (auto *shape = dynamic_cast<TrepShapeView *>(&view)) {
        draw::DrawShape d;
        fillView(d, view);
        d.Shape = draw::TrepShapeKind(shape->Shape);
        draw::drawShape(d, args);
    } else {
        draw::DrawView d;
        fillView(d, view);
        draw::drawView(d, args);
    }
}

void drawReportPage(TrepPreviewPages &pages, int index, TrepReportPage &page, QPainter *canvas, double scaleX,
                    double scaleY, double offsetX, double offsetY)
{
    if (!canvas) {
        qCWarning(lcReportRender) << "page" << index << "asked to draw without a canvas";
        return;
    }
    double left = page.LeftMargin;
    double right = page.RightMargin;
    if (page.MirrorMargins && (index + 1) % 2 == 0)
        std::swap(left, right);
    offsetX += left * mmToUnits * scaleX;
    offsetY += page.TopMargin * mmToUnits * scaleY;
    const draw::DrawArgs args = draw::drawArgs(*canvas, scaleX, scaleY, offsetX, offsetY);

    // The page's own background: colour and frame over the area inside the margins, one unit
    // narrower and lower so that a right or bottom frame line stays on the paper.
    if (page.Color != clNone || page.Frame.Typ != 0) {
        draw::DrawView background;
        background.Width = (page.PaperWidth() - left - right) * mmToUnits - 1;
        background.Height = (page.PaperHeight() - page.TopMargin - page.BottomMargin) * mmToUnits - 1;
        background.Color = page.Color;
        background.Frame = toDraw(page.Frame);
        draw::drawView(background, args);
    }

    QPaintDevice *device = canvas->device();
    // Printing is a property of the canvas, carried by the arguments, never of the drawn views.
    const bool printer = args.Printer;
    // A recorded drawing has no extent: everything counts as visible there.
    const bool recording = device && device->devType() == QInternal::Picture;
    QRegion clip;
    if (canvas->hasClipping())
        clip = canvas->clipRegion();
    else if (device)
        clip = QRegion(0, 0, device->width(), device->height());

    draw::TrepDrawText &text = draw::TrepDrawText::shared();
    const int count = pages.Count();
    for (TrepComponent *object : page.AllObjects()) {
        auto *view = dynamic_cast<TrepView *>(object);
        if (!view || dynamic_cast<TrepBand *>(object))
            continue;
        if (printer && !view->Printable)
            continue;
        if (!recording && !clip.intersects(nearRect(*view, args)))
            continue;
        if (auto *memo = dynamic_cast<TrepCustomMemoView *>(view))
            memo->TotalPages = count;
        drawReportView(*view, args, &text);
    }
}

void installPageDrawer()
{
    TrepPreviewPages::SetDefaultPageDrawer(&drawReportPage);
}

} // namespace rep
