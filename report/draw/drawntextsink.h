#pragma once

#include <QRectF>
#include <QString>

namespace rep::draw {

// Memo lines are drawn as glyph runs, which carry no characters. A paint device that also
// derives from this class is told, for every memo line drawn on it, the line's text and the
// device rectangle its characters cover (the line's cell, clipped to the memo's text area).
// The preview's find records a page this way: one record per drawn line.
class DrawnTextSink
{
public:
    virtual ~DrawnTextSink() = default;
    virtual void textDrawn(const QString &text, const QRectF &bounds) = 0;
};

} // namespace rep::draw
