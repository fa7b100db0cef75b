#include "app/form1layout.h"

namespace app {

namespace {
QString s(const char16_t *text) { return QString::fromUtf16(text); }
} // namespace

const QList<Placement> &form1Placements()
{
    const QString p0 = s(u"StyledPanel1");
    const QString p1 = s(u"StyledToolPanel1");
    const QString p2 = s(u"StyledToolPanel5");
    const QString p3 = s(u"StyledToolPanel4");
    const QString p4 = s(u"StyledToolPanel2");
    static const QList<Placement> list = {
        {p0, QString(), {8, 13, 761, 1825}},
        {p1, p0, {24, 80, 721, 841}},
        {p2, p0, {24, 936, 721, 137}},
        {p3, p0, {24, 1088, 721, 433}},
        {p4, p0, {24, 1536, 721, 265}},
        {s(u"NumEdit9"), p0, {368, 48, 0, 21}},
        // Section I
        {s(u"StyledEdit35"), p1, {152, 28, 521, 21}},
        {s(u"StyledEdit36"), p1, {152, 52, 521, 21}},
        {s(u"CtlMaskEdit6"), p1, {152, 80, 177, 21}},
        {s(u"CtlMaskEdit8"), p1, {152, 104, 177, 21}},
        {s(u"StyledEdit3"), p1, {152, 132, 177, 21}},
        {s(u"StyledEdit5"), p1, {496, 132, 177, 21}},
        {s(u"CtlRadioGroup1"), p1, {24, 160, 289, 65}},
        {s(u"CtlRadioGroup5"), p1, {24, 232, 649, 81}},
        {s(u"CtlRadioGroup6"), p1, {24, 320, 473, 57}},
        {s(u"StyledEdit15"), p1, {152, 412, 521, 21}},
        {s(u"StyledEdit16"), p1, {152, 436, 521, 21}},
        {s(u"CtlMaskEdit3"), p1, {152, 464, 177, 21}},
        {s(u"CtlMaskEdit4"), p1, {152, 488, 177, 21}},
        {s(u"StyledEdit17"), p1, {152, 516, 177, 21}},
        {s(u"StyledEdit11"), p1, {152, 556, 521, 21}},
        {s(u"StyledEdit20"), p1, {152, 580, 521, 21}},
        {s(u"CtlMaskEdit5"), p1, {152, 608, 177, 21}},
        {s(u"CtlMaskEdit7"), p1, {152, 632, 177, 21}},
        {s(u"StyledEdit21"), p1, {152, 660, 177, 21}},
        {s(u"StyledEdit23"), p1, {152, 700, 521, 21}},
        {s(u"StyledEdit24"), p1, {152, 724, 521, 21}},
        {s(u"CtlMaskEdit9"), p1, {152, 752, 177, 21}},
        {s(u"CtlMaskEdit10"), p1, {152, 776, 177, 21}},
        {s(u"StyledEdit25"), p1, {152, 804, 177, 21}},
        // Section II
        {s(u"StyledEdit1"), p2, {144, 28, 529, 21}},
        {s(u"StyledEdit4"), p2, {144, 52, 121, 21}},
        {s(u"StyledEdit40"), p2, {144, 76, 249, 21}},
        {s(u"StyledEdit6"), p2, {552, 76, 121, 21}},
        {s(u"StyledEdit2"), p2, {600, 100, 73, 21}},
        // Section III
        {s(u"NumEdit1"), p3, {520, 64, 100, 24}},
        {s(u"NumEdit2"), p3, {520, 88, 100, 24}},
        {s(u"Label1"), p3, {608, 120, 9, 19}},
        {s(u"NumEdit3"), p3, {520, 144, 100, 24}},
        {s(u"NumEdit4"), p3, {520, 168, 100, 24}},
        {s(u"NumEdit5"), p3, {520, 224, 100, 24}},
        {s(u"NumEdit6"), p3, {520, 248, 100, 24}},
        {s(u"NumEdit7"), p3, {520, 288, 100, 24}},
        {s(u"NumEdit8"), p3, {520, 312, 100, 24}},
        {s(u"Label2"), p3, {608, 342, 9, 19}},
        {s(u"Label3"), p3, {608, 374, 9, 19}},
        {s(u"Label4"), p3, {608, 398, 9, 19}},
        // Section EGYÉB
        {s(u"StyledEdit7"), p4, {312, 36, 185, 21}},
        {s(u"StyledEdit8"), p4, {184, 60, 489, 21}},
        {s(u"StyledEdit9"), p4, {184, 84, 489, 21}},
        {s(u"StyledEdit10"), p4, {200, 124, 473, 21}},
        {s(u"StyledEdit12"), p4, {200, 148, 473, 21}},
        {s(u"RichEdit1"), p4, {200, 176, 473, 73}},
    };
    return list;
}

const QList<CaptionPlacement> &form1Captions()
{
    const QString p0 = s(u"StyledPanel1");
    const QString p1 = s(u"StyledToolPanel1");
    const QString p2 = s(u"StyledToolPanel5");
    const QString p3 = s(u"StyledToolPanel4");
    const QString p4 = s(u"StyledToolPanel2");
    static const QList<CaptionPlacement> list = {
        {s(u"RTFLabel1"), p0, {24, 16, 721, 73},
         s(u"BEVALLÁS 2006 évi telekadó, a telek nm alapján történő adó megállapitásához a helyi adókról szóló 1990. évi C. törvény alapján.")},
        // Section I
        {s(u"RTFLabel56"), p1, {24, 32, 193, 25}, s(u"neve:")},
        {s(u"RTFLabel57"), p1, {24, 56, 145, 25}, s(u"cime:")},
        {s(u"RTFLabel5"), p1, {24, 80, 161, 25}, s(u"adószáma:")},
        {s(u"RTFLabel61"), p1, {24, 104, 161, 25}, s(u"adóazonositó jele:")},
        {s(u"RTFLabel6"), p1, {24, 132, 145, 25}, s(u"tulajdoni hányada:")},
        {s(u"RTFLabel10"), p1, {360, 132, 137, 25}, s(u"vagyoni értékű joga:")},
        {s(u"CtlRichLabel1"), p1, {24, 384, 545, 25},
         s(u"Az ingatlan nyilvántartásba bejegyzett további tulajdonostárs(ak):")},
        {s(u"RTFLabel11"), p1, {24, 416, 193, 25}, s(u"neve:")},
        {s(u"RTFLabel26"), p1, {24, 440, 145, 25}, s(u"cime:")},
        {s(u"RTFLabel27"), p1, {24, 464, 161, 25}, s(u"adószáma:")},
        {s(u"RTFLabel28"), p1, {24, 488, 161, 25}, s(u"adóazonositó jele:")},
        {s(u"RTFLabel29"), p1, {24, 516, 145, 25}, s(u"tulajdoni hányada:")},
        {s(u"RTFLabel7"), p1, {24, 560, 193, 25}, s(u"neve:")},
        {s(u"RTFLabel31"), p1, {24, 584, 145, 25}, s(u"cime:")},
        {s(u"RTFLabel32"), p1, {24, 608, 161, 25}, s(u"adószáma:")},
        {s(u"RTFLabel33"), p1, {24, 632, 161, 25}, s(u"adóazonositó jele:")},
        {s(u"RTFLabel34"), p1, {24, 660, 145, 25}, s(u"tulajdoni hányada:")},
        {s(u"RTFLabel35"), p1, {24, 704, 193, 25}, s(u"neve:")},
        {s(u"RTFLabel36"), p1, {24, 728, 145, 25}, s(u"cime:")},
        {s(u"RTFLabel37"), p1, {24, 752, 161, 25}, s(u"adószáma:")},
        {s(u"RTFLabel38"), p1, {24, 776, 161, 25}, s(u"adóazonositó jele:")},
        {s(u"RTFLabel39"), p1, {24, 804, 145, 25}, s(u"tulajdoni hányada:")},
        // Section II
        {s(u"RTFLabel3"), p2, {24, 32, 145, 25}, s(u"fekvési cime:")},
        {s(u"RTFLabel62"), p2, {24, 56, 185, 25}, s(u"helyrajzi száma:")},
        {s(u"RTFLabel63"), p2, {24, 80, 105, 25}, s(u"művelési ága:")},
        {s(u"RTFLabel9"), p2, {416, 80, 137, 25}, s(u"aranykorona értéke:")},
        {s(u"RTFLabel4"), p2, {24, 104, 577, 25},
         s(u"A telek belterületté minősitésének, illetőleg az épitési tilalom feloldásának időpontja (év):")},
        // Section III
        {s(u"RTFLabel2"), p3, {520, 32, 97, 25}, s(u"nm2")},
        {s(u"CtlRichLabel2"), p3, {24, 48, 401, 49},
         s(u"a. az ingatlannyilvántartásba bejegyzett földterület teljes területe:")},
        {s(u"CtlRichLabel3"), p3, {24, 88, 481, 25}, s(u"b. épület és épületnek nem minősülő épitmény alapterülete:")},
        {s(u"CtlRichLabel4"), p3, {24, 120, 481, 25}, s(u"c. beépitetlen belterületi földrészlet (a-b):")},
        {s(u"CtlRichLabel5"), p3, {24, 144, 481, 25}, s(u"d. épület által elfoglalt hasznos alapterület:")},
        {s(u"CtlRichLabel6"), p3, {24, 168, 425, 25},
         s(u"e. épületnek nem minősülő épitmény által lefedett földrészlet:")},
        {s(u"CtlRichLabel7"), p3, {24, 192, 473, 65},
         s(u"f: helyi és helyközi menetrend szerinti közlekedés szerinti közlekedési tevékenység céjára használt (a tv. 19.§.b. pontja szerinti) földrészlet:")},
        {s(u"CtlRichLabel8"), p3, {24, 248, 473, 25},
         s(u"g. védő (biztonsági) terület (tv. 19.§.e. pontja szerinti) földrészlet:")},
        {s(u"CtlRichLabel9"), p3, {24, 272, 473, 41},
         s(u"h. erdő művelési ágban nyilvántartott terület (tv. 19.§.f. pontja szerinti):")},
        {s(u"CtlRichLabel10"), p3, {24, 312, 473, 25},
         s(u"i. önkormányzati döntés alapján adómentes (Ör. 4.§.1., 2. pont):")},
        {s(u"CtlRichLabel11"), p3, {24, 336, 473, 25}, s(u"j. levonás összesen: (d-e-f-g-h-i)")},
        {s(u"CtlRichLabel12"), p3, {24, 368, 473, 25}, s(u"k. Adóalap: (c-j)")},
        {s(u"CtlRichLabel13"), p3, {24, 392, 473, 25}, s(u"fizetendő adó (k*209 Ft/nm/év):")},
        // Section EGYÉB
        {s(u"RTFLabel8"), p4, {24, 40, 289, 25}, s(u"Tulajdonba kerülés, illetve változás dátuma:")},
        {s(u"RTFLabel12"), p4, {24, 64, 185, 25}, s(u"Előző tulajdonos neve:")},
        {s(u"RTFLabel13"), p4, {24, 88, 153, 25}, s(u"Előző tulajdonos cime:")},
        {s(u"RTFLabel14"), p4, {24, 128, 177, 25}, s(u"Bevallás kitöltőjének neve:")},
        {s(u"RTFLabel15"), p4, {24, 152, 177, 25}, s(u"Telefonszáma:")},
        {s(u"RTFLabel16"), p4, {24, 176, 177, 25}, s(u"Megjegyzés:")},
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
