#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace decl {

enum class FieldKind {
    TextEdit,     // TStyledEdit
    TaxNumber,    // TCtlMaskEdit, mask "88888888\-8\-88"
    TaxId,        // TCtlMaskEdit, mask "8888888888"
    NumericEdit,  // TNumEdit
    RichEdit,     // TRichEdit
};

struct Section
{
    QString panel;    // component name of the section panel
    QString caption;  // caption bar text, leading blanks included
};

// One input field of the form, in tab order within its section.
struct Field
{
    int section;           // index into sections()
    int tab;               // TabOrder within the section panel
    QString component;
    FieldKind kind;
    QString screenCaption;
    QString key;           // report key m1 ... m44
    QString printedCaption;
};

struct RadioGroup
{
    int section;
    int tab;
    QString component;
    QString caption;
    int columns;
    QStringList items;     // in index order
    QString printedCaption; // empty when the group is not captioned on paper
};

// A label written by the computation; not in the tab order.
struct ComputedLabel
{
    QString component;
    QString screenCaption; // caption of the row, bold where the form shows it bold
    bool bold;
    QString key;
    QString printedCaption;
    QString name;          // what the value is called when read out: the caption without its formula
};

// A run of fields of one section, by tab order, that belong to one person: section I holds the
// taxpayer's rows and then each co-owner's, whose captions repeat ("neve:", "cime:" …).
struct FieldBlock
{
    int section;
    int firstTab;
    int lastTab;
    QString name;          // whose fields these are
};

inline constexpr const char16_t *taxNumberMask = u"88888888\\-8\\-88";
inline constexpr const char16_t *taxIdMask = u"8888888888";

const QList<Section> &sections();
const QList<Field> &fields();
const QList<RadioGroup> &radioGroups();
const QList<ComputedLabel> &computedLabels();
const QList<FieldBlock> &fieldBlocks();

// The text a field of this kind holds before the user touches it.
QString initialText(FieldKind kind);

const Field *findField(const QString &component);
const RadioGroup *findGroup(const QString &component);
// The block a field belongs to, nullptr for none.
const FieldBlock *findBlock(const Field &field);
// A caption as a name reads it: without the blanks around it and its closing colon.
QString captionName(const QString &caption);

// The eight area fields whose exit runs the computation, a ... i without c.
const QStringList &areaFields();

// The key of the printed title; it belongs to no field.
inline constexpr const char16_t *titleKey = u"m45";
// The invisible numeric edit on the outer panel: no handler, no key.
inline constexpr const char16_t *hiddenNumEdit = u"NumEdit9";

} // namespace decl
