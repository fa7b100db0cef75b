#include "declaration/declarationcode.h"
#include "tests/testhelpers.h"

#include <QTest>

#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int *, char ***);
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

// Replays the code fuzzer's seed corpus and any finds saved beside it through the fuzz target;
// "ok-" seeds must read, "bad-" seeds must be refused.
class TestCodeCorpus : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { LLVMFuzzerInitialize(nullptr, nullptr); }

    void replay_data()
    {
        QVERIFY(tk::test::addCorpusRows(QStringLiteral(TK_SOURCE_DIR "/fuzz/code/corpus")) >= 5);
    }
    void replay()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, verdict);
        QCOMPARE(LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t *>(bytes.constData()), size_t(bytes.size())), 0);
        if (verdict >= 0) {
            QString error;
            const bool read = decl::readCode(bytes, QStringLiteral("seed"), &error).has_value();
            QVERIFY2(read == (verdict == 1), qPrintable(error));
        }
    }
};

QTEST_GUILESS_MAIN(TestCodeCorpus)
#include "test_codecorpus.moc"
