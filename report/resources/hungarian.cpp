#include "hungarian_p.h"
#include "report/resources/resources.h"

namespace rep {

namespace {

QString windowLines(std::initializer_list<const char16_t *> lines)
{
    QStringList result;
    for (const char16_t *line : lines)
        result.append(QString::fromUtf16(line));
    return result.join(QStringLiteral("\r\n"));
}

// The program's Hungarian texts, in the order they enter the table.
const QList<std::pair<QString, QString>> &hungarianEntries()
{
    static const QList<std::pair<QString, QString>> entries = [] {
        QList<std::pair<QString, QString>> r;
        auto add = [&r](const char *key, const char16_t *text) {
            r.append({QString::fromLatin1(key), QString::fromUtf16(text)});
        };

        r.append({QStringLiteral("TrepPreviewForm"), windowLines({
            u"Caption=Előkép",
            u"PrintB.Caption=Nyomtat", u"PrintB.Hint=Nyomtat",
            u"PdfB.Caption=PDF", u"PdfB.Hint=PDF",
            u"OpenB.Caption=Megnyit", u"OpenB.Hint=Megnyit",
            u"SaveB.Caption=Ment", u"SaveB.Hint=Ment",
            u"ExportB.Caption=Exportál", u"ExportB.Hint=Exportál",
            u"FindB.Caption=Keres", u"FindB.Hint=Keres",
            u"ZoomWholePageB.Caption=Teljes oldal", u"ZoomWholePageB.Hint=Teljes oldal",
            u"ZoomPageWidthB.Caption=Oldalszélesség", u"ZoomPageWidthB.Hint=Oldalszélesség",
            u"Zoom100B.Caption=100%", u"Zoom100B.Hint=100%",
            u"Zoom50B.Caption=Két oldal", u"Zoom50B.Hint=Két oldal",
            u"ZoomCB.Hint=Nagyít",
            u"PageSettingsB.Caption=Margók", u"PageSettingsB.Hint=Margók",
            u"OutlineB.Caption=Körvonal", u"OutlineB.Hint=Körvonal",
            u"HandToolB.Caption=Húz", u"HandToolB.Hint=Húzó eszköz",
            u"ZoomToolB.Caption=Nagyít", u"ZoomToolB.Hint=Nagyító",
            u"NewPageB.Caption=Lapot hozzáad", u"NewPageB.Hint=Lapot hozzáad",
            u"DelPageB.Caption=Töröl", u"DelPageB.Hint=Lapot törli",
            u"DesignerB.Caption=Szerkeszt", u"DesignerB.Hint=Lapot szerkeszt",
            u"FirstB.Caption=Első", u"FirstB.Hint=Első oldal",
            u"PriorB.Caption=Előző", u"PriorB.Hint=Előző oldal",
            u"NextB.Caption=Következő", u"NextB.Hint=Következő oldal",
            u"LastB.Caption=Utolsó", u"LastB.Hint=Utolsó oldal",
            u"CancelB.Caption=Bezár",
            u"PageE.Hint=Oldalszám",
        })});
        add("zmPageWidth", u"Oldal széles");
        add("zmWholePage", u"Teljes oldal");
        r.append({QStringLiteral("TrepPrintDialog"), windowLines({
            u"Caption=Nyomtat",
            u"Label12.Caption=Nyomtató  ",
            u"DescrL.Caption=Adjon meg oldalszámokat vagy tartományokat, vesszővel elválasztva. Például 1,3,5-12",
            u"Label1.Caption=Oldalak ",
            u"CopiesL.Caption=Másolatok száma",
            u"CollateL.Caption=Gyűjt",
            u"Label2.Caption=Másolatok",
            u"PrintL.Caption=Nyomtat",
            u"TypeL.Caption=Típus:",
            u"WhereL.Caption=Hol:",
            u"OkB.Caption=OK",
            u"CancelB.Caption=Mégsem",
            u"PropButton.Caption=Tulajdonságok...",
            u"AllRB.Caption=Mind",
            u"CurPageRB.Caption=Jelenlegi oldal",
            u"PageNumbersRB.Caption=Oldalak:",
            u"FileCB.Caption=Fájlba nyomtat",
            u"ReverseCB.Caption=Fordított sorrendben",
        })});
        add("ppAll", u"Minden oldal");
        add("ppOdd", u"Páratlan oldalak");
        add("ppEven", u"Páros oldalak");
        r.append({QStringLiteral("TrepSearchDialog"), windowLines({
            u"Caption=Szövegkereső",
            u"TextL.Caption=Keresendő szöveg:",
            u"SearchL.Caption=Keresési opciók  ",
            u"ReplaceL.Caption=Replace with",
            u"TopCB.Caption=Elölről keres",
            u"CaseCB.Caption=Kis-, nagybetűérzékenyen",
            u"OkB.Caption=OK",
            u"CancelB.Caption=Mégsem",
        })});
        // The program never opens these two windows; their entries exist without lines.
        add("TrepPageSettingsForm", u"");
        add("TrepDMPExportDialog", u"");
        add("mbConfirm", u"Megerősít");
        add("mbError", u"Hiba");
        add("mbInfo", u"Információ");
        add("xrCantFindClass", u"Nem találom az osztályt");
        add("prVirtual", u"Virtuális");
        add("prDefault", u"Alapértelmezett");
        add("prCustom", u"Egyéni");
        add("enUnconnHeader", u"Független fej-, lábléc");
        add("enUnconnGroup", u"A csoportnak nincs adatsávja");
        add("enUnconnGFooter", u"Nincs fejléc ");
        add("enBandPos", u"Hibás sávpozició:");
        add("dbNotConn", u"%s DataSet nincs adathoz csatlakoztatva");
        add("dbFldNotFound", u"Nincs ilyen mező:");
        add("clDSNotIncl", u"(adatkészlet nincs a Report.DataSets-ben)");
        add("clUnknownVar", u"Ismeretlen mező vagy változó:");
        add("clScrError", u"Script hiba %s: %s-nél");
        add("clDSNotExist", u"A(z) \"%s\" DataSet nem létezik");
        add("clErrors", u"A következő hiba történt:");
        add("clExprError", u"Hiba a kifejezésben");
        add("clPRPfiles", u"Előkészített riport");
        add("clSaving", u"Fájl mentése...");
        add("clCancel", u"Mégsem");
        add("clClose", u"Bezár");
        add("clPrinting", u"Oldal nyomtatása");
        add("clLoading", u"Fájl betöltése...");
        add("clPageOf", u"%d. oldal %d oldalból");
        add("clFirstPass", u"Első menet: oldal ");
        add("clNoPrinters", u"Nincs nyomtató telepítve");
        add("clDecompressError", u"Stream kitömörítés hiba");
        add("crFillMx", u"Kereszttábla kitöltése...");
        add("crBuildMx", u"Kereszttábla felépítése...");
        return r;
    }();
    return entries;
}

// The engine's own messages, which the start-up table does not list.
const QList<std::pair<QString, QString>> &hungarianMessages()
{
    static const QList<std::pair<QString, QString>> messages = {
        {QStringLiteral("clScrUnsupported"), QStringLiteral("Nem támogatott utasítás")},
        {QStringLiteral("clScrUnknownVar"), QStringLiteral("Ismeretlen változó: '%s'")},
        {QStringLiteral("clScrBadExpr"), QStringLiteral("Nem értelmezhető kifejezés")},
        {QStringLiteral("clCannotSave"), QStringLiteral("A fájl nem menthető: %s\r\n%s")},
        {QStringLiteral("prNotAvailable"), QStringLiteral("A(z) \"%s\" nyomtató nem érhető el")},
    };
    return messages;
}

const QString *findText(const QList<std::pair<QString, QString>> &list, const QString &key)
{
    for (const auto &[k, text] : list)
        if (k.compare(key, Qt::CaseInsensitive) == 0)
            return &text;
    return nullptr;
}

} // namespace

void fillHungarianResources()
{
    TrepResources &r = TrepResources::instance();
    for (const auto &[key, text] : hungarianEntries())
        r.add(key, text);
}

QString hungarianText(const QString &key)
{
    if (const QString *text = findText(hungarianEntries(), key))
        return *text;
    return hungarianMessage(key);
}

QString hungarianMessage(const QString &key)
{
    const QString *text = findText(hungarianMessages(), key);
    return text ? *text : key;
}

} // namespace rep
