// libFuzzer target for the RTF reader: reads the input, lays it out and draws it small.

#include "controls/richtext/richtextlayout.h"
#include "controls/richtext/rtfreader.h"

#include <QGuiApplication>
#include <QImage>
#include <QTextDocument>

#include <cstdint>
#include <cstdlib>

namespace {

void ensureApplication()
{
    if (QCoreApplication::instance())
        return;
    // Fonts need a GUI application; no display is needed for them.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char name[] = "fuzz_rtf";
    static char *argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    ensureApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    ensureApplication();
    QTextDocument document;
    rtf::readRtf(QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size)), document);
    rtf::fitDocument(document, 300, 200);
    const QImage image = rtf::renderDocument(document, QSize(120, 60), true, Qt::white, Qt::black);
    (void)image;
    return 0;
}
