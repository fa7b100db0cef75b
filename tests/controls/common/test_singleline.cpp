#include "controls/common/singleline.h"

#include <QTest>

class TestSingleLine : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Every line break and tab becomes one blank; the position stays before the same character.
    void breaksBecomeBlanks_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("result");
        QTest::addColumn<int>("newPosition");
        auto s = [](const char16_t *t) { return QString::fromUtf16(t); };
        QTest::newRow("LF") << s(u"a\nb") << 3 << s(u"a b") << 3;
        QTest::newRow("CR LF, position after it") << s(u"a\r\nb") << 4 << s(u"a b") << 3;
        QTest::newRow("CR LF, position inside it") << s(u"a\r\nb") << 2 << s(u"a b") << 2;
        QTest::newRow("CR LF, position before it") << s(u"a\r\nb") << 1 << s(u"a b") << 1;
        QTest::newRow("LF CR is two breaks") << s(u"a\n\rb") << 4 << s(u"a  b") << 4;
        QTest::newRow("CR") << s(u"a\rb") << 0 << s(u"a b") << 0;
        QTest::newRow("tab") << s(u"a\tb") << 3 << s(u"a b") << 3;
        QTest::newRow("vertical tab, form feed") << s(u"\va\f") << 3 << s(u" a ") << 3;
        QTest::newRow("next line") << s(u"a\u0085b") << 3 << s(u"a b") << 3;
        QTest::newRow("line and paragraph separators") << s(u"a\u2028b\u2029c") << 5 << s(u"a b c") << 5;
        QTest::newRow("many CR LF") << s(u"\r\n\r\n\r\nx") << 7 << s(u"   x") << 4;
        QTest::newRow("nothing to do") << s(u"ab c") << 2 << s(u"ab c") << 2;
        QTest::newRow("other control characters stay") << s(u"a\x01\x1b") << 3 << s(u"a\x01\x1b") << 3;
    }
    void breaksBecomeBlanks()
    {
        QFETCH(QString, text);
        QFETCH(int, position);
        QTEST(ctl::singleLine(text, &position), "result");
        QTEST(position, "newPosition");
        QTEST(ctl::singleLine(text), "result");
    }
};

QTEST_GUILESS_MAIN(TestSingleLine)
#include "test_singleline.moc"
