#pragma once

#include "report/model/props.h"
#include "report/model/types.h"
#include "report/model/xmlitem.h"

#include <QList>
#include <QString>

namespace rep {

class TrepPage;
class TrepReport;

// Base of every report object. A component owns its children (`Objects`); freeing it detaches
// it from its parent first. Names are unique within one report (A to Z compared without case).
class TrepComponent
{
public:
    TrepComponent();
    virtual ~TrepComponent();
    TrepComponent(const TrepComponent &) = delete;
    TrepComponent &operator=(const TrepComponent &) = delete;

    // The registered class name ("TrepMemoView") and the stem for generated names ("Memo").
    virtual QString ClassName() const = 0;
    QString BaseName() const;
    virtual const PropTable &Props() const;

    const QString &Name() const { return m_name; }
    // Raises the "prDupl" error when another object of the same report already has the name.
    void SetName(const QString &name);
    int Tag = 0;

    double Left() const { return m_left; }
    double Top() const { return m_top; }
    double Width() const { return m_width; }
    double Height() const { return m_height; }
    virtual void SetLeft(double v);
    virtual void SetTop(double v);
    virtual void SetWidth(double v);
    virtual void SetHeight(double v);
    // Writes Left, Top, Width and Height in that order through their write accessors.
    void SetBounds(double aLeft, double aTop, double aWidth, double aHeight);
    double AbsLeft() const;
    double AbsTop() const;

    const TrepFont &Font() const { return m_font; }
    // Copies the font, sets ParentFont False and passes the font to children with ParentFont True.
    virtual void SetFont(const TrepFont &font);
    bool ParentFont() const { return m_parentFont; }
    virtual void SetParentFont(bool value);
    bool Visible() const { return m_visible; }
    virtual void SetVisible(bool value);

    const QList<TrepComponent *> &Objects() const { return m_objects; }
    // Every descendant, depth first in pre-order, the component itself excluded.
    QList<TrepComponent *> AllObjects() const;
    TrepComponent *Parent() const { return m_parent; }
    // Moves the object to the end of the new parent's Objects and re-applies ParentFont.
    virtual void SetParent(TrepComponent *parent);
    TrepPage *Page() const;
    TrepReport *Report() const;
    virtual bool IsReport() const { return false; }
    // First object of AllObjects whose Name equals name, A to Z without case; nullptr if none.
    TrepComponent *FindObject(const QString &name) const;

    // Design-time members, stored without behaviour beyond the move/size restrictions.
    bool DesignFlag = false;
    TrepRestrictions Restrictions = 0;

    // Frees all children.
    virtual void Clear();
    // Writes the component into the item (name = class name, attribute text = stored properties
    // that differ from their defaults, or all of them), with its subtree if asked.
    virtual void SaveToStream(TrepXMLItem &item, bool saveChildren = true, bool saveDefaults = false) const;
    // Clears the component and reads properties and children from the item; keeps its own Name.
    // Unknown classes raise the class-not-found error; pairs that cannot be applied are skipped.
    virtual void LoadFromStream(const TrepXMLItem &item);
    // Copies the other object's stored properties (and its subtree when asked); keeps Name.
    void Assign(const TrepComponent &source, bool withChildren = false);
    // The stored properties in which this object differs from another of its class, as an
    // attribute text (geometry l, t, w, h first).
    virtual QString DiffText(const TrepComponent &other) const;
    // Stored properties as pairs; all of them with saveDefaults, otherwise only non-default ones.
    TrepAttrList StoredProps(bool saveDefaults = false) const;
    // Applies pairs in order; returns the number that could not be applied.
    int ApplyProps(const TrepAttrList &pairs, bool applyName = true);
    // Copies the stored properties of another object through the write accessors, in stored
    // order, without a text round trip.
    void CopyProps(const TrepComponent &source, bool copyName = true);
    // Moves all children of another component to the end of this one's Objects (no copying).
    void AdoptChildren(TrepComponent &other);

protected:
    virtual void FontChanged();
    bool restricted(TrepRestriction r) const { return DesignFlag && (Restrictions & (1 << r)); }

    QString m_name;
    double m_left = 0, m_top = 0, m_width = 0, m_height = 0;
    TrepFont m_font;
    bool m_parentFont = true;
    bool m_visible = true;
    QList<TrepComponent *> m_objects;
    TrepComponent *m_parent = nullptr;

private:
    void loadInto(const TrepXMLItem &item, bool applyName);
    void copyChildren(const TrepComponent &source);
};

// Objects that take part in preparation: the print steps of the engine.
class TrepReportComponent : public TrepComponent
{
public:
    const PropTable &Props() const override;
    // Saves the bounds; the after-print step writes them back with SetBounds.
    virtual void BeforePrint();
    virtual void GetData() {}
    virtual void AfterPrint();

protected:
    double m_savedLeft = 0, m_savedTop = 0, m_savedWidth = 0, m_savedHeight = 0;
};

// Everything drawn on a page.
class TrepView : public TrepReportComponent
{
public:
    const PropTable &Props() const override;

    TrepAlign Align = baNone;
    TBrushStyle BrushStyle = bsSolid;
    TColor Color = clNone;
    int Cursor = 0;
    TrepFrame Frame;
    int GroupIndex = 0;
    bool Printable = true;
    TrepShiftMode ShiftMode = smAlways;
    QString TagStr;
    QString URL;
    QString DataSetName;
    QString DataField;
    QString OnBeforePrint, OnAfterPrint, OnAfterData, OnPreviewClick;

    bool IsDataBound() const { return !DataSetName.isEmpty() && !DataField.isEmpty(); }

    void BeforePrint() override;
    void GetData() override;
    void AfterPrint() override;

protected:
    QString m_savedTagStr, m_savedURL;
};

class TrepStretcheable : public TrepView
{
public:
    const PropTable &Props() const override;
    TrepStretchMode StretchMode = smDontStretch;
};

// The stored properties every component has (Name, geometry, font, ParentFont, Visible, Tag).
const PropTable &componentProps();

// Creates an object by its class name (stored form, page rebuild); nullptr for a class that is
// not registered.
TrepComponent *createComponent(const QString &className);
// The same, raising the class-not-found error ("xrCantFindClass") for an unknown class.
TrepComponent *createComponentOrThrow(const QString &className);
// Compares two object names ignoring the case of A to Z only.
bool sameName(QStringView a, QStringView b);

} // namespace rep
