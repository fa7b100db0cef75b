#include "declaration/catalogue.h"

namespace decl {

namespace {
QString s(const char16_t *text) { return QString::fromUtf16(text); }
} // namespace

const QList<Section> &sections()
{
    static const QList<Section> list = {
        {s(u"StyledToolPanel1"), s(u"  I. AZ ADÓ ALANYA")},
        {s(u"StyledToolPanel5"), s(u"  II. A BELTERÜLETI FÖLDRÉSZLET (TELEK)")},
        {s(u"StyledToolPanel4"), s(u"III. AZ ADÓ MEGÁLLAPITÁSA")},
        {s(u"StyledToolPanel2"), s(u"  EGYÉB")},
    };
    return list;
}

const QList<Field> &fields()
{
    using K = FieldKind;
    static const QList<Field> list = {
        // Section I: the taxpayer and up to three co-owners.
        {0, 0, s(u"StyledEdit35"), K::TextEdit, s(u"neve:"), s(u"m1"), s(u"neve:")},
        {0, 1, s(u"StyledEdit36"), K::TextEdit, s(u"cime:"), s(u"m2"), s(u"cime:")},
        {0, 2, s(u"CtlMaskEdit6"), K::TaxNumber, s(u"adószáma:"), s(u"m3"), s(u"adóazonositó száma:")},
        {0, 3, s(u"CtlMaskEdit8"), K::TaxId, s(u"adóazonositó jele:"), s(u"m4"), s(u"adószáma:")},
        {0, 6, s(u"StyledEdit3"), K::TextEdit, s(u"tulajdoni hányada:"), s(u"m5"), s(u"tulajdoni hányada:")},
        {0, 7, s(u"StyledEdit5"), K::TextEdit, s(u"vagyoni értékű joga:"), s(u"m6"), s(u"vagyoni értékű joga:")},
        {0, 8, s(u"StyledEdit15"), K::TextEdit, s(u"neve:"), s(u"m12"), s(u"neve:")},
        {0, 9, s(u"StyledEdit16"), K::TextEdit, s(u"cime:"), s(u"m13"), s(u"cime:")},
        {0, 10, s(u"CtlMaskEdit3"), K::TaxNumber, s(u"adószáma:"), s(u"m14"), s(u"adóazonositó száma:")},
        {0, 11, s(u"CtlMaskEdit4"), K::TaxId, s(u"adóazonositó jele:"), s(u"m15"), s(u"adószáma:")},
        {0, 12, s(u"StyledEdit17"), K::TextEdit, s(u"tulajdoni hányada:"), s(u"m16"), s(u"tulajdoni hányada:")},
        {0, 13, s(u"StyledEdit11"), K::TextEdit, s(u"neve:"), s(u"m17"), s(u"neve:")},
        {0, 14, s(u"StyledEdit20"), K::TextEdit, s(u"cime:"), s(u"m18"), s(u"cime:")},
        {0, 15, s(u"CtlMaskEdit5"), K::TaxNumber, s(u"adószáma:"), s(u"m19"), s(u"adóazonositó száma:")},
        {0, 16, s(u"CtlMaskEdit7"), K::TaxId, s(u"adóazonositó jele:"), s(u"m20"), s(u"adószáma:")},
        {0, 17, s(u"StyledEdit21"), K::TextEdit, s(u"tulajdoni hányada:"), s(u"m21"), s(u"tulajdoni hányada:")},
        {0, 18, s(u"StyledEdit23"), K::TextEdit, s(u"neve:"), s(u"m22"), s(u"neve:")},
        {0, 19, s(u"StyledEdit24"), K::TextEdit, s(u"cime:"), s(u"m23"), s(u"cime:")},
        {0, 20, s(u"CtlMaskEdit9"), K::TaxNumber, s(u"adószáma:"), s(u"m24"), s(u"adóazonositó száma:")},
        {0, 21, s(u"CtlMaskEdit10"), K::TaxId, s(u"adóazonositó jele:"), s(u"m25"), s(u"adószáma:")},
        {0, 22, s(u"StyledEdit25"), K::TextEdit, s(u"tulajdoni hányada:"), s(u"m26"), s(u"tulajdoni hányada:")},
        // Section II: the plot.
        {1, 0, s(u"StyledEdit1"), K::TextEdit, s(u"fekvési cime:"), s(u"m7"), s(u"fekvési cime:")},
        {1, 1, s(u"StyledEdit4"), K::TextEdit, s(u"helyrajzi száma:"), s(u"m8"), s(u"helyrajzi száma:")},
        {1, 2, s(u"StyledEdit40"), K::TextEdit, s(u"művelési ága:"), s(u"m9"), s(u"művelési ága:")},
        {1, 3, s(u"StyledEdit6"), K::TextEdit, s(u"aranykorona értéke:"), s(u"m10"), s(u"aranykorona értéke:")},
        {1, 4, s(u"StyledEdit2"), K::TextEdit,
         s(u"A telek belterületté minősitésének, illetőleg az épitési tilalom feloldásának időpontja (év):"), s(u"m11"),
         s(u"6. A telek belterületté minősitésének, illetőleg az épitési tilalom feloldásának időpontja (év):")},
        // Section III: the computation of the tax.
        {2, 0, s(u"NumEdit1"), K::NumericEdit,
         s(u"a. az ingatlannyilvántartásba bejegyzett földterület teljes területe:"), s(u"m27"),
         s(u"a. az ingatlannyilvántartásba bejegyzett földterület teljes területe:")},
        {2, 1, s(u"NumEdit2"), K::NumericEdit,
         s(u"b. épület és épületnek nem minősülő épitmény alapterülete:"), s(u"m28"),
         s(u"b. épület és épületnek nem minősülő épitmény alapterülete:")},
        {2, 2, s(u"NumEdit3"), K::NumericEdit, s(u"d. épület által elfoglalt hasznos alapterület:"), s(u"m30"),
         s(u"d. épület által elfoglalt hasznos alapterület:")},
        {2, 3, s(u"NumEdit4"), K::NumericEdit,
         s(u"e. épületnek nem minősülő épitmény által lefedett földrészlet:"), s(u"m31"),
         s(u"e. épületnek nem minősülő épitmény által lefedett földrészlet:")},
        {2, 4, s(u"NumEdit5"), K::NumericEdit,
         s(u"f: helyi és helyközi menetrend szerinti közlekedés szerinti közlekedési tevékenység céjára használt (a tv. 19.§.b. pontja szerinti) földrészlet:"),
         s(u"m32"),
         s(u"f. helyi és helyközi menetrend szerinti közlekedési tevékenység céljára használt (a tv. 19.§.b. pontja szerinti) földrészlet:")},
        {2, 5, s(u"NumEdit6"), K::NumericEdit,
         s(u"g. védő (biztonsági) terület (tv. 19.§.e. pontja szerinti) földrészlet:"), s(u"m33"),
         s(u"g. védő (biztonsági) terület (tv. 19.§.e pontja szerinti) földrészlet:")},
        {2, 6, s(u"NumEdit7"), K::NumericEdit,
         s(u"h. erdő művelési ágban nyilvántartott terület (tv. 19.§.f. pontja szerinti):"), s(u"m34"),
         s(u"h. erdő művelési ágában nyilvántartott terület (tv. 19.§. f. pontja szerinti):")},
        {2, 7, s(u"NumEdit8"), K::NumericEdit,
         s(u"i. önkormányzati döntés alapján adómentes (Ör. 4.§.1., 2. pont):"), s(u"m35"),
         s(u"i. önkormányzati döntés alapján adómentes (Ör. 4.§.1., 2. pont):")},
        // Section EGYÉB: other data.
        {3, 0, s(u"StyledEdit7"), K::TextEdit, s(u"Tulajdonba kerülés, illetve változás dátuma:"), s(u"m39"),
         s(u"Tulajdonba kerülés, illetve változás dátuma:")},
        {3, 1, s(u"StyledEdit8"), K::TextEdit, s(u"Előző tulajdonos neve:"), s(u"m40"), s(u"Előző tulajdonos neve:")},
        {3, 2, s(u"StyledEdit9"), K::TextEdit, s(u"Előző tulajdonos cime:"), s(u"m41"), s(u"Cime:")},
        {3, 3, s(u"StyledEdit10"), K::TextEdit, s(u"Bevallás kitöltőjének neve:"), s(u"m42"),
         s(u"A bevallás kitöltőjének neve:")},
        {3, 4, s(u"StyledEdit12"), K::TextEdit, s(u"Telefonszáma:"), s(u"m43"), s(u"Telefonszáma:")},
        {3, 5, s(u"RichEdit1"), K::RichEdit, s(u"Megjegyzés:"), s(u"m44"), s(u"Megjegyzés:")},
    };
    return list;
}

const QList<RadioGroup> &radioGroups()
{
    static const QList<RadioGroup> list = {
        {0, 4, s(u"CtlRadioGroup5"), s(u"Az adó alanya"), 2,
         {s(u"magánszemély"), s(u"jogi személyiség nélküli gazdasági társaság"), s(u"jogi személy"),
          s(u"a magánszemélyek jogi személyiséggel nem rendelkező személyi egyesülése")},
         s(u"az adó alanya:")},
        {0, 5, s(u"CtlRadioGroup6"), s(u"Használat tipusa"), 3,
         {s(u"kizárólagos tulajdonos"), s(u"résztulajdonos"), s(u"haszonélvező"), s(u"kezelői jogot gyakorló"),
          s(u"bérlő"), s(u"egyéb")},
         s(u"használat tipusa:")},
        {0, 23, s(u"CtlRadioGroup1"), s(u"Változás oka"), 1,
         {s(u"tulajdonjog szerzés"), s(u"ingatlan adataiban bekövetkezett változás")}, QString()},
    };
    return list;
}

const QList<ComputedLabel> &computedLabels()
{
    static const QList<ComputedLabel> list = {
        {s(u"Label1"), s(u"c. beépitetlen belterületi földrészlet (a-b):"), true, s(u"m29"),
         s(u"c. beépitetlen belterületi földrészlet (a-b):")},
        {s(u"Label2"), s(u"j. levonás összesen: (d-e-f-g-h-i)"), true, s(u"m36"), s(u"j. levonás összesen:")},
        {s(u"Label3"), s(u"k. Adóalap: (c-j)"), true, s(u"m37"), s(u"k. Adóalap (c-j):")},
        {s(u"Label4"), s(u"fizetendő adó (k*209 Ft/nm/év):"), false, s(u"m38"), s(u"fizetendő adó (k*209 Ft/nm/év):")},
    };
    return list;
}

QString initialText(FieldKind kind)
{
    switch (kind) {
    case FieldKind::TaxNumber: return s(u"********-*-**");
    case FieldKind::TaxId: return s(u"**********");
    case FieldKind::NumericEdit: return s(u"0");
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

const QStringList &areaFields()
{
    static const QStringList list = {s(u"NumEdit1"), s(u"NumEdit2"), s(u"NumEdit3"), s(u"NumEdit4"),
                                     s(u"NumEdit5"), s(u"NumEdit6"), s(u"NumEdit7"), s(u"NumEdit8")};
    return list;
}

} // namespace decl
