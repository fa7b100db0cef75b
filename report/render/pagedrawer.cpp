#include "report/render/pagedrawer.h"

#include "report/draw/objectdraw.h"
#include "report/draw/trepdrawtext.h"
#include "report/model/objects.h"
#include "report/model/page.h"
#include "report/pages/previewpages.h"

#include <QPaintDevice>
#include <QPainter>
#include <QPicture>

namespace rep {

namespace {

constexpr double unitsPerMM = 3.77953;

draw::DrawFont toDraw(const TrepFont &f)
{
    draw::DrawFont d;
    d.Name = f.Name;
    d.Height = f.Height;
    d.Style = draw::TFontStyles(f.Style); // both keep bit (1 << ordinal) per style
    d.Color = f.Color;
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
    d.Frame.Typ = draw::TrepFrameTypes(v.Frame.Typ);
    d.Frame.Width = v.Frame.Width;
    d.Frame.Color = v.Frame.Color;
    d.Frame.Style = draw::TrepFrameStyle(v.Frame.Style);
    d.Frame.DropShadow = v.Frame.DropShadow;
    d.Frame.ShadowColor = v.Frame.ShadowColor;
    d.Frame.ShadowWidth = v.Frame.ShadowWidth;
    d.Printable = v.Printable;
}

} // namespace

void drawReportView(TrepView &view, const draw::DrawArgs &args, draw::TrepDrawText *text)
{
    if (auto *memo = dynamic_cast<TrepCustomMemoView *>(&view)) {
        draw::DrawMemo d;
        fillView(d, view);
        d.Text = memo->Text();
        d.Font = toDraw(memo->Font());
        d.HAlign = draw::TrepHAlign(memo->HAlign);
        d.VAlign = draw::TrepVAlign(memo->VAlign);
        d.GapX = memo->GapX;
        d.GapY = memo->GapY;
        d.LineSpacing = memo->LineSpacing;
        d.CharSpacing = memo->CharSpacing;
        d.ParagraphGap = memo->ParagraphGap;
        d.WordWrap = memo->WordWrap;
        d.WordBreak = memo->WordBreak;
        d.AllowHTMLTags = memo->AllowHTMLTags;
        d.RTLReading = memo->RTLReading;
        d.Rotation = memo->Rotation();
        d.Highlight.Active = memo->Highlight.Active;
        d.Highlight.Color = memo->Highlight.Color;
        d.Highlight.Font = toDraw(memo->Highlight.Font);
        d.PageCount = memo->TotalPages;
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
    if (!canvas)
        return;
    double left = page.LeftMargin;
    double right = page.RightMargin;
    if (page.MirrorMargins && (index + 1) % 2 == 0)
        std::swap(left, right);
    offsetX += left * unitsPerMM * scaleX;
    offsetY += page.TopMargin * unitsPerMM * scaleY;

    QPaintDevice *device = canvas->device();
    const bool printer = draw::isPrinterDevice(device);
    // A recorded drawing has no extent: everything counts as visible there.
    const bool recording = device && device->devType() == QInternal::Picture;
    QRegion clip;
    if (canvas->hasClipping())
        clip = canvas->clipRegion();
    else if (device)
        clip = QRegion(0, 0, device->width(), device->height());

    const draw::DrawArgs args = [&] {
        draw::DrawArgs a = draw::drawArgs(*canvas, scaleX, scaleY, offsetX, offsetY);
        a.Printer = printer;
        return a;
    }();
    draw::TrepDrawText &text = draw::TrepDrawText::shared();
    const int count = pages.Count();
    for (TrepComponent *object : page.AllObjects()) {
        auto *view = dynamic_cast<TrepView *>(object);
        if (!view || dynamic_cast<TrepBand *>(object))
            continue;
        if (printer && !view->Printable)
            continue;
        if (!recording) {
            const QRectF r(view->AbsLeft() * scaleX + offsetX - 20, view->AbsTop() * scaleY + offsetY - 20,
                           view->Width() * scaleX + 40, view->Height() * scaleY + 40);
            if (!clip.intersects(r.normalized().toAlignedRect()))
                continue;
        }
        view->IsPrinting = printer;
        if (auto *memo = dynamic_cast<TrepCustomMemoView *>(view))
            memo->TotalPages = count;
        drawReportView(*view, args, &text);
        view->IsPrinting = false;
    }
}

void installPageDrawer()
{
    TrepPreviewPages::SetDefaultPageDrawer(&drawReportPage);
}

} // namespace rep
