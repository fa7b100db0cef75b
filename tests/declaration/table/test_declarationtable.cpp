#include "declaration/catalogue.h"
#include "declaration/checks.h"
#include "declaration/draftfile.h"
#include "declaration/formaccess.h"
#include "declaration/table/declarationtable.h"
#include "declaration/taxcomputation.h"
#include "tests/testhelpers.h"

#include <QBuffer>
#include <QRandomGenerator>
#include <QTest>

#include <algorithm>

using namespace Qt::StringLiterals;

using namespace decl;
using tk::test::useSeparators;

namespace {

const QDate today(2006, 6, 1);

// The co-owners' fields (blocks after the taxpayer's), by block.
QList<QList<const Field *>> coOwnerFields()
{
    QList<QList<const Field *>> blocks(fieldBlocks().size() - 1);
    for (const Field &f : fields()) {
        const FieldBlock *b = findBlock(f);
        if (b && b != &fieldBlocks().constFirst())
            blocks[b - &fieldBlocks().constFirst() - 1].append(&f);
    }
    return blocks;
}

// The n-th of a set of declarations that between them hold Hungarian letters, the characters
// the table quotes, blanks at either end, remarks of several lines or none, empty and full
// co-owner blocks and every option of every group. Numbers use the locale's separator.
Draft sampleDraft(int n, QChar sep)
{
    QRandomGenerator random(quint32(n) + 1);
    const QStringList words = {u"Őrs"_s, u"Űrkő"_s, u"ÁRVÍZTŰRŐ"_s, u"tükörfúrógép"_s, u"\"idézet\""_s,
                               u"pont;vessző"_s, u"vessző,"_s, u"  két szóköz  "_s, u"Kovács-Szabó"_s, u"ő"_s};
    auto text = [&](int count) {
        QStringList t;
        for (int i = 0; i < count; ++i)
            t << words[random.bounded(int(words.size()))];
        return t.join(u' ');
    };
    MapForm form;
    const QList<QList<const Field *>> coOwners = coOwnerFields();
    for (const Field &f : fields()) {
        bool inEmptyBlock = false;
        for (int b = 0; b < coOwners.size(); ++b)
            inEmptyBlock = inEmptyBlock || (coOwners[b].contains(&f) && (n >> b) % 2 == 0);
        if (inEmptyBlock)
            continue;
        switch (f.kind) {
        case FieldKind::TextEdit: form.setText(f.component, text(1 + random.bounded(4))); break;
        case FieldKind::TaxNumber: form.setText(f.component, n % 3 ? u"15789934-2-51"_s : u"1578****-*-**"_s); break;
        case FieldKind::TaxId: form.setText(f.component, n % 4 ? u"8365670003"_s : u"83656*****"_s); break;
        case FieldKind::NumericEdit:
            form.setText(f.component, u"%1%2%3%4"_s.arg(n % 5 ? u""_s : u"-"_s).arg(random.bounded(100000))
                                          .arg(sep).arg(random.bounded(100)));
            break;
        case FieldKind::RichEdit: {
            QStringList lines;
            for (int i = 0; i < n % 6; ++i)
                lines << (i % 3 == 1 ? QString() : text(1 + random.bounded(5)) + (i == 2 ? u"\t;"_s : QString()));
            form.setText(f.component, lines.join(u"\r\n"_s));
            break;
        }
        }
    }
    for (const RadioGroup &g : radioGroups())
        form.setItemIndex(g.component, int(n % (g.items.size() + 1)) - 1);
    return draftOf(form);
}

QList<Draft> sampleDrafts(QChar sep)
{
    QList<Draft> drafts;
    for (int n = 0; n < 50; ++n)
        drafts << sampleDraft(n, sep);
    return drafts;
}

QString fileNameOf(int n)
{
    return n % 7 ? u"bevallás-%1.tkd"_s.arg(n) : u"név;vesszővel, \"idézve\" %1.tkd"_s.arg(n);
}

QByteArray tableOf(const QList<Draft> &drafts)
{
    QByteArray bytes = tableHeaderBytes();
    for (int n = 0; n < drafts.size(); ++n)
        bytes += csvRecord(tableRow(fileNameOf(n), drafts[n], today));
    return bytes;
}

// The whole form a draft gives.
Draft onForm(const Draft &draft)
{
    MapForm form;
    applyDraft(draft, form);
    return draftOf(form);
}

struct ReadRow
{
    QStringList cells;
    Draft draft;
};

QList<ReadRow> readRows(const QByteArray &bytes, QStringList *extra = nullptr)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    TableReader reader(&buffer);
    QString error;
    if (!reader.readHeader(&error)) {
        qWarning("%s", qPrintable(error));
        return {};
    }
    if (extra)
        *extra = reader.extraColumns();
    QList<ReadRow> rows;
    TableReader::Next next;
    while ((next = reader.next()) == TableReader::Next::Row) {
        if (reader.rowNumber() != rows.size() + 2)
            return {};
        rows.append({reader.cells(), reader.draft()});
    }
    if (next != TableReader::Next::End)
        qWarning("%s", qPrintable(reader.error()));
    return rows;
}

// A spreadsheet's save of the table: "," between cells, no mark, LF, the columns in another
// order, one of them gone and one added.
QByteArray resaved(const QByteArray &table, const QString &dropped, const QString &added)
{
    const QList<ReadRow> rows = readRows(table);
    QStringList header = tableHeader();
    QList<int> order;
    for (int i = int(header.size()) - 1; i >= 0; --i)
        if (header[i] != dropped)
            order << i;
    std::rotate(order.begin(), order.begin() + 7, order.end());
    auto record = [&](const QStringList &cells, const QString &extra) {
        QByteArrayList out;
        for (const int i : order)
            out << cells[i].toUtf8();
        out.insert(3, extra.toUtf8());
        for (QByteArray &c : out)
            if (c.contains(',') || c.contains('"') || c.contains('\n') || c.contains('\r'))
                c = '"' + c.replace("\"", "\"\"") + '"';
        return out.join(',') + '\n';
    };
    QByteArray bytes = record(header, added);
    for (int n = 0; n < rows.size(); ++n)
        bytes += record(rows[n].cells, u"jegyzet %1"_s.arg(n));
    return bytes;
}

} // namespace

class TestDeclarationTable : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init() { useSeparators(u','); }

    // A clerk tells the columns by their names: unique, on one line, whose and what.
    void header()
    {
        const QStringList header = tableHeader();
        QCOMPARE(header.size(), 1 + fields().size() + radioGroups().size() + computedLabels().size() + 1);
        QCOMPARE(QSet<QString>(header.cbegin(), header.cend()).size(), header.size());
        for (const QString &name : header) {
            QVERIFY2(!name.contains(u'\n') && !name.contains(u'\r') && !name.contains(u';'), qPrintable(name));
            QCOMPARE(name.trimmed(), name);
        }
        QCOMPARE(header.constFirst(), u"fájl"_s);
        QCOMPARE(header.constLast(), u"ellenőrzési találatok"_s);
        QCOMPARE(header[1], u"adózó: neve"_s);
        QCOMPARE(tableColumnName(u"StyledEdit35"_s), header[1]);
        QCOMPARE(tableColumnName(u"CtlRadioGroup5"_s), u"adózó: Az adó alanya"_s);
        QCOMPARE(tableColumnName(u"Label1"_s), QString());
        for (const QString &name :
             {u"1. tulajdonostárs: adószáma"_s, u"3. tulajdonostárs: tulajdoni hányada"_s, u"adózó: Az adó alanya"_s,
              u"I. AZ ADÓ ALANYA: Változás oka"_s, u"II. A BELTERÜLETI FÖLDRÉSZLET (TELEK): helyrajzi száma"_s,
              u"EGYÉB: Megjegyzés"_s, u"III. AZ ADÓ MEGÁLLAPITÁSA: fizetendő adó"_s})
            QVERIFY2(header.contains(name), qPrintable(name));
        QCOMPARE(tableHeaderBytes(), "\xEF\xBB\xBF" + csvRecord(header));
    }

    // The row is the form the draft gives, computed and checked: options by their text, the
    // remark's lines as "\n", the file's name as given.
    void row()
    {
        MapForm form;
        form.setText(u"StyledEdit35"_s, u"Kovács Őrs"_s);
        form.setText(u"NumEdit1"_s, u"1500,5"_s);
        form.setText(u"NumEdit2"_s, u"300"_s);
        form.setText(u"RichEdit1"_s, u"első\r\n\r\nharmadik"_s);
        form.setItemIndex(u"CtlRadioGroup6"_s, 4);
        Draft draft = draftOf(form);
        draft.choices.remove(u"CtlRadioGroup5"_s); // left as on an untouched form
        const QStringList cells = tableRow(u"kovacs.tkd"_s, draft, today);
        const QStringList header = tableHeader();
        QCOMPARE(cells.size(), header.size());
        auto cell = [&](const QString &name) { return cells.value(header.indexOf(name)); };
        QCOMPARE(cell(u"fájl"_s), u"kovacs.tkd"_s);
        QCOMPARE(cell(u"adózó: neve"_s), u"Kovács Őrs"_s);
        QCOMPARE(cell(u"adózó: adószáma"_s), u"********-*-**"_s);
        QCOMPARE(cell(u"EGYÉB: Megjegyzés"_s), u"első\n\nharmadik"_s);
        QCOMPARE(cell(u"III. AZ ADÓ MEGÁLLAPITÁSA: a. az ingatlannyilvántartásba bejegyzett földterület teljes "
                      u"területe"_s),
                 u"1500,5"_s);
        QCOMPARE(cell(u"adózó: Használat tipusa"_s), u"bérlő"_s);
        QCOMPARE(cell(u"adózó: Az adó alanya"_s), QString());
        QCOMPARE(cell(u"I. AZ ADÓ ALANYA: Változás oka"_s), QString());
        szamolas(form);
        QCOMPARE(cell(u"III. AZ ADÓ MEGÁLLAPITÁSA: c. beépitetlen belterületi földrészlet (a-b)"_s), u"1200,5"_s);
        QCOMPARE(cell(u"III. AZ ADÓ MEGÁLLAPITÁSA: k. Adóalap"_s), form.caption(u"Label3"_s));
        QCOMPARE(cell(u"III. AZ ADÓ MEGÁLLAPITÁSA: fizetendő adó"_s), u"250.904 Ft."_s);
        const qsizetype findings = checkForm(form, today).size();
        QVERIFY(findings > 0); // no tax number, no option of the first group
        QCOMPARE(cell(u"ellenőrzési találatok"_s), QString::number(findings));
    }

    // A computation that fails leaves the computed cells empty and the rest as they are.
    void rowWhenComputationFails()
    {
        Draft draft;
        draft.texts.insert(u"NumEdit1"_s, u"1E4000"_s);
        draft.texts.insert(u"StyledEdit35"_s, u"Kiss"_s);
        const QStringList cells = tableRow(u"a.tkd"_s, draft, today);
        const QStringList header = tableHeader();
        for (const ComputedLabel &l : computedLabels())
            QCOMPARE(cells[header.indexOf(u"III. AZ ADÓ MEGÁLLAPITÁSA: "_s + l.name)], QString());
        QCOMPARE(cells[1], u"Kiss"_s);
        QVERIFY(cells.constLast().toInt() > 0);
    }

    void roundTrip_data()
    {
        QTest::addColumn<QChar>("sep");
        QTest::newRow("comma locale") << QChar(u',');
        QTest::newRow("point locale") << QChar(u'.');
    }
    // Written and read back, each row gives its declaration field for field, and written again
    // the same bytes.
    void roundTrip()
    {
        QFETCH(QChar, sep);
        useSeparators(sep);
        const QList<Draft> drafts = sampleDrafts(sep);
        const QByteArray table = tableOf(drafts);
        QCOMPARE(tableOf(drafts), table);
        const QList<ReadRow> rows = readRows(table);
        QCOMPARE(rows.size(), drafts.size());
        QList<Draft> again;
        for (int n = 0; n < rows.size(); ++n) {
            QCOMPARE(rows[n].cells.constFirst(), fileNameOf(n));
            QCOMPARE(onForm(rows[n].draft), onForm(drafts[n]));
            again << rows[n].draft;
        }
        QCOMPARE(tableOf(again), table);
    }

    // Every group's every option, none included, and both full and empty co-owner blocks are
    // among the samples: the round trip covers them.
    void samplesCoverTheForm()
    {
        const QList<Draft> drafts = sampleDrafts(u',');
        for (const RadioGroup &g : radioGroups())
            for (int i = -1; i < g.items.size(); ++i)
                QVERIFY(std::any_of(drafts.cbegin(), drafts.cend(),
                                    [&](const Draft &d) { return d.choices.value(g.component) == i; }));
        for (const QList<const Field *> &block : coOwnerFields()) {
            const QString name = block.constFirst()->component;
            QVERIFY(std::any_of(drafts.cbegin(), drafts.cend(), [&](const Draft &d) { return d.texts[name].isEmpty(); }));
            QVERIFY(std::any_of(drafts.cbegin(), drafts.cend(), [&](const Draft &d) { return !d.texts[name].isEmpty(); }));
        }
        QVERIFY(std::any_of(drafts.cbegin(), drafts.cend(),
                            [](const Draft &d) { return d.texts[u"RichEdit1"_s].count(u"\r\n"_s) >= 3; }));
    }

    // The table saved again by a spreadsheet reads back the same; the dropped column's field is
    // left out of each draft, so it keeps what the form has.
    void resavedBySpreadsheet()
    {
        const QList<Draft> drafts = sampleDrafts(u',');
        const QString dropped = u"adózó: cime"_s;
        const QString added = u"ügyintéző megjegyzése"_s;
        QStringList extra;
        const QList<ReadRow> rows = readRows(resaved(tableOf(drafts), dropped, added), &extra);
        QCOMPARE(rows.size(), drafts.size());
        QCOMPARE(extra, QStringList{added});
        for (int n = 0; n < rows.size(); ++n) {
            Draft expected = onForm(drafts[n]);
            expected.texts.remove(u"StyledEdit36"_s);
            QCOMPARE(rows[n].draft, expected);
            QVERIFY(rows[n].cells.contains(u"jegyzet %1"_s.arg(n)));
        }
    }
};

QTEST_MAIN(TestDeclarationTable)
#include "test_declarationtable.moc"
