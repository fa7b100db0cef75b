#pragma once

#include "report/draw/trepdrawtext.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QStringList>

#include <functional>

namespace rep::test {

// A view of type V over a rectangle in report units.
template<typename V>
V placed(double left, double top, double width, double height)
{
    V v;
    v.Left = left;
    v.Top = top;
    v.Width = width;
    v.Height = height;
    return v;
}

// The texts of the laid-out lines, in order.
inline QStringList lineTexts(const draw::TrepDrawText &text)
{
    QStringList result;
    for (const auto &line : text.lines())
        result << line.text;
    return result;
}

// The bytes of an A4 PDF at 600 dpi without margins, as `draw` paints it (adding pages itself).
inline QByteArray a4Pdf(const std::function<void(QPdfWriter &pdf, QPainter &painter)> &draw)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&buffer);
        pdf.setResolution(600);
        pdf.setPageSize(QPageSize(QPageSize::A4));
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
        QPainter painter(&pdf);
        draw(pdf, painter);
    }
    return buffer.data();
}

} // namespace rep::test
