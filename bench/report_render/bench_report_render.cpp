// Drawing the prepared declaration through the page store: one page into a screen-sized image
// and the whole declaration into a 600-dpi PDF in memory. Each has a baseline in the same run
// that walks the same rebuilt page and draws its texts, lines and rectangles with bare QPainter
// calls, without the layout rules (600-dpi measuring, spread advances, visibility test).

#include "bench/benchmain.h"
#include "declaration/formaccess.h"
#include "declaration/reportvalues.h"
#include "declaration/taxcomputation.h"
#include "report/model/objects.h"
#include "report/model/page.h"
#include "report/model/report.h"
#include "report/pages/previewpages.h"
#include "report/render/pagedrawer.h"
#include "report/render/reportpagesource.h"
#include "report/resources/resources.h"
#include "runtime/formatsettings.h"
#include "runtime/messages.h"
#include "tests/report/drawfixture.h"


#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>

namespace {

constexpr double mm = 3.77953;
constexpr double pdfScale = 600.0 / 96;

// The filled declaration, prepared once for all benchmarks.
struct Prepared
{
    decl::MapForm form;
    std::unique_ptr<decl::DeclarationReport> report;
    std::unique_ptr<rep::ReportPageSource> source;

    Prepared()
    {
        form.setText(QStringLiteral("StyledEdit35"), QStringLiteral("Kovács János"));
        form.setText(QStringLiteral("StyledEdit36"), QStringLiteral("9999 Hollóberény, Kossuth Lajos utca 12."));
        form.setText(QStringLiteral("NumEdit1"), QStringLiteral("1500"));
        form.setText(QStringLiteral("NumEdit2"), QStringLiteral("300"));
        form.setText(QStringLiteral("RichEdit1"),
                     QStringLiteral("A telek keleti sarkán álló kerti tároló a bevallás évében lebontásra került. ")
                         .repeated(4));
        form.setItemIndex(QStringLiteral("CtlRadioGroup5"), 2);
        form.setItemIndex(QStringLiteral("CtlRadioGroup6"), 4);
        form.setItemIndex(QStringLiteral("CtlRadioGroup1"), 1);
        decl::szamolas(form);
        report = std::make_unique<decl::DeclarationReport>(form);
        if (!report->prepare())
            std::fprintf(stderr, "the declaration was not prepared\n");
        source = std::make_unique<rep::ReportPageSource>(report->pages());
    }

    rep::TrepPreviewPages &store() { return report->pages(); }
};

Prepared &prepared()
{
    static Prepared p;
    return p;
}

// The rebuilt page drawn with plain QPainter calls at the same places: memo text word-wrapped
// into its rectangle, lines along their edge or diagonal, shapes as rectangles.
void drawBare(QPainter &p, rep::TrepReportPage &page, double scale)
{
    const double ox = page.LeftMargin * mm * scale;
    const double oy = page.TopMargin * mm * scale;
    const auto px = [&](double v, double o) { return qRound(o + v * scale); };
    const QPen pen(Qt::black, std::max(1, qRound(scale)));
    for (rep::TrepComponent *object : page.AllObjects()) {
        auto *view = dynamic_cast<rep::TrepView *>(object);
        if (!view || dynamic_cast<rep::TrepBand *>(object))
            continue;
        const int x = px(view->AbsLeft(), ox), y = px(view->AbsTop(), oy);
        const int x1 = px(view->AbsLeft() + view->Width(), ox), y1 = px(view->AbsTop() + view->Height(), oy);
        if (auto *memo = dynamic_cast<rep::TrepCustomMemoView *>(view)) {
            QFont font = memo->Font().toQFont();
            font.setPixelSize(std::max(1, qRound(std::abs(memo->Font().Height) * scale)));
            p.setFont(font);
            p.setPen(Qt::black);
            int flags = Qt::TextWordWrap;
            flags |= memo->HAlign == rep::haCenter ? Qt::AlignHCenter
                     : memo->HAlign == rep::haRight ? Qt::AlignRight
                                                    : Qt::AlignLeft;
            flags |= memo->VAlign == rep::vaCenter ? Qt::AlignVCenter : Qt::AlignTop;
            const QRect r(QPoint(x + 2, y + 1), QPoint(x1 - 2, y1 - 1));
            p.save();
            p.setClipRect(r);
            p.drawText(r, flags, memo->Text());
            p.restore();
        } else if (auto *line = dynamic_cast<rep::TrepCustomLineView *>(view)) {
            p.setPen(pen);
            if (line->Diagonal)
                p.drawLine(x, y, x1, y1);
            else if (view->Frame.has(rep::ftLeft))
                p.drawLine(x, y, x, y1);
            else
                p.drawLine(x, y, x1, y);
        } else {
            p.setPen(pen);
            p.setBrush(Qt::NoBrush);
            p.drawRect(QRect(QPoint(x, y), QPoint(x1, y1)));
        }
    }
}

using PageDraw = std::function<void(QPainter &, int index, double scale)>;

void drawThroughStore(QPainter &p, int index, double scale)
{
    prepared().source->drawPage(index, p, scale, scale, 0, 0);
}

void drawBaseline(QPainter &p, int index, double scale)
{
    drawBare(p, *prepared().store().GetPage(index), scale);
}

void pageImage(benchmark::State &state, const PageDraw &draw)
{
    prepared();
    QImage image(794, 1123, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter p(&image);
        draw(p, 0, 1);
        p.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}

void declarationPdf(benchmark::State &state, const PageDraw &draw)
{
    const int count = prepared().source->count();
    qint64 bytes = 0;
    for (auto _ : state) {
        const QByteArray pdf = rep::test::a4Pdf([&](QPdfWriter &writer, QPainter &p) {
            for (int i = 0; i < count; ++i) {
                if (i > 0)
                    writer.newPage();
                draw(p, i, pdfScale);
            }
        });
        bytes = pdf.size();
        benchmark::DoNotOptimize(pdf.constData());
    }
    state.counters["bytes"] = double(bytes);
    state.counters["pages"] = count;
}

void BM_PageImage(benchmark::State &state) { pageImage(state, drawThroughStore); }
void BM_PageImageBaseline(benchmark::State &state) { pageImage(state, drawBaseline); }
void BM_DeclarationPdf600(benchmark::State &state) { declarationPdf(state, drawThroughStore); }
void BM_DeclarationPdf600Baseline(benchmark::State &state) { declarationPdf(state, drawBaseline); }

BENCHMARK(BM_PageImage)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_PageImageBaseline)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_DeclarationPdf600)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_DeclarationPdf600Baseline)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char **argv)
{
    tk::bench::preferOffscreen();
    QGuiApplication app(argc, argv);
    rt::setFormatSettings(rt::FormatSettings{QLatin1Char(','), QLatin1Char(' '), QStringLiteral("yyyy.MM.dd")});
    rt::setMessageHandler([](const rt::Message &m) { std::fprintf(stderr, "%s\n", qPrintable(m.text)); });
    rep::fillHungarianResources();
    rep::installPageDrawer();
    return tk::bench::runBenchmarks(argc, argv);
}
