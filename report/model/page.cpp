#include "report/model/page.h"

#include <cmath>

namespace rep {

const PropTable &TrepPage::Props() const
{
    static const PropTable table = componentProps().filtered({
        "Name", "Font.Name", "Font.Height", "Font.Style", "Font.Charset", "Font.Color", "ParentFont",
        "Visible", "Tag"});
    return table;
}

TrepReportPage::TrepReportPage()
{
    recomputeDimensions();
}

const PropTable &TrepReportPage::Props() const
{
    static const PropTable table(TrepPage::Props(), {
        REP_ENUM(TrepReportPage, "Orientation", REP_NAMES_ORIENTATION, TPrinterOrientation, o.Orientation(), o.SetOrientation(e)),
        // Width, height and code are written together so that reading them back in order
        // restores the same paper.
        [] { PropDef d = REP_FLOAT(TrepReportPage, "PaperWidth", o.PaperWidth(), o.SetPaperWidth(v)); d.always = true; return d; }(),
        [] { PropDef d = REP_FLOAT(TrepReportPage, "PaperHeight", o.PaperHeight(), o.SetPaperHeight(v)); d.always = true; return d; }(),
        [] { PropDef d = REP_INT(TrepReportPage, "PaperSize", o.PaperSize(), o.SetPaperSize(v)); d.always = true; return d; }(),
        REP_FLOAT(TrepReportPage, "LeftMargin", o.LeftMargin, o.LeftMargin = v),
        REP_FLOAT(TrepReportPage, "RightMargin", o.RightMargin, o.RightMargin = v),
        REP_FLOAT(TrepReportPage, "TopMargin", o.TopMargin, o.TopMargin = v),
        REP_FLOAT(TrepReportPage, "BottomMargin", o.BottomMargin, o.BottomMargin = v),
        REP_BOOL(TrepReportPage, "MirrorMargins", o.MirrorMargins, o.MirrorMargins = v),
        REP_INT(TrepReportPage, "Columns", o.Columns, o.Columns = v),
        REP_FLOAT(TrepReportPage, "ColumnWidth", o.ColumnWidth, o.ColumnWidth = v),
        REP_STR(TrepReportPage, "ColumnPositions", o.ColumnPositions.join(QLatin1Char(',')),
                o.ColumnPositions = v.isEmpty() ? QStringList() : v.split(QLatin1Char(','))),
        REP_INT(TrepReportPage, "Bin", o.Bin, o.Bin = v),
        REP_INT(TrepReportPage, "BinOtherPages", o.BinOtherPages, o.BinOtherPages = v),
        REP_ENUM(TrepReportPage, "Duplex", REP_NAMES_DUPLEX, TrepDuplexMode, o.Duplex, o.Duplex = e),
        REP_COLOR(TrepReportPage, "Color", o.Color, o.Color = v),
        REP_SET(TrepReportPage, "Frame.Typ", REP_NAMES_FRAMETYPE, o.Frame.Typ, o.Frame.Typ = v),
        REP_FLOAT(TrepReportPage, "Frame.Width", o.Frame.Width, o.Frame.Width = v),
        REP_COLOR(TrepReportPage, "Frame.Color", o.Frame.Color, o.Frame.Color = v),
        REP_ENUM(TrepReportPage, "Frame.Style", REP_NAMES_FRAMESTYLE, TrepFrameStyle, o.Frame.Style, o.Frame.Style = e),
        REP_BOOL(TrepReportPage, "PrintIfEmpty", o.PrintIfEmpty, o.PrintIfEmpty = v),
        REP_BOOL(TrepReportPage, "PrintOnPreviousPage", o.PrintOnPreviousPage, o.PrintOnPreviousPage = v),
        REP_BOOL(TrepReportPage, "TitleBeforeHeader", o.TitleBeforeHeader, o.TitleBeforeHeader = v),
        REP_BOOL(TrepReportPage, "LargeDesignHeight", o.LargeDesignHeight, o.LargeDesignHeight = v),
        REP_STR(TrepReportPage, "OutlineText", o.OutlineText, o.OutlineText = v),
        REP_STR(TrepReportPage, "DataSetName", o.DataSetName, o.DataSetName = v),
        REP_STR(TrepReportPage, "OnBeforePrint", o.OnBeforePrint, o.OnBeforePrint = v),
        REP_STR(TrepReportPage, "OnAfterPrint", o.OnAfterPrint, o.OnAfterPrint = v),
        REP_STR(TrepReportPage, "OnManualBuild", o.OnManualBuild, o.OnManualBuild = v),
    });
    return table;
}

bool TrepReportPage::paperDimensions(int code, int &width, int &height)
{
    struct Paper { int code, width, height; };
    static const Paper table[] = {
        {1, 2159, 2794},  // Letter
        {3, 2794, 4318},  // Tabloid
        {5, 2159, 3556},  // Legal
        {7, 1842, 2667},  // Executive
        {8, 2970, 4200},  // A3
        {9, 2100, 2970},  // A4
        {11, 1480, 2100}, // A5
        {12, 2500, 3540}, // B4
        {13, 1820, 2570}, // B5
        {20, 1048, 2413}, // Envelope #10
        {27, 1100, 2200}, // Envelope DL
        {28, 1620, 2290}, // Envelope C5
        {70, 1050, 1480}, // A6
    };
    for (const Paper &p : table) {
        if (p.code == code) {
            width = p.width;
            height = p.height;
            return true;
        }
    }
    return false;
}

void TrepReportPage::recomputeDimensions()
{
    m_width = std::round(m_paperWidth * mmToUnits);
    m_height = std::round(m_paperHeight * mmToUnits);
}

void TrepReportPage::SetPaperWidth(double mm)
{
    m_paperWidth = mm;
    m_paperSize = 256;
    recomputeDimensions();
}

void TrepReportPage::SetPaperHeight(double mm)
{
    m_paperHeight = mm;
    m_paperSize = 256;
    recomputeDimensions();
}

void TrepReportPage::SetPaperSize(int code)
{
    m_paperSize = code;
    int w = 0, h = 0;
    if (code < 256 && paperDimensions(code, w, h)) {
        if (m_orientation == poLandscape)
            std::swap(w, h);
        m_paperWidth = w / 10.0;
        m_paperHeight = h / 10.0;
    }
    recomputeDimensions();
}

void TrepReportPage::SetOrientation(TPrinterOrientation value)
{
    if (value == m_orientation)
        return;
    std::swap(m_paperWidth, m_paperHeight);
    const double l = LeftMargin, r = RightMargin, t = TopMargin, b = BottomMargin;
    if (value == poLandscape) {
        LeftMargin = t;
        RightMargin = b;
        TopMargin = r;
        BottomMargin = l;
    } else {
        LeftMargin = b;
        RightMargin = t;
        TopMargin = l;
        BottomMargin = r;
    }
    recomputeDimensions();
    m_orientation = value;
}

} // namespace rep
