#include "expressions_p.h"
#include "valueformat_p.h"
#include "runtime/formatsettings.h"

#include <QTest>

using namespace rep;

class TestExpressions : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void scanner_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("delimiters");
        QTest::addColumn<QString>("expanded"); // each expression shown as <expression>
        QTest::newRow("plain text untouched") << "no keys\r\n" << "[,]" << "no keys\r\n";
        QTest::newRow("one key") << "[m1]\r\n" << "[,]" << "<m1>\r\n";
        QTest::newRow("text around kept") << "  a [m1] b  [m2]!\r\n" << "[,]" << "  a <m1> b  <m2>!\r\n";
        QTest::newRow("nested belongs to outer") << "[a[b]c]\r\n" << "[,]" << "<a[b]c>\r\n";
        QTest::newRow("closing in single quotes") << "[x = ']' ]\r\n" << "[,]" << "<x = ']' >\r\n";
        QTest::newRow("opening in double quotes") << "[f(\"[\")]z\r\n" << "[,]" << "<f(\"[\")>z\r\n";
        QTest::newRow("empty brackets") << "a[]b\r\n" << "[,]" << "a<>b\r\n";
        QTest::newRow("stray closing") << "a]b [c]\r\n" << "[,]" << "a]b <c>\r\n";
        QTest::newRow("unclosed runs to the end") << "x[abc\r\n" << "[,]" << "x<abc\r>";
        QTest::newRow("long delimiters") << "<%a%> [b]\r\n" << "<%,%>" << "<a> [b]\r\n";
        QTest::newRow("case kept, spaces kept") << "[ Page# ]\r\n" << "[,]" << "< Page# >\r\n";
        QTest::newRow("line breaks between keys") << "[a]\r\n[b]\r\n" << "[,]" << "<a>\r\n<b>\r\n";
    }
    void scanner()
    {
        QFETCH(QString, text);
        QFETCH(QString, delimiters);
        QFETCH(QString, expanded);
        QString open, close;
        splitDelimiters(delimiters, open, close);
        const QString result = expandExpressions(text, open, close, [](const QString &e) {
            return QLatin1Char('<') + e + QLatin1Char('>');
        });
        QCOMPARE(result, expanded);
    }

    void insertedValuesNotRescanned()
    {
        int calls = 0;
        const QString result = expandExpressions(QStringLiteral("[a][b]\r\n"), QStringLiteral("["), QStringLiteral("]"),
                                                 [&](const QString &e) {
                                                     ++calls;
                                                     return e == QLatin1String("a") ? QStringLiteral("[b] ]") : QStringLiteral("B");
                                                 });
        QCOMPARE(result, QStringLiteral("[b] ]B\r\n"));
        QCOMPARE(calls, 2);
    }

    void formats_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("suffix"); // the text after " #"
        QTest::addColumn<QString>("text");
        QTest::newRow("number printf comma") << QVariant(1234.5) << "N%2,2f" << "1234,50";
        QTest::newRow("number printf dot") << QVariant(3.14159) << "n%.3f" << "3.142";
        QTest::newRow("number picture, suffix separators become points") << QVariant(1234567.891) << "N#,##0.00" << "1234567.891";
        QTest::newRow("number picture optional digits") << QVariant(2.5) << "N#.##" << "2.5";
        QTest::newRow("number from numeric string") << QVariant(QStringLiteral("12")) << "N%.1f" << "12.0";
        QTest::newRow("number, text not a number") << QVariant(QStringLiteral("abc")) << "N%.1f" << "abc";
        QTest::newRow("printf with two arguments falls back") << QVariant(1.5) << "N%f%f" << "1.5";
        QTest::newRow("printf string specifier falls back") << QVariant(1.5) << "N%s" << "1.5";
        QTest::newRow("date picture") << QVariant(QDateTime(QDate(2006, 4, 15), QTime(19, 27, 38)))
                                      << "Ddd.mm.yyyy hh:nn" << "15.04.2006 19:27";
        QTest::newRow("date picture, one-letter fields") << QVariant(QDateTime(QDate(2006, 4, 5), QTime(9, 7, 8, 45)))
                                                         << "Dd.m.y h:m:s zzz" << "5.4.06 9:7:8 045";
        QTest::newRow("boolean true") << QVariant(true) << "Bnem,igen" << "igen";
        QTest::newRow("boolean false") << QVariant(false) << "bnem,igen" << "nem";
        QTest::newRow("other letter keeps text") << QVariant(7) << "X" << "7";
        QTest::newRow("null prints nothing") << QVariant::fromValue(nullptr) << "N%.2f" << "";
    }
    void formats()
    {
        QFETCH(QVariant, value);
        QFETCH(QString, suffix);
        QFETCH(QString, text);
        rt::FormatSettings settings;
        settings.decimalSeparator = QLatin1Char('.');
        settings.thousandSeparator = QLatin1Char('.');
        rt::setFormatSettings(settings);
        QCOMPARE(formatValue(value, parseFormatSuffix(suffix)), text);
    }

    void displayFormatPicture()
    {
        rt::FormatSettings settings;
        settings.decimalSeparator = QLatin1Char(',');
        settings.thousandSeparator = QLatin1Char(' ');
        rt::setFormatSettings(settings);
        TrepFormat format{fkNumeric, QStringLiteral("#,##0.00"), QString()};
        QCOMPARE(formatValue(1234567.891, format), QStringLiteral("1 234 567,89"));
        QCOMPARE(formatValue(-0.5, format), QStringLiteral("-0,50"));
        format.DecimalSeparator = QStringLiteral(".");
        QCOMPARE(formatValue(12.0, format), QStringLiteral("12.00"));
        format.FormatStr = QStringLiteral("#.## 'Ft'");
        QCOMPARE(formatValue(0.5, format), QStringLiteral(".5 Ft"));
    }

    void plainConversion()
    {
        rt::FormatSettings settings;
        settings.decimalSeparator = QLatin1Char(',');
        settings.shortDateFormat = QStringLiteral("yyyy.MM.dd.");
        rt::setFormatSettings(settings);
        QCOMPARE(plainText(QVariant(2.5)), QStringLiteral("2,5"));
        QCOMPARE(plainText(QVariant(12)), QStringLiteral("12"));
        QCOMPARE(plainText(QVariant(true)), QStringLiteral("True"));
        QCOMPARE(plainText(QVariant(QDateTime(QDate(2006, 4, 15), QTime(0, 0)))), QStringLiteral("2006.04.15."));
        QCOMPARE(plainText(QVariant(QDateTime(zeroDate(), QTime(9, 5, 1)))), QStringLiteral("9:05:01"));
        QCOMPARE(plainText(QVariant::fromValue(nullptr)), QString());
    }
};

QTEST_GUILESS_MAIN(TestExpressions)
#include "test_expressions.moc"
