#include "declaration/table/declarationtable.h"
#include "tests/testhelpers.h"

#include <QBuffer>
#include <QTest>

#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int *, char ***);
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

// Replays the table fuzzer's seed corpus and any finds saved beside it through the fuzz target;
// every row of an "ok-" seed must read, a "bad-" seed must be refused or have a row refused.
class TestTableCorpus : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { LLVMFuzzerInitialize(nullptr, nullptr); }

    void replay_data()
    {
        QVERIFY(tk::test::addCorpusRows(QStringLiteral(TK_SOURCE_DIR "/fuzz/table/corpus")) >= 5);
    }
    void replay()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, verdict);
        QCOMPARE(LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t *>(bytes.constData()), size_t(bytes.size())), 0);
        if (verdict < 0)
            return;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        decl::TableReader reader(&buffer);
        QString error;
        bool good = reader.readHeader(&error);
        decl::TableReader::Next next = decl::TableReader::Next::End;
        while (good && (next = reader.next()) == decl::TableReader::Next::Row) {
        }
        good = good && next == decl::TableReader::Next::End;
        QVERIFY2(good == (verdict == 1), qPrintable(good ? QStringLiteral("read whole") : error + reader.error()));
    }
};

QTEST_GUILESS_MAIN(TestTableCorpus)
#include "test_tablecorpus.moc"
