#include "controls/richtext/rtfreader.h"
#include "tests/testhelpers.h"

#include <QDir>
#include <QTest>
#include <QTextDocument>

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

// Replays the fuzzer's seed corpus, and any finds saved beside it, through the fuzz target.
class TestRtfCorpus : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void replay_data();
    void replay();
};

void TestRtfCorpus::replay_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("ours");
    const QString root = QStringLiteral(TK_SOURCE_DIR);
    const struct { QString dir; bool ours; } dirs[] = {
        {root + QStringLiteral("/app/guide/rtf"), true},
        {root + QStringLiteral("/fuzz/rtf/corpus"), false},
    };
    int rows = 0;
    for (const auto &d : dirs) {
        for (const QFileInfo &f : QDir(d.dir).entryInfoList(QDir::Files, QDir::Name)) {
            QTest::newRow(qPrintable(f.fileName())) << f.filePath() << d.ours;
            ++rows;
        }
    }
    QVERIFY(rows > 48);
}

void TestRtfCorpus::replay()
{
    QFETCH(QString, path);
    QFETCH(bool, ours);
    bool read = false;
    const QByteArray data = tk::test::readFile(path, &read);
    QVERIFY(read);
    QCOMPARE(LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t *>(data.constData()), size_t(data.size())), 0);
    if (ours) {
        // The program's own documents are well formed.
        QTextDocument d;
        const rtf::ReadResult r = rtf::readRtf(data, d);
        QVERIFY2(r.ok, qPrintable(r.errorString));
        QVERIFY(!d.toPlainText().isEmpty());
    }
}

QTEST_MAIN(TestRtfCorpus)
#include "test_rtfcorpus.moc"
