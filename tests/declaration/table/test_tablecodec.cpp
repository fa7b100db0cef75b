#include "declaration/table/declarationtable.h"
#include "tests/testhelpers.h"

#include <QBuffer>
#include <QTest>

#include <cstring>

using namespace Qt::StringLiterals;

using namespace decl;

namespace {

const QByteArray bom = "\xEF\xBB\xBF";

// A sequential device that gives head, then unit count times (endlessly for -1), at most step
// bytes a read: a pipe that delivers a table piecemeal, or one that never ends.
class RepeatDevice : public QIODevice
{
public:
    RepeatDevice(QByteArray head, QByteArray unit, qint64 count, qint64 step = 1 << 30)
        : m_head(std::move(head)), m_unit(std::move(unit)), m_count(count), m_step(step)
    {
        open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    }
    bool isSequential() const override { return true; }
    qint64 given() const { return m_given; }

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        qint64 n = 0;
        maxSize = std::min(maxSize, m_step);
        while (n < maxSize) {
            const qint64 unitAt = m_given - m_head.size();
            if (unitAt < 0) {
                data[n++] = m_head[m_given++];
                continue;
            }
            if (m_count >= 0 && unitAt >= m_count * m_unit.size())
                break;
            const qint64 take = std::min(maxSize - n, m_unit.size() - unitAt % m_unit.size());
            memcpy(data + n, m_unit.constData() + unitAt % m_unit.size(), size_t(take));
            n += take;
            m_given += take;
        }
        return n;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    QByteArray m_head;
    QByteArray m_unit;
    qint64 m_count;
    qint64 m_step;
    qint64 m_given = 0;
};

struct Outcome
{
    TableReader::Next next;
    int row;
    QStringList cells;
    Draft draft;
    QString error;
};

struct Reading
{
    bool headerRead = false;
    QString headerError;
    QStringList extra;
    QChar separator;
    QList<Outcome> outcomes; // up to and including End or Broken
};

Reading readTable(QIODevice *device)
{
    Reading r;
    TableReader reader(device);
    r.headerRead = reader.readHeader(&r.headerError);
    if (!r.headerRead)
        return r;
    r.extra = reader.extraColumns();
    r.separator = reader.separator();
    for (int guard = 0; guard < 100000; ++guard) {
        const TableReader::Next next = reader.next();
        r.outcomes.append({next, reader.rowNumber(), reader.cells(), reader.draft(), reader.error()});
        if (next == TableReader::Next::End || next == TableReader::Next::Broken) {
            // And it stays there.
            if (reader.next() != next)
                r.outcomes.append({TableReader::Next::Row, -1, {}, {}, u"not final"_s});
            break;
        }
    }
    return r;
}

Reading readTable(const QByteArray &bytes, qint64 step = 1 << 30)
{
    RepeatDevice device(bytes, QByteArray(), 0, step);
    return readTable(&device);
}

// "Row@2 BadRow@3 End": what the reader gave, row by row.
QString summary(const Reading &r)
{
    if (!r.headerRead)
        return u"refused"_s;
    QStringList parts;
    for (const Outcome &o : r.outcomes) {
        switch (o.next) {
        case TableReader::Next::Row: parts << u"Row@%1"_s.arg(o.row); break;
        case TableReader::Next::BadRow: parts << u"BadRow@%1"_s.arg(o.row); break;
        case TableReader::Next::End: parts << u"End"_s; break;
        case TableReader::Next::Broken: parts << u"Broken@%1"_s.arg(o.row); break;
        }
    }
    return parts.join(u' ');
}

// A table in a dialect a spreadsheet may save: its separator, line end and mark.
QByteArray dialect(const QList<QStringList> &records, char separator, const QByteArray &lineEnd, bool mark)
{
    QByteArray out = mark ? bom : QByteArray();
    for (const QStringList &record : records) {
        QByteArrayList cells;
        for (const QString &cell : record) {
            QByteArray c = cell.toUtf8();
            if (c.contains(separator) || c.contains('"') || c.contains('\r') || c.contains('\n'))
                c = '"' + c.replace("\"", "\"\"") + '"';
            cells << c;
        }
        out += cells.join(separator) + lineEnd;
    }
    return out;
}

// Columns the reader knows and that take any text: the file's name and the taxpayer's name.
const QString nameColumn = u"adózó: neve"_s;
const QByteArray header = "fájl;adózó: neve\r\n";

} // namespace

class TestTableCodec : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void quoting_data()
    {
        QTest::addColumn<QStringList>("cells");
        QTest::addColumn<QByteArray>("record");
        QTest::newRow("plain") << QStringList{u"Kovács Őrs"_s} << "Kov\xc3\xa1" "cs \xc5\x90rs\r\n"_ba;
        QTest::newRow("separator") << QStringList{u"a;b"_s} << "\"a;b\"\r\n"_ba;
        QTest::newRow("quote") << QStringList{u"a\"b\""_s} << "\"a\"\"b\"\"\"\r\n"_ba;
        QTest::newRow("only a quote") << QStringList{u"\""_s} << "\"\"\"\"\r\n"_ba;
        QTest::newRow("LF") << QStringList{u"első\nmásodik"_s} << "\"els\xc5\x91\nm\xc3\xa1sodik\"\r\n"_ba;
        QTest::newRow("CRLF inside") << QStringList{u"a\r\nb"_s} << "\"a\r\nb\"\r\n"_ba;
        QTest::newRow("lone CR") << QStringList{u"a\rb"_s} << "\"a\rb\"\r\n"_ba;
        QTest::newRow("line break at the end") << QStringList{u"a\n"_s} << "\"a\n\"\r\n"_ba;
        QTest::newRow("blanks kept, unquoted") << QStringList{u"  a b  "_s} << "  a b  \r\n"_ba;
        QTest::newRow("decimal comma unquoted") << QStringList{u"1500,5"_s} << "1500,5\r\n"_ba;
        QTest::newRow("empty cells") << QStringList{QString(), u"x"_s, QString()} << ";x;\r\n"_ba;
        QTest::newRow("one empty cell") << QStringList{QString()} << "\r\n"_ba;
        QTest::newRow("byte-order marks as text")
            << QStringList{u"\uFEFF"_s, u"\uFEFF\uFEFFx"_s} << "\xEF\xBB\xBF;\xEF\xBB\xBF\xEF\xBB\xBFx\r\n"_ba;
        QTest::newRow("tab and NUL") << QStringList{u"a\tb"_s + QChar(0)} << "a\tb\0\r\n"_ba;
        QTest::newRow("everything") << QStringList{u" \"x;\"\r\n"_s, u";"_s} << "\" \"\"x;\"\"\r\n\";\";\"\r\n"_ba;
    }
    // Quoted exactly when needed, and read back cell for cell, also from a pipe that gives one
    // byte at a time.
    void quoting()
    {
        QFETCH(QStringList, cells);
        QFETCH(QByteArray, record);
        QCOMPARE(csvRecord(cells), record);
        QStringList columns{u"fájl"_s};
        for (int i = 0; i < cells.size(); ++i)
            columns << u"x%1"_s.arg(i);
        const QStringList row = QStringList{u"a.tkd"_s} + cells;
        for (const qint64 step : {qint64(1) << 30, qint64(1)}) {
            const Reading r = readTable(bom + csvRecord(columns) + csvRecord(row), step);
            QCOMPARE(summary(r), u"Row@2 End"_s);
            QCOMPARE(r.outcomes[0].cells, row);
            QCOMPARE(r.extra, columns.sliced(1));
        }
    }

    void dialects_data()
    {
        QTest::addColumn<char>("separator");
        QTest::addColumn<QByteArray>("lineEnd");
        QTest::addColumn<bool>("mark");
        QTest::newRow("written: ; CRLF mark") << ';' << "\r\n"_ba << true;
        QTest::newRow("; CRLF no mark") << ';' << "\r\n"_ba << false;
        QTest::newRow("; LF") << ';' << "\n"_ba << true;
        QTest::newRow(", CRLF mark") << ',' << "\r\n"_ba << true;
        QTest::newRow(", LF no mark") << ',' << "\n"_ba << false;
        QTest::newRow("; CR") << ';' << "\r"_ba << false;
    }
    // A table saved again by a spreadsheet reads as the one written. The header's first column
    // holds a comma, so the separator is told by the header as a whole.
    void dialects()
    {
        QFETCH(char, separator);
        QFETCH(QByteArray, lineEnd);
        QFETCH(bool, mark);
        const QList<QStringList> records = {
            {u"EGYÉB: Tulajdonba kerülés, illetve változás dátuma"_s, u"fájl"_s, nameColumn, u"EGYÉB: Megjegyzés"_s},
            {u"2006.01.02"_s, u"a.tkd"_s, u"Kovács, Őrs"_s, u"első; \"sor\"\nmásodik"_s},
            {QString(), u"b.tkd"_s, u" Nagy Anna "_s, QString()},
        };
        const QByteArray bytes = dialect(records, separator, lineEnd, mark);
        for (const qint64 step : {qint64(1) << 30, qint64(1), qint64(2)}) {
            const Reading r = readTable(bytes, step);
            QVERIFY2(r.headerRead, qPrintable(r.headerError));
            QCOMPARE(r.separator, QChar::fromLatin1(separator));
            QCOMPARE(summary(r), u"Row@2 Row@3 End"_s);
            QCOMPARE(r.outcomes[0].cells, records[1]);
            QCOMPARE(r.outcomes[1].cells, records[2]);
            QCOMPARE(r.outcomes[0].draft.texts.value(u"StyledEdit35"_s), u"Kovács, Őrs"_s);
            QCOMPARE(r.outcomes[0].draft.texts.value(u"RichEdit1"_s), u"első; \"sor\"\r\nmásodik"_s);
            QCOMPARE(r.outcomes[1].draft.texts.value(u"StyledEdit35"_s), u" Nagy Anna "_s);
            QCOMPARE(r.outcomes[0].draft.texts.size(), 3);
            QVERIFY(r.extra.isEmpty());
        }
    }

    void badTable_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("outcomes");
        QTest::addColumn<QString>("message"); // part of the first refusal's message
        const QByteArray good = "a.tkd;Kiss Anna\r\n";
        const QString noUtf8 = u"A táblázatot UTF-8 kódolással kell menteni"_s;

        QTest::newRow("empty file") << QByteArray() << u"refused"_s << u"A táblázat üres."_s;
        QTest::newRow("mark only") << bom << u"refused"_s << u"A táblázat üres."_s;
        QTest::newRow("header only") << bom + header << u"refused"_s << u"csak a fejléc áll"_s;
        QTest::newRow("header and empty lines") << header + "\r\n\n;\r\n" << u"refused"_s << u"csak a fejléc áll"_s;
        QTest::newRow("empty first line") << "\r\n" + header + good << u"refused"_s << u"a fejléc, üres"_s;
        QTest::newRow("column twice") << "fájl;adózó: neve;x;adózó: neve\r\n" + good << u"refused"_s
                                      << u"„adózó: neve” oszlop kétszer áll a fejlécben: a(z) 2. és a(z) 4."_s;
        QTest::newRow("no column of ours") << "név;cím\r\nKiss;Pécs\r\n"_ba << u"refused"_s
                                           << u"nincs egyetlen bevallási oszlop"_s;
        QTest::newRow("header quote open") << "fájl;\"adózó: neve\r\n" + good << u"refused"_s
                                           << u"fejlécben megnyitott idézőjelet"_s;
        QTest::newRow("header stray quote") << "fájl;adó\"zó\"\r\n" + good << u"refused"_s
                                            << u"A fejléc idézőjelei hibásak"_s;
        QTest::newRow("header in latin-2") << "f\xe1jl;ad\xf3z\xf3: neve\r\n" + good << u"refused"_s
                                           << u"A fejléc nem UTF-8 kódolású szöveg: a fájl 2. bájtja"_s;
        QTest::newRow("header in latin-2 after a mark") << bom + "f\xe1jl\r\n" << u"refused"_s
                                                        << u"a fájl 5. bájtja"_s;
        QTest::newRow("more cells") << header + "a.tkd;Kiss;x\r\n" + good << u"BadRow@2 Row@3 End"_s
                                    << u"A táblázat 2. sora nem olvasható be.\nA sorban 3 cella áll, a fejlécben csak 2"_s;
        QTest::newRow("fewer cells") << header + good + "a.tkd\r\n" + good << u"Row@2 BadRow@3 Row@4 End"_s
                                     << u"A sorban csak 1 cella áll, a fejlécben 2"_s;
        QTest::newRow("stray quote") << header + "a.tkd;Ki\"ss\r\n" + good << u"BadRow@2 Row@3 End"_s
                                     << u"2. sora nem olvasható be: „adózó: neve” oszlop.\nA cella idézőjelei hibásak"_s;
        QTest::newRow("text after closing quote") << header + "\"a.tkd\"x;Kiss\r\n" + good
                                                  << u"BadRow@2 Row@3 End"_s << u"„fájl” oszlop"_s;
        QTest::newRow("quote open to the end") << header + good + "b.tkd;\"Kiss\r\n" + good
                                               << u"Row@2 Broken@3"_s
                                               << u"A táblázat 3. sorától nem olvasható tovább.\nA sorban megnyitott"_s;
        QTest::newRow("quote open in the first row") << header + "b.tkd;\"" << u"Broken@2"_s << u"semmi nem zárja le"_s;
        QTest::newRow("row in latin-2") << header + good + "b.tkd;T\xfbzk\xf5\r\n" + good << u"Row@2 Broken@3"_s
                                        << noUtf8;
        QTest::newRow("invalid byte's offset") << header + "b.tkd;T\xfbzk\r\n" << u"Broken@2"_s
                                               << u"a fájl %1. bájtja"_s.arg(header.size() + 8);
        QTest::newRow("utf-8 cut at the line end") << header + "b.tkd;\xc5\r\n" << u"Broken@2"_s << noUtf8;
        QTest::newRow("overlong slash") << header + "b.tkd;\xc0\xaf\r\n" << u"Broken@2"_s << noUtf8;
        QTest::newRow("surrogate") << header + "b.tkd;\xed\xa0\x80\r\n" << u"Broken@2"_s << noUtf8;
        QTest::newRow("beyond U+10FFFF") << header + "b.tkd;\xf4\x90\x80\x80\r\n" << u"Broken@2"_s << noUtf8;
        QTest::newRow("control character") << header + "b.tkd;Ki\x01ss\r\n" + good << u"BadRow@2 Row@3 End"_s
                                           << u"„adózó: neve” oszlop.\nAz „m1” kulcsú mező (neve, I. AZ ADÓ ALANYA) "
                                              u"szövegében vezérlőkarakter áll (U+0001, a(z) 3. karakter)"_s;
        QTest::newRow("line break in a name") << header + "b.tkd;\"Kiss\nAnna\"\r\n" + good
                                              << u"BadRow@2 Row@3 End"_s << u"vezérlőkarakter"_s;
        QTest::newRow("name too long") << header + "b.tkd;" + QByteArray(32768, 'a') + "\r\n" + good
                                       << u"BadRow@2 Row@3 End"_s << u"túl hosszú: 32768 karakter"_s;
        QTest::newRow("number") << "fájl;III. AZ ADÓ MEGÁLLAPITÁSA: b. épület és épületnek nem minősülő épitmény "
                                   "alapterülete\r\na.tkd;sok\r\nb.tkd;12,5\r\n"_ba
                                << u"BadRow@2 Row@3 End"_s << u"„sok”) nem szám"_s;
        QTest::newRow("tax number") << "fájl;1. tulajdonostárs: adószáma\r\na.tkd;1234567X-1-01\r\n"_ba
                                    << u"BadRow@2 End"_s << u"„1. tulajdonostárs: adószáma” oszlop.\nAz „m14”"_s;
        QTest::newRow("option unknown") << "fájl;adózó: Az adó alanya\r\na.tkd;Magánszemély\r\nb.tkd;magánszemély\r\n"_ba
                                        << u"BadRow@2 Row@3 End"_s
                                        << u"„adózó: Az adó alanya” oszlop.\nA cella szövege, „Magánszemély”, nem "
                                           u"lehetősége a(z) „Az adó alanya” csoportnak. A lehetőségek: „magánszemély”, "_s;
        // The table's order names the column, whatever order the file's reader finds fields in.
        QTest::newRow("first bad column") << "fájl;adózó: neve;adózó: Használat tipusa;adózó: adószáma\r\n"
                                             "a.tkd;Ki\x02ss;bérlő?;1\r\n"_ba
                                          << u"BadRow@2 End"_s << u"„adózó: neve” oszlop"_s;
        QTest::newRow("row over a file's size") << header + "a.tkd;" + QByteArray(9 << 20, 'a') + "\r\n" + good
                                                << u"BadRow@2 Row@3 End"_s << u"A fájl túl nagy"_s;
        QTest::newRow("record over 16 MB") << header + good + "a.tkd;\"" + QByteArray(17 << 20, 'a') + "\"\r\n" + good
                                           << u"Row@2 Broken@3"_s << u"A sor hosszabb 16 MB-nál"_s;
        QTest::newRow("empty rows skipped") << header + "\r\n" + good + ";\r\n\"\";\"\"\r\n" + good + "\r\n"
                                            << u"Row@3 Row@6 End"_s << QString();
    }
    // Each bad table or row gives its reason, naming the row; a bad row is never given as good,
    // and the rows after it are read.
    void badTable()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, outcomes);
        QFETCH(QString, message);
        const Reading r = readTable(bytes);
        QCOMPARE(summary(r), outcomes);
        QString error = r.headerError;
        for (const Outcome &o : r.outcomes) {
            if (o.next == TableReader::Next::BadRow || o.next == TableReader::Next::Broken) {
                QVERIFY2(o.error.startsWith(u"A táblázat %1. sor"_s.arg(o.row)), qPrintable(o.error));
                QVERIFY2(o.error.contains(u'\n'), qPrintable(o.error));
                QVERIFY(o.draft == Draft());
                if (error.isEmpty())
                    error = o.error;
            }
        }
        if (!r.headerRead)
            QVERIFY2(error.startsWith(u"A táblázat nem olvasható be.\n"_s), qPrintable(error));
        QVERIFY2(error.contains(message), qPrintable(error));
        QCOMPARE(error.isEmpty(), message.isEmpty());
    }

    void separator_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<char>("separator");
        QTest::addColumn<QString>("date"); // the first row's m39
        QTest::newRow("one column with a comma") << "EGYÉB: Tulajdonba kerülés, illetve változás dátuma\r\n2006\r\n"_ba
                                                 << ';' << u"2006"_s;
        QTest::newRow("commas in names") << "fájl;EGYÉB: Tulajdonba kerülés, illetve változás dátuma\r\na,b;2006\r\n"_ba
                                         << ';' << u"2006"_s;
        QTest::newRow("comma table, semicolon in an extra column")
            << "x;y,fájl,\"EGYÉB: Tulajdonba kerülés, illetve változás dátuma\"\r\n1,a,\"2006,5\"\r\n"_ba << ','
            << u"2006,5"_s;
        QTest::newRow("comma table, quoted semicolon") << "fájl,\"a;b\"\r\nx,\"1;2\"\r\n"_ba << ',' << QString();
    }
    // The separator is the one under which the header names more of the declaration's columns.
    void separator()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(char, separator);
        QFETCH(QString, date);
        const Reading r = readTable(bytes);
        QCOMPARE(summary(r), u"Row@2 End"_s);
        QCOMPARE(r.separator, QChar::fromLatin1(separator));
        QCOMPARE(r.outcomes[0].draft.texts.value(u"StyledEdit7"_s), date);
    }

    // Rows are numbered as records: a cell's line breaks start no new row.
    void rowsCountRecords()
    {
        const Reading r = readTable("fájl;EGYÉB: Megjegyzés;adózó: neve\r\n"
                                    "a.tkd;\"egy\nkettő\r\nhárom\";Kiss\r\n"
                                    "b.tkd;;\"Ki\"ss\r\n"
                                    "c.tkd;\"\n\";Nagy\r\n"_ba);
        QCOMPARE(summary(r), u"Row@2 BadRow@3 Row@4 End"_s);
        QVERIFY(r.outcomes[1].error.startsWith(u"A táblázat 3. sora"_s));
        QCOMPARE(r.outcomes[1].cells, (QStringList{u"b.tkd"_s, QString(), u"Kiss"_s}));
    }

    // Columns that are not the declaration's are named once; the computed and findings columns
    // and the file's name are known but give no field; a missing column leaves its field out.
    void columns()
    {
        const QByteArray bytes = "ügyintéző;fájl;III. AZ ADÓ MEGÁLLAPITÁSA: fizetendő adó;ellenőrzési találatok;;"
                                 "adózó: neve\r\n"
                                 "Pál;a.tkd;999 Ft.;7;x;Kiss\r\n"_ba;
        RepeatDevice device(bytes, QByteArray(), 0);
        TableReader reader(&device);
        QVERIFY(reader.readHeader());
        QCOMPARE(reader.extraColumns(), (QStringList{u"ügyintéző"_s, QString()}));
        QCOMPARE(reader.columnOf(u"fájl"_s), 1);
        QCOMPARE(reader.columnOf(nameColumn), 5);
        QCOMPARE(reader.columnOf(u"adózó: cime"_s), -1);
        QCOMPARE(reader.header().size(), 6);
        QCOMPARE(reader.next(), TableReader::Next::Row);
        QCOMPARE(reader.draft().texts, (QMap<QString, QString>{{u"StyledEdit35"_s, u"Kiss"_s}}));
        QVERIFY(reader.draft().choices.isEmpty());
        QCOMPARE(reader.next(), TableReader::Next::End);
    }

    // A record that never ends is refused once it passes the bound; the reader takes no more
    // of the device than that and one buffer.
    void endlessRecord_data()
    {
        QTest::addColumn<QByteArray>("unit");
        QTest::newRow("unquoted") << "a"_ba;
        QTest::newRow("quoted") << "\"a"_ba;
    }
    void endlessRecord()
    {
        QFETCH(QByteArray, unit);
        RepeatDevice device(header + "a.tkd;Kiss\r\nb.tkd;" + unit, unit.right(1), -1);
        const Reading r = readTable(&device);
        QCOMPARE(summary(r), u"Row@2 Broken@3"_s);
        QVERIFY(r.outcomes[1].error.contains(u"hosszabb 16 MB-nál"_s));
        QVERIFY(device.given() < maxTableRecordSize + 2 * 1024 * 1024);
    }

    // A long table is read a record at a time: the reader is never more than a buffer ahead of
    // the row it gives.
    void streams()
    {
        const QByteArray row = "a.tkd;\"Kovács;Őrs\"\r\n";
        RepeatDevice device(bom + header, row, 10000);
        TableReader reader(&device);
        QVERIFY(reader.readHeader());
        int rows = 0;
        while (reader.next() == TableReader::Next::Row) {
            ++rows;
            QCOMPARE(reader.rowNumber(), rows + 1);
            const qint64 through = bom.size() + header.size() + rows * row.size();
            QVERIFY2(device.given() <= through + row.size() + 64 * 1024, qPrintable(QString::number(rows)));
        }
        QCOMPARE(rows, 10000);
        QCOMPARE(reader.next(), TableReader::Next::End);
    }
};

QTEST_GUILESS_MAIN(TestTableCodec)
#include "test_tablecodec.moc"
