#include "declaration/checks.h"

#include "declaration/catalogue.h"
#include "declaration/formaccess.h"
#include "declaration/printfit.h"
#include "maskedtext_p.h"

#include <QHash>
#include <QMap>

#include <algorithm>
#include <optional>

using namespace Qt::StringLiterals;

namespace decl {

namespace {

// Birth dates in tax identification codes count days from this one.
const QDate taxIdEpoch(1867, 1, 1);
// The declaration is for 2006; the plot's year cannot lie after it.
constexpr int declarationYear = 2006;

// The taxpayer's name; every other block of the catalogue is a co-owner's.
const QString taxpayerName = u"StyledEdit35"_s;

// The catalogue's co-owner blocks, each with its fields in tab order: the name first.
const QList<QStringList> &coOwnerBlocks()
{
    static const QList<QStringList> blocks = [] {
        const Field *taxpayer = findField(taxpayerName);
        Q_ASSERT(taxpayer);
        QList<QStringList> result;
        for (const FieldBlock &b : fieldBlocks()) {
            if (taxpayer && &b == findBlock(*taxpayer))
                continue;
            QMap<int, QString> members;
            for (const Field &f : fields())
                if (findBlock(f) == &b)
                    members.insert(f.tab, f.component);
            result.append(members.values());
        }
        return result;
    }();
    return blocks;
}

// Fit: the value prints whole in its box of the printed form.
enum class Rule { TaxId, TaxNumber, TaxpayerName, Choice, CoOwnerName, Year, Fit };

struct Item
{
    QString component;
    QString caption;
    QString section;
    Rule rule;
    int coOwnerBlock = -1; // of a CoOwnerName item
    QString block;         // the catalogue's name of the field's block
    QString key;           // the report key of a Fit item
};

// The checked fields and groups in form order.
const QList<Item> &checkedItems()
{
    static const QList<Item> list = [] {
        struct Ordered
        {
            int section, tab;
            Item item;
        };
        QList<Ordered> all;
        auto add = [&](int section, int tab, const QString &component, const QString &caption, Rule rule,
                       int coOwnerBlock, const QString &block, const QString &key = QString()) {
            all.append({section, tab,
                        {component, caption, sections().at(section).caption.trimmed(), rule, coOwnerBlock, block,
                         key}});
        };
        for (const Field &f : fields()) {
            int coOwnerBlock = -1;
            for (int b = 0; b < coOwnerBlocks().size(); ++b)
                if (f.component == coOwnerBlocks().at(b).constFirst())
                    coOwnerBlock = b;
            const FieldBlock *fb = findBlock(f);
            const QString blockName = fb ? fb->name : QString();
            std::optional<Rule> rule;
            if (f.kind == FieldKind::TaxId)
                rule = Rule::TaxId;
            else if (f.kind == FieldKind::TaxNumber)
                rule = Rule::TaxNumber;
            else if (f.component == taxpayerName)
                rule = Rule::TaxpayerName;
            else if (f.component == u"StyledEdit2")
                rule = Rule::Year;
            else if (coOwnerBlock >= 0)
                rule = Rule::CoOwnerName;
            if (rule)
                add(f.section, f.tab, f.component, f.screenCaption, *rule, coOwnerBlock, blockName);
            if (!f.key.isEmpty())
                add(f.section, f.tab, f.component, f.screenCaption, Rule::Fit, -1, blockName, f.key);
        }
        for (const RadioGroup &g : radioGroups())
            if (g.component == u"CtlRadioGroup5" || g.component == u"CtlRadioGroup6")
                add(g.section, g.tab, g.component, g.caption, Rule::Choice, -1, QString());
        // Stable: a field's own rule comes before its fit.
        std::stable_sort(all.begin(), all.end(), [](const Ordered &a, const Ordered &b) {
            return a.section != b.section ? a.section < b.section : a.tab < b.tab;
        });
        QList<Item> items;
        for (const Ordered &o : all)
            items.append(o.item);
        return items;
    }();
    return list;
}

// The items of one component, in form order.
QList<const Item *> findItems(const QString &component)
{
    static const QHash<QString, QList<int>> index = [] {
        QHash<QString, QList<int>> h;
        for (int i = 0; i < checkedItems().size(); ++i)
            h[checkedItems().at(i).component].append(i);
        return h;
    }();
    QList<const Item *> items;
    for (const int i : index.value(component))
        items.append(&checkedItems().at(i));
    return items;
}

int digitValue(QChar c) { return c.unicode() - u'0'; }

enum class Fill { Blank, Partial, Complete, Malformed };

// How far a masked text is filled: blank when it holds no digit, complete when every position
// holds its digit or literal, malformed when the mask would not take it at all.
Fill fillOf(const QString &text, FieldKind kind)
{
    if (!fitsMask(text, kind))
        return Fill::Malformed;
    if (std::none_of(text.cbegin(), text.cend(), isAsciiDigit))
        return Fill::Blank;
    if (text.size() != initialText(kind).size())
        return Fill::Partial;
    for (const QChar c : text)
        if (c == QChar(maskBlank) || c == u' ')
            return Fill::Partial;
    return Fill::Complete;
}

bool isFilled(const QString &text, FieldKind kind)
{
    if (kind == FieldKind::TaxId || kind == FieldKind::TaxNumber)
        return fillOf(text, kind) != Fill::Blank;
    return !text.trimmed().isEmpty();
}

QString yearProblem(const QString &text)
{
    const QString year = text.trimmed();
    if (year.isEmpty())
        return {};
    if (year.size() != 4 || !std::all_of(year.cbegin(), year.cend(), isAsciiDigit) || year.front() == u'0')
        return u"Az évet négy számjeggyel adja meg, például 1998."_s;
    if (year.toInt() > declarationYear)
        return u"Az év legfeljebb %1 lehet: a bevallás a %1. évre szól."_s.arg(declarationYear);
    return {};
}

QString coOwnerNameProblem(int block, const FormAccess &form)
{
    const QStringList &members = coOwnerBlocks().at(block);
    if (!form.text(members.constFirst()).trimmed().isEmpty())
        return {};
    for (const QString &component : members.sliced(1)) {
        const Field *f = findField(component);
        Q_ASSERT(f); // the blocks name catalogue fields
        if (f && isFilled(form.text(component), f->kind))
            return u"A tulajdonostárs adatai közül van kitöltött, de a neve hiányzik. Adja meg a nevét, "
                     u"vagy törölje a többi adatát."_s;
    }
    return {};
}

QString choiceProblem(const QString &group, const QString &caption, const FormAccess &form)
{
    const int index = form.itemIndex(group);
    const RadioGroup *g = findGroup(group);
    if (g && index >= 0 && index < g->items.size())
        return {};
    return u"Nincs kiválasztva: „%1”. Jelölje be a megfelelő lehetőséget."_s.arg(caption);
}

QString problemOf(const Item &item, const FormAccess &form, QDate today)
{
    switch (item.rule) {
    case Rule::TaxId: return taxIdProblem(form.text(item.component), today);
    case Rule::TaxNumber: return taxNumberProblem(form.text(item.component));
    case Rule::TaxpayerName:
        return form.text(item.component).trimmed().isEmpty() ? u"Adja meg az adózó nevét."_s : QString();
    case Rule::Choice: return choiceProblem(item.component, item.caption, form);
    case Rule::CoOwnerName: return coOwnerNameProblem(item.coOwnerBlock, form);
    case Rule::Year: return yearProblem(form.text(item.component));
    case Rule::Fit: return printFitProblem(item.key, form.text(item.component));
    }
    return {};
}

} // namespace

QString taxIdProblem(const QString &text, QDate today)
{
    switch (fillOf(text, FieldKind::TaxId)) {
    case Fill::Blank: return {};
    case Fill::Malformed: return u"Az adóazonosító jel tíz számjegyből áll, például 8365670003."_s;
    case Fill::Partial:
        return u"Az adóazonosító jel hiányos: mind a tíz számjegyét adja meg, például 8365670003."_s;
    case Fill::Complete: break;
    }
    if (text[0] != u'8')
        return u"Az adóazonosító jel első számjegye mindig 8, például 8365670003."_s;
    const QDate born = taxIdEpoch.addDays(QStringView(text).mid(1, 5).toInt());
    if (born > today)
        return u"Az adóazonosító jel 2–6. számjegye a születés napja (1867. január 1. óta eltelt napok), "
                 u"itt %1, ami későbbi a mai napnál. Ellenőrizze a számjegyeket."_s
            .arg(born.toString(u"yyyy. MM. dd."_s));
    int sum = 0;
    for (int i = 0; i < 9; ++i)
        sum += digitValue(text[i]) * (i + 1);
    const int check = sum % 11;
    if (check == 10)
        return u"Ilyen első kilenc számjeggyel nincs érvényes adóazonosító jel (az ellenőrző összeg 11-es maradéka "
                 u"10). Ellenőrizze a számjegyeket."_s;
    if (digitValue(text[9]) != check)
        return u"Az adóazonosító jel utolsó, ellenőrző számjegye nem egyezik; az első kilenc számjegyhez tartozó "
                 u"ellenőrző számjegy: %1. Ellenőrizze a számjegyeket."_s
            .arg(check);
    return {};
}

QString taxNumberProblem(const QString &text)
{
    switch (fillOf(text, FieldKind::TaxNumber)) {
    case Fill::Blank: return {};
    case Fill::Malformed:
        return u"Az adószám nyolc számjegy, kötőjel, egy számjegy, kötőjel, két számjegy, például 12345676-2-41."_s;
    case Fill::Partial:
        return u"Az adószám hiányos: mind a tizenegy számjegyét adja meg, például 12345676-2-41."_s;
    case Fill::Complete: break;
    }
    static constexpr int weights[7] = {9, 7, 3, 1, 9, 7, 3};
    int sum = 0;
    for (int i = 0; i < 7; ++i)
        sum += digitValue(text[i]) * weights[i];
    const int check = (10 - sum % 10) % 10;
    if (digitValue(text[7]) != check)
        return u"Az adószám nyolcadik, ellenőrző számjegye nem egyezik; az első hét számjegyhez tartozó "
                 u"ellenőrző számjegy: %1. Ellenőrizze a számjegyeket."_s
            .arg(check);
    const int vat = digitValue(text[9]);
    if (vat < 1 || vat > 5)
        return u"Az adószám első kötőjel utáni számjegye, az áfakód, csak 1, 2, 3, 4 vagy 5 lehet."_s;
    return {};
}

QString fieldLabel(const Finding &finding)
{
    QString label = captionName(finding.caption);
    if (!finding.block.isEmpty())
        label += u" (%1)"_s.arg(finding.block);
    return label;
}

QList<Finding> checkForm(const FormAccess &form, QDate today)
{
    QList<Finding> findings;
    for (const Item &item : checkedItems()) {
        const QString message = problemOf(item, form, today);
        if (!message.isEmpty())
            findings.append({item.component, item.caption, item.section, message, item.block});
    }
    return findings;
}

QList<Finding> findingsFor(const QString &component, const FormAccess &form, QDate today)
{
    QList<Finding> findings;
    for (const Item *item : findItems(component)) {
        const QString message = problemOf(*item, form, today);
        if (!message.isEmpty())
            findings.append({item->component, item->caption, item->section, message, item->block});
    }
    return findings;
}

QStringList dependentFields(const QString &component)
{
    QStringList result{component};
    for (const QStringList &members : coOwnerBlocks())
        if (members.contains(component) && component != members.constFirst())
            result.append(members.constFirst());
    return result;
}

} // namespace decl
