#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace guide {

// The RTF document of a caption control of the main window (RTFLabel1 ... RTFLabel63,
// CtlRichLabel1 ... CtlRichLabel13) by its component name; empty for any other name.
QByteArray captionRtf(const QString &componentName);

// The component names that captionRtf() knows.
QStringList captionComponents();

// The filling guide shown by the guide window.
QByteArray guideRtf();

} // namespace guide
