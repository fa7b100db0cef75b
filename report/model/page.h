#pragma once

#include "report/model/component.h"

namespace rep {

class TrepPage : public TrepComponent
{
public:
    const PropTable &Props() const override;
};

// A printed page: paper, orientation and margins; its objects sit inside the margins.
class TrepReportPage : public TrepPage
{
public:
    TrepReportPage();
    QString ClassName() const override { return QStringLiteral("TrepReportPage"); }
    const PropTable &Props() const override;

    double PaperWidth() const { return m_paperWidth; }
    double PaperHeight() const { return m_paperHeight; }
    int PaperSize() const { return m_paperSize; }
    // Stores the value, sets PaperSize to 256 (custom) and recomputes Width and Height.
    virtual void SetPaperWidth(double mm);
    virtual void SetPaperHeight(double mm);
    // Codes below 256 found in the paper table set the paper size (swapped in landscape).
    virtual void SetPaperSize(int code);
    TPrinterOrientation Orientation() const { return m_orientation; }
    // A different value swaps width and height and rotates the margins.
    void SetOrientation(TPrinterOrientation value);

    double LeftMargin = 0, RightMargin = 0, TopMargin = 0, BottomMargin = 0;
    bool MirrorMargins = false;
    int Columns = 0;
    double ColumnWidth = 0;
    QStringList ColumnPositions;
    int Bin = 7;
    int BinOtherPages = 7;
    TrepDuplexMode Duplex = dmNone;
    TColor Color = clNone;
    TrepFrame Frame;
    bool PrintIfEmpty = true;
    bool PrintOnPreviousPage = false;
    bool TitleBeforeHeader = true;
    bool LargeDesignHeight = false;
    QString OutlineText;
    QString DataSetName;
    QString OnBeforePrint, OnAfterPrint, OnManualBuild;

    // The paper table: width and height in tenths of a millimetre, or false for an unknown code.
    static bool paperDimensions(int code, int &width, int &height);

private:
    void recomputeDimensions();
    double m_paperWidth = 210;
    double m_paperHeight = 297;
    int m_paperSize = 9;
    TPrinterOrientation m_orientation = poPortrait;
};

} // namespace rep
