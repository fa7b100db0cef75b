#include "declaration/catalogue.h"
#include "declaration/checks.h"
#include "declaration/declarationcode.h"
#include "declaration/formaccess.h"
#include "declaration/taxcomputation.h"
#include "tests/testhelpers.h"

#include <QTest>

using namespace decl;
using namespace Qt::StringLiterals;

namespace {

// The taxpayer, the plot and the areas: a declaration as most are.
MapForm usualForm()
{
    MapForm form;
    form.setText(u"StyledEdit35"_s, u"Kovács Őrs Tűzkő"_s);
    form.setText(u"StyledEdit36"_s, u"Hollóberény, Fő tér 2."_s);
    form.setText(u"CtlMaskEdit6"_s, u"15789934-2-51"_s);
    form.setText(u"CtlMaskEdit8"_s, u"8365670003"_s);
    form.setText(u"RichEdit1"_s, u"első sor\r\nŐŰ második sor"_s);
    form.setItemIndex(u"CtlRadioGroup5"_s, 2);
    form.setItemIndex(u"CtlRadioGroup6"_s, 4);
    form.setText(u"NumEdit1"_s, u"1500"_s);
    form.setText(u"NumEdit2"_s, u"300"_s);
    return form;
}

// Every text field as long as a clerk would ever type it.
MapForm fullForm()
{
    MapForm form = usualForm();
    for (const Field &f : fields())
        if (f.kind == FieldKind::TextEdit)
            form.setText(f.component, u"Árvíztűrő Tükörfúrógép Kft. %1"_s.arg(f.component));
    return form;
}

QString taxOf(const MapForm &form)
{
    MapForm computed = form;
    szamolas(computed);
    return computed.caption(u"Label4"_s);
}

} // namespace

class TestDeclarationCode : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { tk::test::useSeparators(u','); }

    // RFC 9285's examples, and texts that are not Base45.
    void base45()
    {
        QCOMPARE(toBase45("AB"), u"BB8"_s);
        QCOMPARE(toBase45("Hello!!"), u"%69 VD92EX0"_s);
        QCOMPARE(toBase45("base-45"), u"UJCLQE7W581"_s);
        QCOMPARE(fromBase45(u"QED8WEX0"), QByteArray("ietf!"));
        QCOMPARE(fromBase45(u""), QByteArray());
        QVERIFY(!fromBase45(u"GGW"));  // 65536: more than two bytes
        QVERIFY(!fromBase45(u"BB8A")); // a lone last character
        QVERIFY(!fromBase45(u"bb8"));  // not of the alphabet
    }

    // Both forms read back to the whole form, what the code leaves out put back; a usual
    // declaration travels as plain text, a full one compressed, in the printed form's code.
    void roundTrip_data()
    {
        QTest::addColumn<bool>("full");
        QTest::addColumn<QString>("mode");
        QTest::newRow("usual, plain") << false << u"TKD1P"_s;
        QTest::newRow("full, compressed") << true << u"TKD1Z"_s;
    }
    void roundTrip()
    {
        QFETCH(bool, full);
        QFETCH(QString, mode);
        const MapForm form = full ? fullForm() : usualForm();
        const QString code = declarationCode(form);
        QVERIFY2(code.startsWith(mode), qPrintable(code.left(40)));
        QVERIFY(codeFitsForm(code));
        QString error;
        const std::optional<Draft> read = readCode(code.toUtf8(), u"lap.png"_s, &error);
        QVERIFY2(read, qPrintable(error));
        QCOMPARE(*read, draftOf(form));
        for (const QString &other : {plainCode(draftOf(form), taxOf(form)), compressedCode(draftOf(form), taxOf(form))})
            QCOMPARE(readCode(other.toUtf8(), u"lap.png"_s), std::optional<Draft>(draftOf(form)));
    }

    // Data the code cannot carry: no code, and a finding on the field that makes it too long.
    void tooLongForTheCode()
    {
        MapForm form = usualForm();
        QString remark;
        for (int i = 0; i < 400; ++i)
            remark += QString::number(i * 7919 % 104729, 36) + u' ';
        form.setText(u"RichEdit1"_s, remark);
        QCOMPARE(declarationCode(form), QString());
        QCOMPARE(fieldTooLongForCode(form), u"RichEdit1"_s);
        const QList<Finding> found = checkForm(form, QDate(2006, 6, 1));
        QVERIFY(std::any_of(found.cbegin(), found.cend(), [](const Finding &f) {
            return f.component == u"RichEdit1"_s && f.message.contains(u"kódjában"_s);
        }));
        QCOMPARE(fieldTooLongForCode(usualForm()), QString());
    }

    // A code is untrusted: each refusal says why, in Hungarian.
    void refusals_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reason");
        const QByteArray json = R"({"format":"telekado-bevallas","version":1,"fields":{"m1":"Kovács"}})";
        QTest::newRow("a web address") << QByteArray("https://example.org/bevallas") << u"nem a telekadó"_s;
        QTest::newRow("empty") << QByteArray() << u"nem a telekadó"_s;
        QTest::newRow("marker only") << QByteArray("TKD") << u"nem a telekadó"_s;
        QTest::newRow("unknown mode") << QByteArray("TKD1X\n0\n") + json << u"nem a telekadó"_s;
        QTest::newRow("newer version") << QByteArray("TKD2P\n0\n") + json << u"újabb változatával"_s;
        QTest::newRow("not UTF-8") << QByteArray("TKD1P\n0\n\xff\xfe") << u"nem a telekadó"_s;
        QTest::newRow("no data") << QByteArray("TKD1P") << u"hiányosak"_s;
        QTest::newRow("damaged compression") << QByteArray("TKD1Z%69 VD92EX0") << u"sérültek"_s;
        QTest::newRow("bomb") << QByteArray("TKD1Z") + toBase45(qCompress(QByteArray(20'000'000, ' '))).toLatin1()
                              << u"sérültek"_s;
        QTest::newRow("a value a file refuses") << QByteArray("TKD1P\n0\n") + QByteArray(json).replace("\"Kovács\"", "12")
                                                << u"nem szöveg"_s;
        QTest::newRow("tax the data does not give")
            << QByteArray(R"(TKD1P
9.999
{"format":"telekado-bevallas","version":1,"fields":{"m27":"1500"}})")
            << u"nem egyezik"_s;
    }
    void refusals()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        QString error;
        QVERIFY(!readCode(bytes, u"lap.png"_s, &error));
        QVERIFY2(error.startsWith(u"A kód nem olvasható be: lap.png\n"_s) || error.contains(u"lap.png"_s),
                 qPrintable(error));
        QVERIFY2(error.contains(reason), qPrintable(error));
    }
};

QTEST_MAIN(TestDeclarationCode)
#include "test_declarationcode.moc"
