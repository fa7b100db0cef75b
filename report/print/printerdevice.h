#pragma once

#include "report/print/pagesource.h"

#include <QPointF>
#include <QString>

class QPainter;

namespace rep {

// One printer as the print job drives it: begin document, parameters, pages, end or abort.
// The real one wraps QPrinter; tests record the calls.
class TrepCustomPrinter
{
public:
    virtual ~TrepCustomPrinter() = default;

    virtual QString name() const = 0;
    virtual QString port() const { return QString(); }

    // Where a job writes: empty prints to the device, otherwise into this file.
    QString outputFileName;
    QString documentName;

    // Throws rt::Exception with a message when the printer cannot be opened.
    virtual void beginDoc() = 0;
    // Paper, orientation, duplex, the copies of each page and whether the driver collates them,
    // and paper source (a bin code, 7 automatic) for the next page; the resolution and offsets
    // are valid after it.
    virtual void setPrintParams(const PagePrintParams &page, int copies, bool collate, int bin) = 0;
    virtual void beginPage() = 0;
    virtual QPainter &canvas() = 0;
    virtual void endPage() = 0;
    virtual void endDoc() = 0;
    virtual void abort() = 0;

    virtual double dpiX() const = 0;
    virtual double dpiY() const = 0;
    // The physical offsets of the printable area from the paper's corner, in millimetres.
    virtual QPointF offsetMM() const = 0;
};

} // namespace rep
