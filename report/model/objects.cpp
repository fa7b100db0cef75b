#include "report/model/objects.h"

#include "report/model/report.h"

namespace rep {

TrepCustomMemoView::TrepCustomMemoView()
{
    m_parentFont = true;
}

const PropTable &TrepCustomMemoView::Props() const
{
    static const PropTable table(TrepStretcheable::Props(), {
        REP_BOOL(TrepCustomMemoView, "AllowExpressions", o.AllowExpressions, o.AllowExpressions = v),
        REP_BOOL(TrepCustomMemoView, "AllowHTMLTags", o.AllowHTMLTags, o.AllowHTMLTags = v),
        REP_BOOL(TrepCustomMemoView, "AutoWidth", o.AutoWidth, o.AutoWidth = v),
        REP_FLOAT(TrepCustomMemoView, "CharSpacing", o.CharSpacing, o.CharSpacing = v),
        REP_ENUM(TrepCustomMemoView, "DisplayFormat.Kind", REP_NAMES_FORMATKIND, TrepFormatKind, o.DisplayFormat.Kind, o.DisplayFormat.Kind = e),
        REP_STR(TrepCustomMemoView, "DisplayFormat.FormatStr", o.DisplayFormat.FormatStr, o.DisplayFormat.FormatStr = v),
        REP_STR(TrepCustomMemoView, "DisplayFormat.DecimalSeparator", o.DisplayFormat.DecimalSeparator, o.DisplayFormat.DecimalSeparator = v),
        REP_STR(TrepCustomMemoView, "ExpressionDelimiters", o.ExpressionDelimiters, o.ExpressionDelimiters = v),
        REP_STR(TrepCustomMemoView, "FlowTo", o.FlowTo, o.FlowTo = v),
        REP_FLOAT(TrepCustomMemoView, "GapX", o.GapX, o.GapX = v),
        REP_FLOAT(TrepCustomMemoView, "GapY", o.GapY, o.GapY = v),
        REP_ENUM(TrepCustomMemoView, "HAlign", REP_NAMES_HALIGN, TrepHAlign, o.HAlign, o.HAlign = e),
        REP_BOOL(TrepCustomMemoView, "HideZeros", o.HideZeros, o.HideZeros = v),
        REP_BOOL(TrepCustomMemoView, "Highlight.Active", o.Highlight.Active, o.Highlight.Active = v),
        REP_STR(TrepCustomMemoView, "Highlight.Condition", o.Highlight.Condition, o.Highlight.Condition = v),
        REP_COLOR(TrepCustomMemoView, "Highlight.Color", o.Highlight.Color, o.Highlight.Color = v),
        REP_STR(TrepCustomMemoView, "Highlight.Font.Name", o.Highlight.Font.Name, o.Highlight.Font.Name = v),
        REP_INT(TrepCustomMemoView, "Highlight.Font.Height", o.Highlight.Font.Height, o.Highlight.Font.Height = v),
        REP_SET(TrepCustomMemoView, "Highlight.Font.Style", REP_NAMES_FONTSTYLE, o.Highlight.Font.Style, o.Highlight.Font.Style = v),
        REP_INT(TrepCustomMemoView, "Highlight.Font.Charset", o.Highlight.Font.Charset, o.Highlight.Font.Charset = v),
        REP_COLOR(TrepCustomMemoView, "Highlight.Font.Color", o.Highlight.Font.Color, o.Highlight.Font.Color = v),
        REP_FLOAT(TrepCustomMemoView, "LineSpacing", o.LineSpacing, o.LineSpacing = v),
        [] {
            // Compared and copied as the line list: no joining and splitting of texts.
            PropDef d = REP_STR(TrepCustomMemoView, "Text", o.Text(), o.SetText(v));
            d.equal = [](const TrepComponent &a, const TrepComponent &b) {
                return static_cast<const TrepCustomMemoView &>(a).Memo() == static_cast<const TrepCustomMemoView &>(b).Memo();
            };
            d.copy = [](TrepComponent &c, const TrepComponent &source) {
                static_cast<TrepCustomMemoView &>(c).SetMemo(static_cast<const TrepCustomMemoView &>(source).Memo());
            };
            return d;
        }(),
        REP_FLOAT(TrepCustomMemoView, "ParagraphGap", o.ParagraphGap, o.ParagraphGap = v),
        REP_INT(TrepCustomMemoView, "Rotation", o.Rotation(), o.SetRotation(v)),
        REP_BOOL(TrepCustomMemoView, "RTLReading", o.RTLReading, o.RTLReading = v),
        REP_STR(TrepCustomMemoView, "Style", o.Style, o.Style = v),
        REP_BOOL(TrepCustomMemoView, "SuppressRepeated", o.SuppressRepeated, o.SuppressRepeated = v),
        REP_BOOL(TrepCustomMemoView, "Underlines", o.Underlines, o.Underlines = v),
        REP_ENUM(TrepCustomMemoView, "VAlign", REP_NAMES_VALIGN, TrepVAlign, o.VAlign, o.VAlign = e),
        REP_BOOL(TrepCustomMemoView, "WordBreak", o.WordBreak, o.WordBreak = v),
        REP_BOOL(TrepCustomMemoView, "WordWrap", o.WordWrap, o.WordWrap = v),
    });
    return table;
}

const PropTable &TrepSysMemoView::Props() const
{
    static const PropTable table = TrepCustomMemoView::Props().filtered({
        "Name", "l", "t", "w", "h", "Font.Name", "Font.Height", "Font.Style", "Font.Charset", "Font.Color",
        "ParentFont", "Visible", "Tag", "GroupIndex",
        "AutoWidth", "BrushStyle", "CharSpacing", "Color", "DisplayFormat.Kind", "DisplayFormat.FormatStr",
        "DisplayFormat.DecimalSeparator", "Frame.Typ", "Frame.Width", "Frame.Color", "Frame.Style",
        "Frame.DropShadow", "Frame.ShadowColor", "Frame.ShadowWidth", "GapX", "GapY", "HAlign", "HideZeros",
        "Highlight.Active", "Highlight.Condition", "Highlight.Color", "Highlight.Font.Name",
        "Highlight.Font.Height", "Highlight.Font.Style", "Highlight.Font.Charset", "Highlight.Font.Color",
        "Text", "Rotation", "RTLReading", "Style", "SuppressRepeated", "VAlign"});
    return table;
}

const PropTable &TrepQRCodeView::Props() const
{
    static const PropTable table(TrepCustomMemoView::Props(), {
        REP_ENUM(TrepQRCodeView, "ErrorLevel", REP_NAMES_QRLEVEL, TrepQRErrorLevel, o.ErrorLevel, o.ErrorLevel = e),
        REP_FLOAT(TrepQRCodeView, "ModuleSize", o.ModuleSize, o.ModuleSize = v),
        REP_INT(TrepQRCodeView, "QuietZone", o.QuietZone, o.QuietZone = v),
    });
    return table;
}

void TrepCustomMemoView::BeforePrint()
{
    TrepView::BeforePrint();
    if (!IsDataBound())
        m_savedText = m_memo;
}

void TrepCustomMemoView::GetData()
{
    TrepView::GetData();
    TrepReport *report = Report();
    if (TrepCustomEngine *engine = report ? report->Engine() : nullptr)
        engine->FillMemo(*this);
}

void TrepCustomMemoView::AfterPrint()
{
    if (!IsDataBound())
        m_memo = m_savedText;
    TrepView::AfterPrint();
}

const PropTable &TrepCustomLineView::Props() const
{
    static const PropTable table(TrepStretcheable::Props(), {
        REP_BOOL(TrepCustomLineView, "Diagonal", o.Diagonal, o.Diagonal = v),
    });
    return table;
}

const PropTable &TrepShapeView::Props() const
{
    static const PropTable table(TrepView::Props(), {
        REP_ENUM(TrepShapeView, "Shape", REP_NAMES_SHAPE, TrepShapeKind, o.Shape, o.Shape = e),
    });
    return table;
}

} // namespace rep
