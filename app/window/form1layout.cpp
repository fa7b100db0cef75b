#include "app/window/form1layout.h"

#include <array>

namespace app {

using namespace Qt::StringLiterals;

namespace {
// The outer panel and the panels of sections I, II, III and EGYÉB.
std::array<QString, 5> panelNames()
{
    return {u"StyledPanel1"_s, u"StyledToolPanel1"_s, u"StyledToolPanel5"_s, u"StyledToolPanel4"_s,
            u"StyledToolPanel2"_s};
}
} // namespace

const QList<Placement> &form1Placements()
{
    const auto [p0, p1, p2, p3, p4] = panelNames();
    static const QList<Placement> list = {
        {p0, QString(), {8, 13, 761, 1825}},
        {p1, p0, {24, 80, 721, 841}},
        {p2, p0, {24, 936, 721, 137}},
        {p3, p0, {24, 1088, 721, 433}},
        {p4, p0, {24, 1536, 721, 265}},
        {u"NumEdit9"_s, p0, {368, 48, 0, 21}},
        // Section I
        {u"StyledEdit35"_s, p1, {152, 28, 521, 21}},
        {u"StyledEdit36"_s, p1, {152, 52, 521, 21}},
        {u"CtlMaskEdit6"_s, p1, {152, 80, 177, 21}},
        {u"CtlMaskEdit8"_s, p1, {152, 104, 177, 21}},
        {u"StyledEdit3"_s, p1, {152, 132, 177, 21}},
        {u"StyledEdit5"_s, p1, {496, 132, 177, 21}},
        {u"CtlRadioGroup1"_s, p1, {24, 160, 289, 65}},
        {u"CtlRadioGroup5"_s, p1, {24, 232, 649, 81}},
        {u"CtlRadioGroup6"_s, p1, {24, 320, 473, 57}},
        {u"StyledEdit15"_s, p1, {152, 412, 521, 21}},
        {u"StyledEdit16"_s, p1, {152, 436, 521, 21}},
        {u"CtlMaskEdit3"_s, p1, {152, 464, 177, 21}},
        {u"CtlMaskEdit4"_s, p1, {152, 488, 177, 21}},
        {u"StyledEdit17"_s, p1, {152, 516, 177, 21}},
        {u"StyledEdit11"_s, p1, {152, 556, 521, 21}},
        {u"StyledEdit20"_s, p1, {152, 580, 521, 21}},
        {u"CtlMaskEdit5"_s, p1, {152, 608, 177, 21}},
        {u"CtlMaskEdit7"_s, p1, {152, 632, 177, 21}},
        {u"StyledEdit21"_s, p1, {152, 660, 177, 21}},
        {u"StyledEdit23"_s, p1, {152, 700, 521, 21}},
        {u"StyledEdit24"_s, p1, {152, 724, 521, 21}},
        {u"CtlMaskEdit9"_s, p1, {152, 752, 177, 21}},
        {u"CtlMaskEdit10"_s, p1, {152, 776, 177, 21}},
        {u"StyledEdit25"_s, p1, {152, 804, 177, 21}},
        // Section II
        {u"StyledEdit1"_s, p2, {144, 28, 529, 21}},
        {u"StyledEdit4"_s, p2, {144, 52, 121, 21}},
        {u"StyledEdit40"_s, p2, {144, 76, 249, 21}},
        {u"StyledEdit6"_s, p2, {552, 76, 121, 21}},
        {u"StyledEdit2"_s, p2, {600, 100, 73, 21}},
        // Section III
        {u"NumEdit1"_s, p3, {520, 64, 100, 24}},
        {u"NumEdit2"_s, p3, {520, 88, 100, 24}},
        {u"Label1"_s, p3, {608, 120, 9, 19}},
        {u"NumEdit3"_s, p3, {520, 144, 100, 24}},
        {u"NumEdit4"_s, p3, {520, 168, 100, 24}},
        {u"NumEdit5"_s, p3, {520, 224, 100, 24}},
        {u"NumEdit6"_s, p3, {520, 248, 100, 24}},
        {u"NumEdit7"_s, p3, {520, 288, 100, 24}},
        {u"NumEdit8"_s, p3, {520, 312, 100, 24}},
        {u"Label2"_s, p3, {608, 342, 9, 19}},
        {u"Label3"_s, p3, {608, 374, 9, 19}},
        {u"Label4"_s, p3, {608, 398, 9, 19}},
        // Section EGYÉB
        {u"StyledEdit7"_s, p4, {312, 36, 185, 21}},
        {u"StyledEdit8"_s, p4, {184, 60, 489, 21}},
        {u"StyledEdit9"_s, p4, {184, 84, 489, 21}},
        {u"StyledEdit10"_s, p4, {200, 124, 473, 21}},
        {u"StyledEdit12"_s, p4, {200, 148, 473, 21}},
        {u"RichEdit1"_s, p4, {200, 176, 473, 73}},
    };
    return list;
}

const QList<CaptionPlacement> &form1Captions()
{
    const auto [p0, p1, p2, p3, p4] = panelNames();
    static const QList<CaptionPlacement> list = {
        {u"RTFLabel1"_s, p0, {24, 16, 721, 73},
         u"BEVALLÁS 2006 évi telekadó, a telek nm alapján történő adó megállapitásához a helyi adókról szóló 1990. évi C. törvény alapján."_s},
        // Section I
        {u"RTFLabel56"_s, p1, {24, 32, 193, 25}, u"neve:"_s},
        {u"RTFLabel57"_s, p1, {24, 56, 145, 25}, u"cime:"_s},
        {u"RTFLabel5"_s, p1, {24, 80, 161, 25}, u"adószáma:"_s},
        {u"RTFLabel61"_s, p1, {24, 104, 161, 25}, u"adóazonositó jele:"_s},
        {u"RTFLabel6"_s, p1, {24, 132, 145, 25}, u"tulajdoni hányada:"_s},
        {u"RTFLabel10"_s, p1, {360, 132, 137, 25}, u"vagyoni értékű joga:"_s},
        {u"CtlRichLabel1"_s, p1, {24, 384, 545, 25},
         u"Az ingatlan nyilvántartásba bejegyzett további tulajdonostárs(ak):"_s},
        {u"RTFLabel11"_s, p1, {24, 416, 193, 25}, u"neve:"_s},
        {u"RTFLabel26"_s, p1, {24, 440, 145, 25}, u"cime:"_s},
        {u"RTFLabel27"_s, p1, {24, 464, 161, 25}, u"adószáma:"_s},
        {u"RTFLabel28"_s, p1, {24, 488, 161, 25}, u"adóazonositó jele:"_s},
        {u"RTFLabel29"_s, p1, {24, 516, 145, 25}, u"tulajdoni hányada:"_s},
        {u"RTFLabel7"_s, p1, {24, 560, 193, 25}, u"neve:"_s},
        {u"RTFLabel31"_s, p1, {24, 584, 145, 25}, u"cime:"_s},
        {u"RTFLabel32"_s, p1, {24, 608, 161, 25}, u"adószáma:"_s},
        {u"RTFLabel33"_s, p1, {24, 632, 161, 25}, u"adóazonositó jele:"_s},
        {u"RTFLabel34"_s, p1, {24, 660, 145, 25}, u"tulajdoni hányada:"_s},
        {u"RTFLabel35"_s, p1, {24, 704, 193, 25}, u"neve:"_s},
        {u"RTFLabel36"_s, p1, {24, 728, 145, 25}, u"cime:"_s},
        {u"RTFLabel37"_s, p1, {24, 752, 161, 25}, u"adószáma:"_s},
        {u"RTFLabel38"_s, p1, {24, 776, 161, 25}, u"adóazonositó jele:"_s},
        {u"RTFLabel39"_s, p1, {24, 804, 145, 25}, u"tulajdoni hányada:"_s},
        // Section II
        {u"RTFLabel3"_s, p2, {24, 32, 145, 25}, u"fekvési cime:"_s},
        {u"RTFLabel62"_s, p2, {24, 56, 185, 25}, u"helyrajzi száma:"_s},
        {u"RTFLabel63"_s, p2, {24, 80, 105, 25}, u"művelési ága:"_s},
        {u"RTFLabel9"_s, p2, {416, 80, 137, 25}, u"aranykorona értéke:"_s},
        {u"RTFLabel4"_s, p2, {24, 104, 577, 25},
         u"A telek belterületté minősitésének, illetőleg az épitési tilalom feloldásának időpontja (év):"_s},
        // Section III
        {u"RTFLabel2"_s, p3, {520, 32, 97, 25}, u"nm2"_s},
        {u"CtlRichLabel2"_s, p3, {24, 48, 401, 49},
         u"a. az ingatlannyilvántartásba bejegyzett földterület teljes területe:"_s},
        {u"CtlRichLabel3"_s, p3, {24, 88, 481, 25}, u"b. épület és épületnek nem minősülő épitmény alapterülete:"_s},
        {u"CtlRichLabel4"_s, p3, {24, 120, 481, 25}, u"c. beépitetlen belterületi földrészlet (a-b):"_s},
        {u"CtlRichLabel5"_s, p3, {24, 144, 481, 25}, u"d. épület által elfoglalt hasznos alapterület:"_s},
        {u"CtlRichLabel6"_s, p3, {24, 168, 425, 25},
         u"e. épületnek nem minősülő épitmény által lefedett földrészlet:"_s},
        {u"CtlRichLabel7"_s, p3, {24, 192, 473, 65},
         u"f: helyi és helyközi menetrend szerinti közlekedés szerinti közlekedési tevékenység céjára használt (a tv. 19.§.b. pontja szerinti) földrészlet:"_s},
        {u"CtlRichLabel8"_s, p3, {24, 248, 473, 25},
         u"g. védő (biztonsági) terület (tv. 19.§.e. pontja szerinti) földrészlet:"_s},
        {u"CtlRichLabel9"_s, p3, {24, 272, 473, 41},
         u"h. erdő művelési ágban nyilvántartott terület (tv. 19.§.f. pontja szerinti):"_s},
        {u"CtlRichLabel10"_s, p3, {24, 312, 473, 25},
         u"i. önkormányzati döntés alapján adómentes (Ör. 4.§.1., 2. pont):"_s},
        {u"CtlRichLabel11"_s, p3, {24, 336, 473, 25}, u"j. levonás összesen: (d-e-f-g-h-i)"_s},
        {u"CtlRichLabel12"_s, p3, {24, 368, 473, 25}, u"k. Adóalap: (c-j)"_s},
        {u"CtlRichLabel13"_s, p3, {24, 392, 473, 25}, u"fizetendő adó (k*209 Ft/nm/év):"_s},
        // Section EGYÉB
        {u"RTFLabel8"_s, p4, {24, 40, 289, 25}, u"Tulajdonba kerülés, illetve változás dátuma:"_s},
        {u"RTFLabel12"_s, p4, {24, 64, 185, 25}, u"Előző tulajdonos neve:"_s},
        {u"RTFLabel13"_s, p4, {24, 88, 153, 25}, u"Előző tulajdonos cime:"_s},
        {u"RTFLabel14"_s, p4, {24, 128, 177, 25}, u"Bevallás kitöltőjének neve:"_s},
        {u"RTFLabel15"_s, p4, {24, 152, 177, 25}, u"Telefonszáma:"_s},
        {u"RTFLabel16"_s, p4, {24, 176, 177, 25}, u"Megjegyzés:"_s},
    };
    return list;
}

const Placement *findPlacement(const QString &component)
{
    for (const Placement &p : form1Placements())
        if (p.component == component)
            return &p;
    return nullptr;
}

} // namespace app
