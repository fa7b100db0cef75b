// Drawing a page-like set of memos, lines and rectangles: with the layout rules (600 dpi
// measuring, spread advances, exact frames) and, as a baseline in the same run, with bare
// QPainter calls on the same texts and geometry. Also the cost of one memo against its length.

#include "bench/benchmain.h"
#include "report/draw/objectdraw.h"
#include "report/draw/trepdrawtext.h"
#include "tests/report/drawfixture.h"

#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>

#include <variant>
#include <vector>

using namespace rep::draw;
using rep::test::placed;

namespace {

using PageObject = std::variant<DrawMemo, DrawLine, DrawShape>;

constexpr double mm = 3.77953;

DrawFont arial(int height, TFontStyles style = 0)
{
    DrawFont f;
    f.Height = height;
    f.Style = style;
    return f;
}

DrawMemo makeMemo(double l, double t, double w, double h, const QString &text, DrawFont font,
                  TrepHAlign ha = haLeft, TrepVAlign va = vaCenter)
{
    auto m = placed<DrawMemo>(l, t, w, h);
    m.Text = text;
    m.Font = font;
    m.HAlign = ha;
    m.VAlign = va;
    return m;
}

DrawLine makeLine(double l, double t, double w, double h, bool diagonal,
                  TrepFrameStyle style = fsSolid)
{
    auto line = placed<DrawLine>(l, t, w, h);
    line.Diagonal = diagonal;
    line.Frame.Typ = ftTop;
    line.Frame.Style = style;
    return line;
}

// About a hundred objects laid out like the first page of the declaration.
std::vector<PageObject> pageObjects()
{
    static const char *captions[] = {"neve:", "cime:", "adóazonositó száma:",
                                     "tulajdoni hányada:", "vagyoni értékű joga:", "adószáma:"};
    static const char *values[] = {"Kovács János Péterné", "9999 Hollóberény, Fő tér 12. II/4.",
                                   "8123456789", "1/2", "haszonélvezet", "12345678-1-12"};
    std::vector<PageObject> page;
    page.push_back(placed<DrawShape>(0, 638.74, 714.33, 377.95));
    page.push_back(placed<DrawShape>(0, 162.52, 714.33, 309.92));
    page.push_back(placed<DrawShape>(0, 480.0, 714.33, 151.18));
    page.push_back(makeMemo(26.46, 0, 423.31, 60.47,
                            QString::fromUtf8("Hollóberény Város Önkormányzat\r\nPolgármesteri "
                                              "Hivatal\r\n9999 Hollóberény, Fő tér 1. Tel: "
                                              "99/999-999"),
                            arial(-15, fsBold), haCenter, vaTop));
    page.push_back(makeLine(30.24, 52.91, 411.97, 0, false));
    page.push_back(makeMemo(0, 71.81, 718.11, 37.80, QString::fromUtf8("BEVALLÁS"),
                            arial(-24, fsBold), haCenter));
    page.push_back(makeMemo(18.90, 109.61, 680.32, 37.80,
                            QString::fromUtf8("2006 évi telekadó, a telek nm2 alapján történő adó "
                                              "megállapitásához a helyi adókról szóló 1990. évi "
                                              "C. törvény alapján. (ingatlan adataiban "
                                              "bekövetkezett változás)"),
                            arial(-16), haCenter));
    for (int r = 0; r < 30; ++r) {
        const double top = 173.86 + r * 26.46;
        page.push_back(makeMemo(18.90, top, 143.62, 18.90, QString::fromUtf8(captions[r % 6]),
                                arial(-15)));
        page.push_back(makeMemo(166.30, top, 536.69, 18.90, QString::fromUtf8(values[r % 6]),
                                arial(-13), r % 5 == 4 ? haRight : haLeft, vaTop));
        if (r % 3 == 2)
            page.push_back(makeLine(0, top + 22.68, 714.33, 0, false, r == 14 ? fsDouble : fsSolid));
    }
    for (int b = 0; b < 8; ++b) {
        const double left = 34.02 + (b % 4) * 154.96;
        const double top = 340.16 + (b / 4) * 22.68;
        page.push_back(placed<DrawShape>(left, top, 7.56, 7.56));
        page.push_back(makeLine(left, top, 7.56, 7.56, true));
        page.push_back(makeLine(left + 7.56, top, -7.56, 7.56, true));
    }
    page.push_back(makeMemo(215.43, 857.95, 495.12, 151.18,
                            QString::fromUtf8("A telek 2006. április 15-én került a tulajdonomba; "
                                              "a változást az ingatlan-nyilvántartás még nem "
                                              "vezette át. ")
                                .repeated(4),
                            arial(-13), haLeft, vaTop));
    page.push_back(makeMemo(0, 1024.25, 718.11, 18.90, QStringLiteral("1"), arial(-13), haCenter,
                            vaTop));
    return page;
}

void drawPage(std::vector<PageObject> &page, const DrawArgs &args, TrepDrawText &text)
{
    for (PageObject &object : page) {
        if (auto *m = std::get_if<DrawMemo>(&object))
            drawMemo(*m, args, &text);
        else if (auto *l = std::get_if<DrawLine>(&object))
            drawLine(*l, args);
        else
            drawShape(std::get<DrawShape>(object), args);
    }
}

// The same objects with plain QPainter calls: fonts by pixel size, word-wrapped text in the
// memo's rectangle, lines and rectangles at the rounded device positions.
void drawPageBare(QPainter &p, const std::vector<PageObject> &page, double scale, double offset,
                  bool printer)
{
    auto px = [&](double v) { return qRound(offset + scale * v); };
    QFont font(QStringLiteral("Arial"));
    for (const PageObject &object : page) {
        if (auto *m = std::get_if<DrawMemo>(&object)) {
            const int pixels = qRound(-m->Font.Height * (printer ? scale : scale));
            font.setPixelSize(std::max(1, pixels));
            font.setBold(m->Font.Style & fsBold);
            p.setFont(font);
            p.setPen(Qt::black);
            int flags = Qt::TextWordWrap;
            flags |= m->HAlign == haCenter ? Qt::AlignHCenter
                     : m->HAlign == haRight ? Qt::AlignRight
                                            : Qt::AlignLeft;
            flags |= m->VAlign == vaCenter ? Qt::AlignVCenter : Qt::AlignTop;
            const QRect r(QPoint(px(m->Left) + 2, px(m->Top) + 1),
                          QPoint(px(m->Left + m->Width) - 2, px(m->Top + m->Height) - 1));
            p.save();
            p.setClipRect(r);
            p.drawText(r, flags, m->Text);
            p.restore();
        } else if (auto *l = std::get_if<DrawLine>(&object)) {
            p.setPen(QPen(Qt::black, std::max(1, qRound(scale))));
            p.drawLine(px(l->Left), px(l->Top), px(l->Left + l->Width), px(l->Top + l->Height));
        } else {
            const auto &s = std::get<DrawShape>(object);
            p.setPen(QPen(Qt::black, std::max(1, qRound(scale))));
            p.setBrush(Qt::NoBrush);
            p.drawRect(QRect(QPoint(px(s.Left), px(s.Top)),
                             QPoint(px(s.Left + s.Width), px(s.Top + s.Height))));
        }
    }
}

const double margin = 10 * mm;

void BM_PageImage(benchmark::State &state)
{
    std::vector<PageObject> page = pageObjects();
    QImage img(794, 1123, QImage::Format_ARGB32_Premultiplied);
    TrepDrawText text;
    for (auto _ : state) {
        img.fill(Qt::white);
        QPainter p(&img);
        drawPage(page, drawArgs(p, 1, 1, margin, margin), text);
        p.end();
        benchmark::DoNotOptimize(img.constBits());
    }
    state.counters["objects"] = double(page.size());
}
BENCHMARK(BM_PageImage)->Unit(benchmark::kMillisecond);

void BM_PageImageBaseline(benchmark::State &state)
{
    const std::vector<PageObject> page = pageObjects();
    QImage img(794, 1123, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        img.fill(Qt::white);
        QPainter p(&img);
        drawPageBare(p, page, 1, margin, false);
        p.end();
        benchmark::DoNotOptimize(img.constBits());
    }
}
BENCHMARK(BM_PageImageBaseline)->Unit(benchmark::kMillisecond);

void BM_PagePdf600(benchmark::State &state)
{
    std::vector<PageObject> page = pageObjects();
    TrepDrawText text;
    const double scale = 600.0 / 96;
    qint64 bytes = 0;
    for (auto _ : state) {
        const QByteArray out = rep::test::a4Pdf([&](QPdfWriter &, QPainter &p) {
            drawPage(page, drawArgs(p, scale, scale, margin * scale, margin * scale), text);
        });
        bytes = out.size();
        benchmark::DoNotOptimize(out.constData());
    }
    state.counters["bytes"] = double(bytes);
}
BENCHMARK(BM_PagePdf600)->Unit(benchmark::kMillisecond);

void BM_PagePdf600Baseline(benchmark::State &state)
{
    const std::vector<PageObject> page = pageObjects();
    const double scale = 600.0 / 96;
    qint64 bytes = 0;
    for (auto _ : state) {
        const QByteArray out = rep::test::a4Pdf(
            [&](QPdfWriter &, QPainter &p) { drawPageBare(p, page, scale, margin * scale, true); });
        bytes = out.size();
        benchmark::DoNotOptimize(out.constData());
    }
    state.counters["bytes"] = double(bytes);
}
BENCHMARK(BM_PagePdf600Baseline)->Unit(benchmark::kMillisecond);

// One memo of the remarks box's size holding a text of the given length: words, one unbroken
// word, or one line break after every character. The time grows linearly with the length.
void memoOfLength(benchmark::State &state, int kind)
{
    const int length = int(state.range(0));
    QString textValue;
    if (kind == 0) {
        const QString word = QStringLiteral("szöveg ");
        while (textValue.size() < length)
            textValue += word;
        textValue.truncate(length);
    } else if (kind == 1) {
        textValue = QString(length, QLatin1Char('W'));
    } else {
        textValue = QStringLiteral("x\n").repeated(length / 2);
    }
    QImage img(794, 1123, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::white);
    QPainter p(&img);
    TrepDrawText text;
    const DrawArgs args = drawArgs(p, 1, 1, margin, margin);
    for (auto _ : state) {
        DrawMemo m = makeMemo(215.43, 857.95, 495.12, 151.18, textValue, arial(-13), haLeft, vaTop);
        drawMemo(m, args, &text);
    }
    state.SetComplexityN(length);
}

void BM_MemoWords(benchmark::State &state) { memoOfLength(state, 0); }
void BM_MemoOneWord(benchmark::State &state) { memoOfLength(state, 1); }
void BM_MemoLineBreaks(benchmark::State &state) { memoOfLength(state, 2); }
BENCHMARK(BM_MemoWords)->RangeMultiplier(4)->Range(1000, 256000)->Complexity()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MemoOneWord)->RangeMultiplier(4)->Range(1000, 256000)->Complexity()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MemoLineBreaks)->RangeMultiplier(4)->Range(1000, 256000)->Complexity()->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    tk::bench::preferOffscreen();
    QGuiApplication app(argc, argv);
    return tk::bench::runBenchmarks(argc, argv);
}
