#pragma once

#include "report/model/component.h"

#include <QStringList>
#include <QVariant>

namespace rep {

// A text box. Text is the Memo lines, each followed by CR LF.
class TrepCustomMemoView : public TrepStretcheable
{
public:
    TrepCustomMemoView();
    const PropTable &Props() const override;

    const QStringList &Memo() const { return m_memo; }
    void SetMemo(const QStringList &lines) { m_memo = lines; }
    QString Text() const { return joinLines(m_memo); }
    void SetText(const QString &text) { m_memo = splitLines(text); }

    bool AllowExpressions = true;
    QString ExpressionDelimiters = QStringLiteral("[,]");
    TrepHAlign HAlign = haLeft;
    TrepVAlign VAlign = vaTop;
    double GapX = 2;
    double GapY = 1;
    double LineSpacing = 2;
    double CharSpacing = 0;
    double ParagraphGap = 0;
    bool WordWrap = true;
    bool WordBreak = false;
    bool AutoWidth = false;
    bool AllowHTMLTags = false;
    bool RTLReading = false;
    bool Underlines = false;
    bool HideZeros = false;
    bool SuppressRepeated = false;
    TrepFormat DisplayFormat;
    TrepHighlight Highlight;
    QString Style;
    QString FlowTo;

    int Rotation() const { return m_rotation; }
    void SetRotation(int degrees) { m_rotation = ((degrees % 360) + 360) % 360; }

    // The value of the last expression expanded in this memo (null before any).
    QVariant Value = nullValue();
    // The page count that replaces a literal "[TOTALPAGES#]" when the memo is drawn.
    int TotalPages = 0;

    void BeforePrint() override;
    void GetData() override;
    void AfterPrint() override;

protected:
    QStringList m_memo;
    int m_rotation = 0;
    QStringList m_savedText;
};

class TrepMemoView : public TrepCustomMemoView
{
public:
    QString ClassName() const override { return QStringLiteral("TrepMemoView"); }
};

// The same text box for system values; it stores only a subset of the memo's members.
class TrepSysMemoView : public TrepCustomMemoView
{
public:
    QString ClassName() const override { return QStringLiteral("TrepSysMemoView"); }
    const PropTable &Props() const override;
};

// A QR Code: its text is expanded as a memo's is and carried by the symbol, its lines joined by
// LF. The symbol is drawn as large as the box takes it, with whole quiet zones, in modules of at
// least ModuleSize millimetres; a text the box cannot carry at that size draws nothing.
class TrepQRCodeView : public TrepCustomMemoView
{
public:
    QString ClassName() const override { return QStringLiteral("TrepQRCodeView"); }
    const PropTable &Props() const override;

    TrepQRErrorLevel ErrorLevel = qeMedium;
    double ModuleSize = 0.4; // millimetres, the least
    int QuietZone = 4;       // modules
};

class TrepCustomLineView : public TrepStretcheable
{
public:
    const PropTable &Props() const override;
    bool Diagonal = false;
};

class TrepLineView : public TrepCustomLineView
{
public:
    QString ClassName() const override { return QStringLiteral("TrepLineView"); }
};

class TrepShapeView : public TrepView
{
public:
    QString ClassName() const override { return QStringLiteral("TrepShapeView"); }
    const PropTable &Props() const override;
    TrepShapeKind Shape = skRectangle;
};

class TrepBand : public TrepReportComponent
{
public:
    QString ClassName() const override { return QStringLiteral("TrepBand"); }
};

// The band the engine makes for a page's objects; it lists them without owning them.
class TrepNullBand : public TrepBand
{
public:
    QString ClassName() const override { return QStringLiteral("TrepNullBand"); }
    // Empties Objects without freeing the objects (they stay children of their page).
    void ReleaseObjects() { m_objects.clear(); }
    // Lists an object without re-parenting it.
    void ListObject(TrepComponent *object) { m_objects.append(object); }
};

} // namespace rep
