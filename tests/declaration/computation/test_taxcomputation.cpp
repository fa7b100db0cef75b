#include "declaration/formaccess.h"
#include "declaration/taxcomputation.h"
#include "runtime/errors.h"
#include "runtime/formatsettings.h"
#include "tests/testhelpers.h"

#include <QTest>

using namespace decl;
using tk::test::useSeparators;

namespace {
const QStringList areaNames = {QStringLiteral("NumEdit1"), QStringLiteral("NumEdit2"), QStringLiteral("NumEdit3"),
                               QStringLiteral("NumEdit4"), QStringLiteral("NumEdit5"), QStringLiteral("NumEdit6"),
                               QStringLiteral("NumEdit7"), QStringLiteral("NumEdit8")};

// "a=1500 b=300" style: letters a,b,d..i name the eight fields in order.
void fill(MapForm &form, const QString &values)
{
    const QString letters = QStringLiteral("abdefghi");
    for (const QString &pair : values.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const qsizetype eq = pair.indexOf(QLatin1Char('='));
        const int idx = int(letters.indexOf(pair.at(0)));
        form.setText(areaNames.at(idx), pair.mid(eq + 1));
    }
}
} // namespace

class TestTaxComputation : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void labels_data()
    {
        QTest::addColumn<QString>("sep");
        QTest::addColumn<QString>("fields");
        QTest::addColumn<QStringList>("labels"); // Label1 .. Label4
        const QString c = QStringLiteral(",");
        const QString d = QStringLiteral(".");
        auto l = [](const char *a, const char *b, const char *k, const char16_t *tax) {
            return QStringList{QString::fromLatin1(a), QString::fromLatin1(b), QString::fromLatin1(k),
                               QString::fromUtf16(tax)};
        };
        QTest::newRow("all zero") << c << QString() << l("0", "0", "0", u"0 Ft.");
        QTest::newRow("a=1500 b=300") << c << QStringLiteral("a=1500 b=300") << l("1200", "0", "1200", u"250.800 Ft.");
        QTest::newRow("a=100 d=30 e=20") << c << QStringLiteral("a=100 d=30 e=20") << l("100", "10", "90", u"18.810 Ft.");
        QTest::newRow("negative deductions") << c << QStringLiteral("d=10 e=20") << l("0", "-10", "10", u"2.090 Ft.");
        QTest::newRow("negative base b=5") << c << QStringLiteral("b=5") << l("-5", "0", "-5", u"-1.045 Ft.");
        QTest::newRow("negative base b=1") << c << QStringLiteral("b=1") << l("-1", "0", "-1", u"-209 Ft.");
        QTest::newRow("half to even 2194.5") << c << QStringLiteral("a=10,5") << l("10,5", "0", "10,5", u"2.194 Ft.");
        QTest::newRow("half to even 104.5") << c << QStringLiteral("a=0,5") << l("0,5", "0", "0,5", u"104 Ft.");
        QTest::newRow("half to even 313.5") << c << QStringLiteral("a=1,5") << l("1,5", "0", "1,5", u"314 Ft.");
        QTest::newRow("point locale") << d << QStringLiteral("a=10.5") << l("10.5", "0", "10.5", u"2.194 Ft.");
        QTest::newRow("all deductions") << c << QStringLiteral("a=1000 d=100 e=1 f=2 g=3 h=4 i=5")
                                        << l("1000", "85", "915", u"191.235 Ft.");
        QTest::newRow("grouping millions") << c << QStringLiteral("a=5907") << l("5907", "0", "5907", u"1.234.563 Ft.");
        QTest::newRow("decimal fractions") << d << QStringLiteral("a=0.1 b=0.3 d=0.2")
                                           << l("-0.2", "0.2", "-0.4", u"-84 Ft.");
    }
    void labels()
    {
        QFETCH(QString, sep);
        QFETCH(QString, fields);
        QFETCH(QStringList, labels);
        useSeparators(sep.front());
        MapForm form;
        fill(form, fields);
        szamolas(form);
        QCOMPARE(form.caption(QStringLiteral("Label1")), labels[0]);
        QCOMPARE(form.caption(QStringLiteral("Label2")), labels[1]);
        QCOMPARE(form.caption(QStringLiteral("Label3")), labels[2]);
        QCOMPARE(form.caption(QStringLiteral("Label4")), labels[3]);
    }

    void leavingUnchangedRewritesAll()
    {
        useSeparators(QLatin1Char(','));
        MapForm form;
        fill(form, QStringLiteral("a=1500 b=300"));
        szamolas(form);
        szamolas(form);
        QCOMPARE(form.captionWrites().size(), 8);
        QCOMPARE(form.captionWrites().mid(4), form.captionWrites().mid(0, 4));
    }

    // An invalid text: what was written before stays, nothing after it is done.
    void invalidTextStopsPartway_data()
    {
        QTest::addColumn<QString>("fields");
        QTest::addColumn<QString>("badText");
        QTest::addColumn<int>("writes");
        QTest::newRow("in a: nothing written") << QStringLiteral("a=x b=1") << QStringLiteral("x") << 0;
        QTest::newRow("in e: Label1 only") << QStringLiteral("a=7 e=E5") << QStringLiteral("E5") << 1;
        QTest::newRow("in i: Label1 only") << QStringLiteral("a=7 i=1.5") << QStringLiteral("1.5") << 1;
    }
    void invalidTextStopsPartway()
    {
        QFETCH(QString, fields);
        QFETCH(QString, badText);
        QFETCH(int, writes);
        useSeparators(QLatin1Char(','));
        MapForm form;
        fill(form, fields);
        try {
            szamolas(form);
            QFAIL("no error raised");
        } catch (const rt::EConvertError &e) {
            QCOMPARE(e.message(), QStringLiteral("'%1' is not a valid floating point value").arg(badText));
        }
        QCOMPARE(form.captionWrites().size(), writes);
        if (writes == 1)
            QCOMPARE(form.caption(QStringLiteral("Label1")), QStringLiteral("7"));
        QCOMPARE(form.caption(QStringLiteral("Label4")), QStringLiteral("0"));
    }

    void overflowKeepsTax_data()
    {
        QTest::addColumn<QString>("fields");
        QTest::addColumn<QString>("label3");
        QTest::newRow("1E20") << QStringLiteral("a=1E20") << QStringLiteral("1E20");
        QTest::newRow("-1E17") << QStringLiteral("b=1E17") << QStringLiteral("-1E17");
        QTest::newRow("beyond double") << QStringLiteral("a=1E400") << QStringLiteral("1E400");
    }
    void overflowKeepsTax()
    {
        QFETCH(QString, fields);
        QFETCH(QString, label3);
        useSeparators(QLatin1Char(','));
        MapForm form;
        form.setCaption(QStringLiteral("Label4"), QStringLiteral("previous"));
        fill(form, fields);
        try {
            szamolas(form);
            QFAIL("no error raised");
        } catch (const rt::EInvalidOp &e) {
            QCOMPARE(e.message(), QStringLiteral("Invalid floating point operation"));
            QCOMPARE(rt::displayMessage(e.message()), QStringLiteral("Invalid floating point operation."));
        }
        QCOMPARE(form.caption(QStringLiteral("Label3")), label3);
        QCOMPARE(form.caption(QStringLiteral("Label4")), QStringLiteral("previous"));
    }

    // Just below 2^63 the tax still prints, grouped from its exact digits.
    void largestTaxes()
    {
        useSeparators(QLatin1Char(','));
        MapForm form;
        fill(form, QStringLiteral("a=4784688995215"));
        szamolas(form);
        QCOMPARE(form.caption(QStringLiteral("Label4")), QString::fromUtf16(u"999.999.999.999.935 Ft."));
        fill(form, QStringLiteral("a=10000000000000000"));
        szamolas(form);
        QCOMPARE(form.caption(QStringLiteral("Label4")), QString::fromUtf16(u"2.090.000.000.000.000.000 Ft."));
    }
};

QTEST_GUILESS_MAIN(TestTaxComputation)
#include "test_taxcomputation.moc"
