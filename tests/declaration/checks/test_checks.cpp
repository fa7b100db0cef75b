#include "declaration/catalogue.h"
#include "declaration/checks.h"
#include "declaration/formaccess.h"
#include "declaration/printfit.h"

#include <QTest>

#include <algorithm>

using namespace Qt::StringLiterals;

using namespace decl;

namespace {

const QDate today(2006, 6, 1);
const QStringList taxIdFields = {QStringLiteral("CtlMaskEdit8"), QStringLiteral("CtlMaskEdit4"),
                                 QStringLiteral("CtlMaskEdit7"), QStringLiteral("CtlMaskEdit10")};
// Whose the fields of the lists above are, in their order.
const QStringList blockNames = {u"adózó"_s, u"1. tulajdonostárs"_s, u"2. tulajdonostárs"_s, u"3. tulajdonostárs"_s};
const QStringList taxNumberFields = {QStringLiteral("CtlMaskEdit6"), QStringLiteral("CtlMaskEdit3"),
                                     QStringLiteral("CtlMaskEdit5"), QStringLiteral("CtlMaskEdit9")};

// The taxpayer named, with valid codes and both options chosen; the plot's year filled.
MapForm taxpayerOnly()
{
    MapForm form;
    form.setText(QStringLiteral("StyledEdit35"), u"Kovács Őrs"_s);
    form.setText(QStringLiteral("CtlMaskEdit6"), QStringLiteral("15789934-2-51"));
    form.setText(QStringLiteral("CtlMaskEdit8"), QStringLiteral("8365670003"));
    form.setItemIndex(QStringLiteral("CtlRadioGroup5"), 0);
    form.setItemIndex(QStringLiteral("CtlRadioGroup6"), 1);
    form.setText(QStringLiteral("StyledEdit2"), QStringLiteral("1998"));
    return form;
}

// A form with nothing to find: the taxpayer, one complete co-owner and two given by name only.
MapForm validForm()
{
    MapForm form = taxpayerOnly();
    form.setText(QStringLiteral("StyledEdit11"), QStringLiteral("Nagy Anna"));
    form.setText(QStringLiteral("StyledEdit23"), QStringLiteral("Nagy Béla"));
    form.setText(QStringLiteral("StyledEdit15"), u"Kovácsné Űrmös Ilona"_s);
    form.setText(QStringLiteral("StyledEdit16"), u"Hollóberény, Fő tér 2."_s);
    form.setText(QStringLiteral("CtlMaskEdit3"), QStringLiteral("30000010-1-01"));
    form.setText(QStringLiteral("CtlMaskEdit4"), QStringLiteral("8400000005"));
    form.setText(QStringLiteral("StyledEdit17"), QStringLiteral("1/2"));
    return form;
}

QStringList componentsOf(const QList<Finding> &findings)
{
    QStringList list;
    for (const Finding &f : findings)
        list.append(f.component);
    return list;
}

} // namespace

class TestChecks : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void validFormHasNoFindings()
    {
        QCOMPARE(checkForm(validForm(), today), QList<Finding>());
        QCOMPARE(checkForm(validForm()), QList<Finding>()); // today's date
    }

    void taxId_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("problem"); // part of the message, empty for none
        const QString malformed = u"tíz számjegyből áll"_s;
        const QString partial = u"hiányos"_s;
        const QString future = u"későbbi a mai napnál"_s;
        QTest::newRow("valid 8365670003") << QStringLiteral("8365670003") << QString();
        QTest::newRow("born today") << QStringLiteral("8509200009") << QString();
        QTest::newRow("born tomorrow") << QStringLiteral("8509210004") << future;
        QTest::newRow("born 2140") << QStringLiteral("8999990001") << future;
        QTest::newRow("born 1 January 1867") << QStringLiteral("8000000008") << QString();
        QTest::newRow("wrong check digit") << QStringLiteral("8365670004") << u"ellenőrző számjegy: 3."_s;
        QTest::newRow("remainder 10") << QStringLiteral("8365670020") << u"maradéka 10"_s;
        QTest::newRow("first digit 7") << QStringLiteral("7365670002") << u"első számjegye mindig 8"_s;
        QTest::newRow("wholly blank") << QStringLiteral("**********") << QString();
        QTest::newRow("blanked with spaces") << QStringLiteral("          ") << QString();
        QTest::newRow("empty text") << QString() << QString();
        QTest::newRow("partly filled") << QStringLiteral("836567****") << partial;
        QTest::newRow("space inside") << QStringLiteral("8365 70003") << partial;
        QTest::newRow("shorter than mask") << QStringLiteral("836567") << partial;
        QTest::newRow("one digit") << QStringLiteral("*********3") << partial;
        QTest::newRow("letters pasted") << QStringLiteral("83656abc03") << malformed;
        QTest::newRow("eleven digits") << QStringLiteral("83656700031") << malformed;
        QTest::newRow("hyphen") << QStringLiteral("8365-67000") << malformed;
        QTest::newRow("arabic-indic digits") << u"٨٣٦٥٦٧٠٠٠٣"_s << malformed;
        QTest::newRow("letters only") << QStringLiteral("abc") << malformed;
    }
    // The rule holds for each of the four fields and only for it.
    void taxId()
    {
        QFETCH(QString, text);
        QFETCH(QString, problem);
        QCOMPARE(taxIdProblem(text, today).isEmpty(), problem.isEmpty());
        QVERIFY2(taxIdProblem(text, today).contains(problem), qPrintable(taxIdProblem(text, today)));
        for (const QString &component : taxIdFields) {
            MapForm form = validForm();
            form.setText(component, text);
            const QList<Finding> found = checkForm(form, today);
            if (problem.isEmpty()) {
                QCOMPARE(found, QList<Finding>());
                continue;
            }
            QCOMPARE(found.size(), 1);
            QCOMPARE(found[0].component, component);
            QCOMPARE(found[0].caption, u"adóazonositó jele:"_s);
            QCOMPARE(found[0].section, u"I. AZ ADÓ ALANYA"_s);
            QCOMPARE(found[0].block, blockNames[taxIdFields.indexOf(component)]);
            QCOMPARE(found[0].message, taxIdProblem(text, today));
            QCOMPARE(findingsFor(component, form, today), found);
        }
    }

    void taxNumber_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("problem");
        const QString malformed = u"nyolc számjegy, kötőjel"_s;
        const QString partial = u"hiányos"_s;
        const QString vat = u"áfakód"_s;
        QTest::newRow("valid 15789934-2-51") << QStringLiteral("15789934-2-51") << QString();
        QTest::newRow("check digit 0") << QStringLiteral("30000010-1-01") << QString();
        QTest::newRow("VAT code 5") << QStringLiteral("15789934-5-51") << QString();
        QTest::newRow("wrong check digit") << QStringLiteral("15789935-2-51") << u"ellenőrző számjegy: 4."_s;
        QTest::newRow("VAT code 0") << QStringLiteral("15789934-0-51") << vat;
        QTest::newRow("VAT code 6") << QStringLiteral("15789934-6-51") << vat;
        QTest::newRow("wholly blank") << QStringLiteral("********-*-**") << QString();
        QTest::newRow("blanked with spaces") << QStringLiteral("        -*-  ") << QString();
        QTest::newRow("partly filled") << QStringLiteral("1578****-*-**") << partial;
        QTest::newRow("county missing") << QStringLiteral("15789934-2-5*") << partial;
        QTest::newRow("hyphens blanked") << QStringLiteral("15789934*2*51") << partial;
        QTest::newRow("shorter than mask") << QStringLiteral("15789934-2") << partial;
        QTest::newRow("without hyphens") << QStringLiteral("15789934251") << malformed;
        QTest::newRow("letters pasted") << QStringLiteral("ABCDEFGH-1-01") << malformed;
        QTest::newRow("too long") << QStringLiteral("15789934-2-511") << malformed;
    }
    void taxNumber()
    {
        QFETCH(QString, text);
        QFETCH(QString, problem);
        QCOMPARE(taxNumberProblem(text).isEmpty(), problem.isEmpty());
        QVERIFY2(taxNumberProblem(text).contains(problem), qPrintable(taxNumberProblem(text)));
        for (const QString &component : taxNumberFields) {
            MapForm form = validForm();
            form.setText(component, text);
            const QList<Finding> found = checkForm(form, today);
            if (problem.isEmpty()) {
                QCOMPARE(found, QList<Finding>());
                continue;
            }
            QCOMPARE(found.size(), 1);
            QCOMPARE(found[0].component, component);
            QCOMPARE(found[0].caption, u"adószáma:"_s);
            QCOMPARE(found[0].block, blockNames[taxNumberFields.indexOf(component)]);
            QCOMPARE(found[0].message, taxNumberProblem(text));
        }
    }

    void year_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ok");
        QTest::newRow("empty") << QString() << true;
        QTest::newRow("blanks") << QStringLiteral("   ") << true;
        QTest::newRow("1998") << QStringLiteral("1998") << true;
        QTest::newRow("2006") << QStringLiteral("2006") << true;
        QTest::newRow("1000") << QStringLiteral("1000") << true;
        QTest::newRow("blanks around") << QStringLiteral(" 1998 ") << true;
        QTest::newRow("2007") << QStringLiteral("2007") << false;
        QTest::newRow("two digits") << QStringLiteral("98") << false;
        QTest::newRow("five digits") << QStringLiteral("19980") << false;
        QTest::newRow("leading zero") << QStringLiteral("0998") << false;
        QTest::newRow("with a dot") << QStringLiteral("1998.") << false;
        QTest::newRow("negative") << QStringLiteral("-998") << false;
        QTest::newRow("words") << u"régen"_s << false;
        QTest::newRow("full-width digits") << u"１９９８"_s << false;
    }
    void year()
    {
        QFETCH(QString, text);
        QFETCH(bool, ok);
        MapForm form = validForm();
        form.setText(QStringLiteral("StyledEdit2"), text);
        const QList<Finding> found = checkForm(form, today);
        QCOMPARE(found.size(), ok ? 0 : 1);
        if (!ok) {
            QCOMPARE(found[0].component, QStringLiteral("StyledEdit2"));
            QCOMPARE(found[0].section, u"II. A BELTERÜLETI FÖLDRÉSZLET (TELEK)"_s);
            QVERIFY(found[0].caption.endsWith(u"időpontja (év):"_s));
        }
    }

    // The untouched form misses exactly the taxpayer's name and two options.
    void taxpayer_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("subject");
        QTest::addColumn<int>("use");
        QTest::addColumn<QStringList>("expected");
        const QString n = QStringLiteral("StyledEdit35");
        const QString g5 = QStringLiteral("CtlRadioGroup5");
        const QString g6 = QStringLiteral("CtlRadioGroup6");
        QTest::newRow("untouched") << QString() << -1 << -1 << QStringList{n, g5, g6};
        QTest::newRow("blank name") << QStringLiteral(" \t ") << 0 << 0 << QStringList{n};
        QTest::newRow("no subject") << QStringLiteral("Kiss") << -1 << 5 << QStringList{g5};
        QTest::newRow("no use") << QStringLiteral("Kiss") << 3 << -1 << QStringList{g6};
        QTest::newRow("index beyond items") << QStringLiteral("Kiss") << 4 << 6 << QStringList{g5, g6};
        QTest::newRow("all given") << QStringLiteral("Kiss") << 3 << 5 << QStringList();
    }
    void taxpayer()
    {
        QFETCH(QString, name);
        QFETCH(int, subject);
        QFETCH(int, use);
        QFETCH(QStringList, expected);
        MapForm form;
        form.setText(QStringLiteral("StyledEdit35"), name);
        form.setItemIndex(QStringLiteral("CtlRadioGroup5"), subject);
        form.setItemIndex(QStringLiteral("CtlRadioGroup6"), use);
        const QList<Finding> found = checkForm(form, today);
        QCOMPARE(componentsOf(found), expected);
        for (const Finding &f : found)
            if (f.component == u"CtlRadioGroup6")
                QCOMPARE(f.caption, u"Használat tipusa"_s);
    }

    void coOwnerBlock_data()
    {
        QTest::addColumn<QString>("component");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("missingName"); // empty when no finding
        QTest::newRow("1st: address") << QStringLiteral("StyledEdit16") << QStringLiteral("Pécs")
                                      << QStringLiteral("StyledEdit15");
        QTest::newRow("1st: tax id partly") << QStringLiteral("CtlMaskEdit4") << QStringLiteral("8*********")
                                            << QStringLiteral("StyledEdit15");
        QTest::newRow("2nd: tax number") << QStringLiteral("CtlMaskEdit5") << QStringLiteral("15789934-2-51")
                                         << QStringLiteral("StyledEdit11");
        QTest::newRow("2nd: share") << QStringLiteral("StyledEdit21") << QStringLiteral("1/3")
                                    << QStringLiteral("StyledEdit11");
        QTest::newRow("3rd: tax id") << QStringLiteral("CtlMaskEdit10") << QStringLiteral("8365670003")
                                     << QStringLiteral("StyledEdit23");
        QTest::newRow("3rd: share") << QStringLiteral("StyledEdit25") << QStringLiteral("1/3")
                                    << QStringLiteral("StyledEdit23");
        QTest::newRow("3rd: name alone") << QStringLiteral("StyledEdit23") << QStringLiteral("Kiss") << QString();
        QTest::newRow("blank address") << QStringLiteral("StyledEdit20") << QStringLiteral("   ") << QString();
        QTest::newRow("blank picture") << QStringLiteral("CtlMaskEdit9") << QStringLiteral("********-*-**")
                                       << QString();
        QTest::newRow("spaces in mask") << QStringLiteral("CtlMaskEdit7") << QStringLiteral("          ")
                                        << QString();
    }
    // A co-owner block with anything in it needs its name; the finding stands on the name.
    void coOwnerBlock()
    {
        QFETCH(QString, component);
        QFETCH(QString, text);
        QFETCH(QString, missingName);
        MapForm form = taxpayerOnly();
        form.setText(component, text);
        QStringList found = componentsOf(checkForm(form, today));
        found.removeAll(component); // a partly typed code is a finding of its own
        QCOMPARE(found, missingName.isEmpty() ? QStringList() : QStringList{missingName});
        if (!missingName.isEmpty()) {
            QVERIFY(dependentFields(component).contains(missingName));
            QCOMPARE(findingsFor(missingName, form, today).size(), 1);
            form.setText(missingName, QStringLiteral("Nagy"));
            QVERIFY(findingsFor(missingName, form, today).isEmpty());
        }
    }

    void dependentFieldsOfBlocks()
    {
        QCOMPARE(dependentFields(QStringLiteral("CtlMaskEdit7")),
                 (QStringList{QStringLiteral("CtlMaskEdit7"), QStringLiteral("StyledEdit11")}));
        QCOMPARE(dependentFields(QStringLiteral("StyledEdit11")), QStringList{QStringLiteral("StyledEdit11")});
        QCOMPARE(dependentFields(QStringLiteral("CtlMaskEdit8")), QStringList{QStringLiteral("CtlMaskEdit8")});
        // The blocks are the catalogue's rows of section I from tab 8 on, five to a block.
        for (const Field &f : fields()) {
            if (f.section != 0 || f.tab < 8)
                continue;
            const int first = 8 + (f.tab - 8) / 5 * 5;
            const auto name = std::find_if(fields().cbegin(), fields().cend(),
                                           [&](const Field &g) { return g.section == 0 && g.tab == first; });
            QCOMPARE(name->screenCaption, QStringLiteral("neve:"));
            QVERIFY2(dependentFields(f.component).contains(name->component), qPrintable(f.component));
        }
    }

    // Section by section, then in tab order; each finding as findingsFor gives it.
    void formOrder()
    {
        MapForm form = validForm();
        form.setText(QStringLiteral("StyledEdit2"), QStringLiteral("2010"));
        form.setText(QStringLiteral("CtlMaskEdit10"), QStringLiteral("8365670004"));
        form.setText(QStringLiteral("StyledEdit11"), QString());
        form.setText(QStringLiteral("StyledEdit20"), QStringLiteral("Pécs"));
        form.setText(QStringLiteral("CtlMaskEdit6"), QStringLiteral("1578****-*-**"));
        form.setText(QStringLiteral("StyledEdit35"), QString());
        form.setItemIndex(QStringLiteral("CtlRadioGroup6"), -1);
        const QList<Finding> found = checkForm(form, today);
        QCOMPARE(componentsOf(found),
                 (QStringList{QStringLiteral("StyledEdit35"), QStringLiteral("CtlMaskEdit6"),
                              QStringLiteral("CtlRadioGroup6"), QStringLiteral("StyledEdit11"),
                              QStringLiteral("CtlMaskEdit10"), QStringLiteral("StyledEdit2")}));
        QCOMPARE(found[0].caption, QStringLiteral("neve:"));
        QCOMPARE(found[0].section, u"I. AZ ADÓ ALANYA"_s);
        QVERIFY(!found[0].message.isEmpty());
        for (const Finding &f : found)
            QCOMPARE(findingsFor(f.component, form, today), QList<Finding>{f});
    }

    // The blocks repeat their captions: a list names whose field it is.
    void fieldLabels_data()
    {
        QTest::addColumn<QString>("component");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("label");
        QTest::newRow("taxpayer's id") << QStringLiteral("CtlMaskEdit8") << QStringLiteral("8365670004")
                                       << u"adóazonositó jele (adózó)"_s;
        QTest::newRow("taxpayer's name") << QStringLiteral("StyledEdit35") << QString() << u"neve (adózó)"_s;
        QTest::newRow("2nd co-owner's tax number")
            << QStringLiteral("CtlMaskEdit5") << QStringLiteral("1578****-*-**") << u"adószáma (2. tulajdonostárs)"_s;
        QTest::newRow("3rd co-owner's name") << QStringLiteral("StyledEdit25") << QStringLiteral("1/3")
                                             << u"neve (3. tulajdonostárs)"_s;
        QTest::newRow("year") << QStringLiteral("StyledEdit2") << QStringLiteral("2007")
                              << u"A telek belterületté minősitésének, illetőleg az épitési tilalom feloldásának "
                                 u"időpontja (év)"_s;
    }
    void fieldLabels()
    {
        QFETCH(QString, component);
        QFETCH(QString, text);
        QFETCH(QString, label);
        MapForm form = validForm();
        form.setText(QStringLiteral("StyledEdit23"), QString());
        form.setText(component, text);
        const QList<Finding> found = checkForm(form, today);
        QCOMPARE(found.size(), 1);
        QCOMPARE(fieldLabel(found[0]), label);
        MapForm untouched;
        QCOMPARE(fieldLabel(checkForm(untouched, today).at(1)), u"Az adó alanya"_s);
    }

    // A value one character under, at and over what its box holds on paper: only over is a
    // finding, and it says how much of the value shows.
    void fitBoundary_data()
    {
        QTest::addColumn<QString>("component");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("prefix");
        QTest::addColumn<QChar>("fill");
        QTest::newRow("one-line name") << QStringLiteral("StyledEdit35") << QStringLiteral("m1") << QString()
                                       << QChar(u'ő');
        QTest::newRow("remark, last line") << QStringLiteral("RichEdit1") << QStringLiteral("m44")
                                           << u"Első sor\r\n"_s.repeated(7) << QChar(u'W');
    }
    void fitBoundary()
    {
        QFETCH(QString, component);
        QFETCH(QString, key);
        QFETCH(QString, prefix);
        QFETCH(QChar, fill);
        auto value = [&](int n) { return prefix + QString(n, fill); };
        int at = 0;
        while (printFit(key, value(at + 1)).value().whole)
            ++at;
        QVERIFY(at > 10);
        const qsizetype prefixChars = prefix.size() - prefix.count(u'\r') - prefix.count(u'\n');
        for (const int n : {at - 1, at, at + 1}) {
            MapForm form = validForm();
            form.setText(component, value(n));
            const QList<Finding> found = findingsFor(component, form, today);
            if (n <= at) {
                QVERIFY2(found.isEmpty(), qPrintable(QString::number(n)));
                QVERIFY(checkForm(form, today).isEmpty());
                continue;
            }
            QCOMPARE(found.size(), 1);
            QCOMPARE(found[0].component, component);
            QVERIFY2(found[0].message.contains(u"a(z) %1 karakterből csak %2 látszik"_s.arg(prefixChars + n)
                                                   .arg(prefixChars + at)),
                     qPrintable(found[0].message));
            QCOMPARE(checkForm(form, today), found);
        }
    }

    // A value of any size is measured only as far as its box reaches.
    void fitOfHugeValues_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::addColumn<qsizetype>("total");
        QTest::newRow("50 million characters") << QStringLiteral("m1") << QString(50'000'000, u'x')
                                               << qsizetype(50'000'000);
        QTest::newRow("10,000 remark lines") << QStringLiteral("m44") << u"sor\r\n"_s.repeated(10000)
                                             << qsizetype(30000);
    }
    void fitOfHugeValues()
    {
        QFETCH(QString, key);
        QFETCH(QString, value);
        QFETCH(qsizetype, total);
        const std::optional<PrintFit> fit = printFit(key, value);
        QVERIFY(fit);
        QVERIFY(!fit->whole);
        QCOMPARE(fit->total, total);
        QVERIFY(fit->shown > 0 && fit->shown < 1000);
    }

    void anyText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << QString();
        QTest::newRow("letters") << u"árvíztűrő tükörfúrógép ŐŰ"_s;
        QTest::newRow("digits") << QStringLiteral("12345678901234567890");
        QTest::newRow("mask-like") << QStringLiteral("8**-*-*8-*-*8-");
        QTest::newRow("controls") << QStringLiteral("\0\t\r\n\x7f");
        QTest::newRow("lone surrogate") << QString(QChar(0xD800)) + QStringLiteral("123");
        QTest::newRow("very long") << QString(200000, u'9');
    }
    // Any text in every field at once: the checks give their findings, the same one by one.
    void anyText()
    {
        QFETCH(QString, text);
        MapForm form;
        for (const Field &f : fields())
            form.setText(f.component, text);
        const QList<Finding> all = checkForm(form, today);
        QList<Finding> oneByOne;
        for (const Field &f : fields())
            oneByOne += findingsFor(f.component, form, today);
        for (const RadioGroup &g : radioGroups())
            oneByOne += findingsFor(g.component, form, today);
        QCOMPARE(all.size(), oneByOne.size());
        for (const Finding &f : all) {
            QVERIFY(oneByOne.contains(f));
            QVERIFY(!f.message.isEmpty());
        }
        QVERIFY(findingsFor(QStringLiteral("NoSuchField"), form, today).isEmpty());
    }
};

// A GUI application: whether a value fits is measured with the fonts.
QTEST_MAIN(TestChecks)
#include "test_checks.moc"
