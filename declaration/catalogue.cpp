#include "declaration/catalogue.h"

using namespace Qt::StringLiterals;

namespace decl {

const QList<Section> &sections()
{
    static const QList<Section> list = {
        {u"StyledToolPanel1"_s, u"  I. AZ ADÓ ALANYA"_s},
        {u"StyledToolPanel5"_s, u"  II. A BELTERÜLETI FÖLDRÉSZLET (TELEK)"_s},
        {u"StyledToolPanel4"_s, u"III. AZ ADÓ MEGÁLLAPITÁSA"_s},
        {u"StyledToolPanel2"_s, u"  EGYÉB"_s},
    };
    return list;
}

const QList<Field> &fields()
{
    using K = FieldKind;
    static const QList<Field> list = {
        // Section I: the taxpayer and up to three co-owners.
        {0, 0, u"StyledEdit35"_s, K::TextEdit, u"neve:"_s, u"m1"_s, u"neve:"_s},
        {0, 1, u"StyledEdit36"_s, K::TextEdit, u"cime:"_s, u"m2"_s, u"cime:"_s},
        {0, 2, u"CtlMaskEdit6"_s, K::TaxNumber, u"adószáma:"_s, u"m3"_s, u"adószáma:"_s},
        {0, 3, u"CtlMaskEdit8"_s, K::TaxId, u"adóazonositó jele:"_s, u"m4"_s, u"adóazonositó száma:"_s},
        {0, 6, u"StyledEdit3"_s, K::TextEdit, u"tulajdoni hányada:"_s, u"m5"_s, u"tulajdoni hányada:"_s},
        {0, 7, u"StyledEdit5"_s, K::TextEdit, u"vagyoni értékű joga:"_s, u"m6"_s, u"vagyoni értékű joga:"_s},
        {0, 8, u"StyledEdit15"_s, K::TextEdit, u"neve:"_s, u"m12"_s, u"neve:"_s},
        {0, 9, u"StyledEdit16"_s, K::TextEdit, u"cime:"_s, u"m13"_s, u"cime:"_s},
        {0, 10, u"CtlMaskEdit3"_s, K::TaxNumber, u"adószáma:"_s, u"m14"_s, u"adószáma:"_s},
        {0, 11, u"CtlMaskEdit4"_s, K::TaxId, u"adóazonositó jele:"_s, u"m15"_s, u"adóazonositó száma:"_s},
        {0, 12, u"StyledEdit17"_s, K::TextEdit, u"tulajdoni hányada:"_s, u"m16"_s, u"tulajdoni hányada:"_s},
        {0, 13, u"StyledEdit11"_s, K::TextEdit, u"neve:"_s, u"m17"_s, u"neve:"_s},
        {0, 14, u"StyledEdit20"_s, K::TextEdit, u"cime:"_s, u"m18"_s, u"cime:"_s},
        {0, 15, u"CtlMaskEdit5"_s, K::TaxNumber, u"adószáma:"_s, u"m19"_s, u"adószáma:"_s},
        {0, 16, u"CtlMaskEdit7"_s, K::TaxId, u"adóazonositó jele:"_s, u"m20"_s, u"adóazonositó száma:"_s},
        {0, 17, u"StyledEdit21"_s, K::TextEdit, u"tulajdoni hányada:"_s, u"m21"_s, u"tulajdoni hányada:"_s},
        {0, 18, u"StyledEdit23"_s, K::TextEdit, u"neve:"_s, u"m22"_s, u"neve:"_s},
        {0, 19, u"StyledEdit24"_s, K::TextEdit, u"cime:"_s, u"m23"_s, u"cime:"_s},
        {0, 20, u"CtlMaskEdit9"_s, K::TaxNumber, u"adószáma:"_s, u"m24"_s, u"adószáma:"_s},
        {0, 21, u"CtlMaskEdit10"_s, K::TaxId, u"adóazonositó jele:"_s, u"m25"_s, u"adóazonositó száma:"_s},
        {0, 22, u"StyledEdit25"_s, K::TextEdit, u"tulajdoni hányada:"_s, u"m26"_s, u"tulajdoni hányada:"_s},
        // Section II: the plot.
        {1, 0, u"StyledEdit1"_s, K::TextEdit, u"fekvési cime:"_s, u"m7"_s, u"fekvési cime:"_s},
        {1, 1, u"StyledEdit4"_s, K::TextEdit, u"helyrajzi száma:"_s, u"m8"_s, u"helyrajzi száma:"_s},
        {1, 2, u"StyledEdit40"_s, K::TextEdit, u"művelési ága:"_s, u"m9"_s, u"művelési ága:"_s},
        {1, 3, u"StyledEdit6"_s, K::TextEdit, u"aranykorona értéke:"_s, u"m10"_s, u"aranykorona értéke:"_s},
        {1, 4, u"StyledEdit2"_s, K::TextEdit,
         u"A telek belterületté minősitésének, illetőleg az épitési tilalom feloldásának időpontja (év):"_s, u"m11"_s,
         u"6. A telek belterületté minősitésének, illetőleg az épitési tilalom feloldásának időpontja (év):"_s},
        // Section III: the computation of the tax.
        {2, 0, u"NumEdit1"_s, K::NumericEdit,
         u"a. az ingatlannyilvántartásba bejegyzett földterület teljes területe:"_s, u"m27"_s,
         u"a. az ingatlannyilvántartásba bejegyzett földterület teljes területe:"_s},
        {2, 1, u"NumEdit2"_s, K::NumericEdit,
         u"b. épület és épületnek nem minősülő épitmény alapterülete:"_s, u"m28"_s,
         u"b. épület és épületnek nem minősülő épitmény alapterülete:"_s},
        {2, 2, u"NumEdit3"_s, K::NumericEdit, u"d. épület által elfoglalt hasznos alapterület:"_s, u"m30"_s,
         u"d. épület által elfoglalt hasznos alapterület:"_s},
        {2, 3, u"NumEdit4"_s, K::NumericEdit,
         u"e. épületnek nem minősülő épitmény által lefedett földrészlet:"_s, u"m31"_s,
         u"e. épületnek nem minősülő épitmény által lefedett földrészlet:"_s},
        {2, 4, u"NumEdit5"_s, K::NumericEdit,
         u"f: helyi és helyközi menetrend szerinti közlekedés szerinti közlekedési tevékenység céjára használt (a tv. 19.§.b. pontja szerinti) földrészlet:"_s,
         u"m32"_s,
         u"f. helyi és helyközi menetrend szerinti közlekedési tevékenység céljára használt (a tv. 19.§.b. pontja szerinti) földrészlet:"_s},
        {2, 5, u"NumEdit6"_s, K::NumericEdit,
         u"g. védő (biztonsági) terület (tv. 19.§.e. pontja szerinti) földrészlet:"_s, u"m33"_s,
         u"g. védő (biztonsági) terület (tv. 19.§.e pontja szerinti) földrészlet:"_s},
        {2, 6, u"NumEdit7"_s, K::NumericEdit,
         u"h. erdő művelési ágban nyilvántartott terület (tv. 19.§.f. pontja szerinti):"_s, u"m34"_s,
         u"h. erdő művelési ágában nyilvántartott terület (tv. 19.§. f. pontja szerinti):"_s},
        {2, 7, u"NumEdit8"_s, K::NumericEdit,
         u"i. önkormányzati döntés alapján adómentes (Ör. 4.§.1., 2. pont):"_s, u"m35"_s,
         u"i. önkormányzati döntés alapján adómentes (Ör. 4.§.1., 2. pont):"_s},
        // Section EGYÉB: other data.
        {3, 0, u"StyledEdit7"_s, K::TextEdit, u"Tulajdonba kerülés, illetve változás dátuma:"_s, u"m39"_s,
         u"Tulajdonba kerülés, illetve változás dátuma:"_s},
        {3, 1, u"StyledEdit8"_s, K::TextEdit, u"Előző tulajdonos neve:"_s, u"m40"_s, u"Előző tulajdonos neve:"_s},
        {3, 2, u"StyledEdit9"_s, K::TextEdit, u"Előző tulajdonos cime:"_s, u"m41"_s, u"Cime:"_s},
        {3, 3, u"StyledEdit10"_s, K::TextEdit, u"Bevallás kitöltőjének neve:"_s, u"m42"_s,
         u"A bevallás kitöltőjének neve:"_s},
        {3, 4, u"StyledEdit12"_s, K::TextEdit, u"Telefonszáma:"_s, u"m43"_s, u"Telefonszáma:"_s},
        {3, 5, u"RichEdit1"_s, K::RichEdit, u"Megjegyzés:"_s, u"m44"_s, u"Megjegyzés:"_s},
    };
    return list;
}

const QList<RadioGroup> &radioGroups()
{
    static const QList<RadioGroup> list = {
        {0, 4, u"CtlRadioGroup5"_s, u"Az adó alanya"_s, 2,
         {u"magánszemély"_s, u"jogi személyiség nélküli gazdasági társaság"_s, u"jogi személy"_s,
          u"a magánszemélyek jogi személyiséggel nem rendelkező személyi egyesülése"_s},
         u"az adó alanya:"_s},
        {0, 5, u"CtlRadioGroup6"_s, u"Használat tipusa"_s, 3,
         {u"kizárólagos tulajdonos"_s, u"résztulajdonos"_s, u"haszonélvező"_s, u"kezelői jogot gyakorló"_s,
          u"bérlő"_s, u"egyéb"_s},
         u"használat tipusa:"_s},
        {0, 23, u"CtlRadioGroup1"_s, u"Változás oka"_s, 1,
         {u"tulajdonjog szerzés"_s, u"ingatlan adataiban bekövetkezett változás"_s}, QString()},
    };
    return list;
}

const QList<ComputedLabel> &computedLabels()
{
    static const QList<ComputedLabel> list = {
        {u"Label1"_s, u"c. beépitetlen belterületi földrészlet (a-b):"_s, true, u"m29"_s,
         u"c. beépitetlen belterületi földrészlet (a-b):"_s, u"c. beépitetlen belterületi földrészlet (a-b)"_s},
        {u"Label2"_s, u"j. levonás összesen: (d-e-f-g-h-i)"_s, true, u"m36"_s, u"j. levonás összesen:"_s,
         u"j. levonás összesen"_s},
        {u"Label3"_s, u"k. Adóalap: (c-j)"_s, true, u"m37"_s, u"k. Adóalap (c-j):"_s, u"k. Adóalap"_s},
        {u"Label4"_s, u"fizetendő adó (k*209 Ft/nm/év):"_s, false, u"m38"_s, u"fizetendő adó (k*209 Ft/nm/év):"_s,
         u"fizetendő adó"_s},
    };
    return list;
}

const QList<FieldBlock> &fieldBlocks()
{
    static const QList<FieldBlock> list = {
        {0, 0, 7, u"adózó"_s},
        {0, 8, 12, u"1. tulajdonostárs"_s},
        {0, 13, 17, u"2. tulajdonostárs"_s},
        {0, 18, 22, u"3. tulajdonostárs"_s},
    };
    return list;
}

QString initialText(FieldKind kind)
{
    switch (kind) {
    case FieldKind::TaxNumber: return u"********-*-**"_s;
    case FieldKind::TaxId: return u"**********"_s;
    case FieldKind::NumericEdit: return u"0"_s;
    case FieldKind::TextEdit:
    case FieldKind::RichEdit: return QString();
    }
    return QString();
}

const Field *findField(const QString &component)
{
    for (const Field &f : fields())
        if (f.component == component)
            return &f;
    return nullptr;
}

const RadioGroup *findGroup(const QString &component)
{
    for (const RadioGroup &g : radioGroups())
        if (g.component == component)
            return &g;
    return nullptr;
}

const FieldBlock *findBlock(const Field &field)
{
    for (const FieldBlock &b : fieldBlocks())
        if (b.section == field.section && field.tab >= b.firstTab && field.tab <= b.lastTab)
            return &b;
    return nullptr;
}

QString captionName(const QString &caption)
{
    QString s = caption.trimmed();
    if (s.endsWith(u':'))
        s.chop(1);
    return s.trimmed();
}

const QStringList &areaFields()
{
    static const QStringList list = {u"NumEdit1"_s, u"NumEdit2"_s, u"NumEdit3"_s, u"NumEdit4"_s,
                                     u"NumEdit5"_s, u"NumEdit6"_s, u"NumEdit7"_s, u"NumEdit8"_s};
    return list;
}

} // namespace decl
