#include "report/draw/drawtypes.h"

#include <QGuiApplication>
#include <QPaintEngine>
#include <QPainter>
#include <QPalette>

namespace rep::draw {

namespace {

QColor systemColor(unsigned index)
{
    if (!qGuiApp)
        return QColor(0xC0, 0xC0, 0xC0);
    const QPalette pal = QGuiApplication::palette();
    switch (index) {
    case 5: return pal.color(QPalette::Base);             // window background
    case 8: return pal.color(QPalette::Text);             // window text
    case 13: return pal.color(QPalette::Highlight);
    case 14: return pal.color(QPalette::HighlightedText);
    case 15: return pal.color(QPalette::Button);          // button face
    case 16: return pal.color(QPalette::Mid);             // button shadow
    case 17: return pal.color(QPalette::PlaceholderText); // grey text
    case 18: return pal.color(QPalette::ButtonText);
    case 20: return pal.color(QPalette::Light);
    case 21: return pal.color(QPalette::Shadow);
    case 22: return pal.color(QPalette::Midlight);
    case 23: return pal.color(QPalette::ToolTipText);
    case 24: return pal.color(QPalette::ToolTipBase);
    default: return pal.color(QPalette::Window);
    }
}

} // namespace

QColor toQColor(TColor color)
{
    if (color == clNone)
        return QColor();
    if (color & 0x80000000u)
        return systemColor(color & 0xFFu);
    return QColor(int(color & 0xFF), int((color >> 8) & 0xFF), int((color >> 16) & 0xFF));
}

bool isPrinterCanvas(const QPainter &canvas)
{
    if (const QPaintDevice *device = canvas.device(); device && device->devType() == QInternal::Printer)
        return true;
    const QPaintEngine *engine = canvas.paintEngine();
    return engine && engine->type() == QPaintEngine::Pdf;
}

DrawArgs drawArgs(QPainter &canvas, double scaleX, double scaleY, double offsetX, double offsetY)
{
    DrawArgs args;
    args.Canvas = &canvas;
    args.ScaleX = scaleX;
    args.ScaleY = scaleY;
    args.OffsetX = offsetX;
    args.OffsetY = offsetY;
    args.Printer = isPrinterCanvas(canvas);
    return args;
}

} // namespace rep::draw
