#pragma once

#include <QList>
#include <QRect>
#include <QString>

namespace app {

// Where a control stands: its parent's component name and its bounds in the parent's client area.
struct Placement
{
    QString component;
    QString parent;
    QRect bounds;
};

// A caption control: a rich-text label beside a field, with its plain text.
struct CaptionPlacement
{
    QString component;
    QString parent;
    QRect bounds;
    QString text;
};

// The designed bounds of every field, radio group, computed label and panel of TForm1.
const QList<Placement> &form1Placements();
const QList<CaptionPlacement> &form1Captions();
const Placement *findPlacement(const QString &component);

// The computed labels keep their right edge here while their caption grows to the left.
inline constexpr int computedLabelRight = 617;

} // namespace app
