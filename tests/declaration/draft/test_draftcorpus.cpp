#include "declaration/draftfile.h"
#include "tests/testhelpers.h"

#include <QTest>

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

// Replays the fuzzer's seed corpus, any finds saved beside it and a generated 50 MB file
// through the fuzz target; "ok-" seeds must load, "bad-" seeds must be refused.
class TestDraftCorpus : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void replay_data()
    {
        QVERIFY(tk::test::addCorpusRows(QStringLiteral(TK_SOURCE_DIR "/fuzz/draft/corpus")) >= 20);
        QTest::newRow("generated 50 MB value")
            << QByteArray("{\"format\": \"telekado-bevallas\", \"version\": 1, \"fields\": {\"m1\": \"")
                   + QByteArray(50 * 1000 * 1000, 'a') + QByteArray("\"}}")
            << 0;
    }
    void replay()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, verdict);
        QCOMPARE(LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t *>(bytes.constData()), size_t(bytes.size())), 0);
        if (verdict >= 0) {
            QString error;
            const bool loaded = decl::readDraft(bytes, QStringLiteral("seed.tkd"), &error).has_value();
            QVERIFY2(loaded == (verdict == 1), qPrintable(error));
        }
    }
};

QTEST_GUILESS_MAIN(TestDraftCorpus)
#include "test_draftcorpus.moc"
