#include "report/preview/previewtexts.h"

#include <QHash>

namespace rep {

namespace {

QString joinLines(std::initializer_list<const char16_t *> lines)
{
    QString text;
    for (const char16_t *line : lines) {
        if (!text.isEmpty())
            text += QStringLiteral("\r\n");
        text += QString::fromUtf16(line);
    }
    return text;
}

const QHash<QString, QString> &fallbackTable()
{
    static const QHash<QString, QString> table = [] {
        QHash<QString, QString> t;
        t.insert(QStringLiteral("TrepPreviewForm"),
                 joinLines({u"Caption=Előkép", u"PrintB.Caption=Nyomtat", u"PrintB.Hint=Nyomtat",
                            u"OpenB.Caption=Megnyit", u"OpenB.Hint=Megnyit", u"SaveB.Caption=Ment",
                            u"SaveB.Hint=Ment", u"ExportB.Caption=Exportál", u"ExportB.Hint=Exportál",
                            u"FindB.Caption=Keres", u"FindB.Hint=Keres",
                            u"ZoomWholePageB.Caption=Teljes oldal", u"ZoomWholePageB.Hint=Teljes oldal",
                            u"ZoomPageWidthB.Caption=Oldalszélesség",
                            u"ZoomPageWidthB.Hint=Oldalszélesség", u"Zoom100B.Caption=100%",
                            u"Zoom100B.Hint=100%", u"Zoom50B.Caption=Két oldal", u"Zoom50B.Hint=Két oldal",
                            u"ZoomCB.Hint=Nagyít", u"PageSettingsB.Caption=Margók",
                            u"PageSettingsB.Hint=Margók", u"OutlineB.Caption=Körvonal",
                            u"OutlineB.Hint=Körvonal", u"HandToolB.Caption=Húz",
                            u"HandToolB.Hint=Húzó eszköz", u"ZoomToolB.Caption=Nagyít",
                            u"ZoomToolB.Hint=Nagyító", u"NewPageB.Caption=Lapot hozzáad",
                            u"NewPageB.Hint=Lapot hozzáad", u"DelPageB.Caption=Töröl",
                            u"DelPageB.Hint=Lapot törli", u"DesignerB.Caption=Szerkeszt",
                            u"DesignerB.Hint=Lapot szerkeszt", u"FirstB.Caption=Első",
                            u"FirstB.Hint=Első oldal", u"PriorB.Caption=Előző", u"PriorB.Hint=Előző oldal",
                            u"NextB.Caption=Következő", u"NextB.Hint=Következő oldal",
                            u"LastB.Caption=Utolsó", u"LastB.Hint=Utolsó oldal", u"CancelB.Caption=Bezár",
                            u"PageE.Hint=Oldalszám"}));
        t.insert(QStringLiteral("TrepSearchDialog"),
                 joinLines({u"Caption=Szövegkereső", u"TextL.Caption=Keresendő szöveg:",
                            u"SearchL.Caption=Keresési opciók  ", u"ReplaceL.Caption=Replace with",
                            u"TopCB.Caption=Elölről keres", u"CaseCB.Caption=Kis-, nagybetűérzékenyen",
                            u"OkB.Caption=OK", u"CancelB.Caption=Mégsem"}));
        const std::pair<const char *, const char16_t *> messages[] = {
            {"zmPageWidth", u"Oldal széles"},
            {"zmWholePage", u"Teljes oldal"},
            {"mbError", u"Hiba"},
            {"clPRPfiles", u"Előkészített riport"},
            {"clSaving", u"Fájl mentése..."},
            {"clCancel", u"Mégsem"},
            {"clClose", u"Bezár"},
            {"clPrinting", u"Oldal nyomtatása"},
            {"clPageOf", u"%d. oldal %d oldalból"},
            {"clFirstPass", u"Első menet: oldal "},
            {"clNoPrinters", u"Nincs nyomtató telepítve"},
        };
        for (const auto &[key, text] : messages)
            t.insert(QString::fromLatin1(key), QString::fromUtf16(text));
        return t;
    }();
    return table;
}

} // namespace

QString previewFallbackText(const QString &key)
{
    return fallbackTable().value(key, key);
}

TextLookup effectiveLookup(TextLookup lookup)
{
    if (lookup)
        return lookup;
    return [](const QString &key) { return previewFallbackText(key); };
}

QString formatNumbers(const QString &format, const QList<int> &numbers)
{
    QString out;
    qsizetype next = 0;
    for (qsizetype i = 0; i < format.size(); ++i) {
        if (format.at(i) == QLatin1Char('%') && i + 1 < format.size()
            && format.at(i + 1) == QLatin1Char('d') && next < numbers.size()) {
            out += QString::number(numbers.at(next++));
            ++i;
        } else {
            out += format.at(i);
        }
    }
    return out;
}

QString changeFileExt(const QString &fileName, const QString &extension)
{
    qsizetype dot = -1;
    for (qsizetype i = fileName.size() - 1; i >= 0; --i) {
        const QChar c = fileName.at(i);
        if (c == QLatin1Char('/') || c == QLatin1Char('\\'))
            break;
        if (c == QLatin1Char('.')) {
            dot = i;
            break;
        }
    }
    return (dot < 0 ? fileName : fileName.left(dot)) + extension;
}

} // namespace rep
