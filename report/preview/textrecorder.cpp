#include "report/preview/textrecorder.h"

#include "report/print/pagesource.h"

#include <QPaintEngine>
#include <QPainter>
#include <QTransform>

namespace rep {

class TextRecorder::Engine : public QPaintEngine
{
public:
    Engine() : QPaintEngine(QPaintEngine::AllFeatures) {}

    bool begin(QPaintDevice *) override
    {
        m_transform = QTransform();
        return true;
    }
    bool end() override { return true; }
    Type type() const override { return QPaintEngine::User; }

    void updateState(const QPaintEngineState &state) override
    {
        if (state.state() & QPaintEngine::DirtyTransform)
            m_transform = state.transform();
    }

    void drawTextItem(const QPointF &p, const QTextItem &item) override
    {
        // Glyph runs come without characters; the memo lines among them arrive through
        // textDrawn with their texts.
        if (item.text().isEmpty())
            return;
        const QRectF local(p.x(), p.y() - item.ascent(), item.width(), item.ascent() + item.descent());
        records.append(TextRecord{item.text(), m_transform.mapRect(local)});
    }

    // Everything but text is of no interest.
    void drawPixmap(const QRectF &, const QPixmap &, const QRectF &) override {}
    void drawImage(const QRectF &, const QImage &, const QRectF &, Qt::ImageConversionFlags) override {}
    void drawTiledPixmap(const QRectF &, const QPixmap &, const QPointF &) override {}
    void drawRects(const QRect *, int) override {}
    void drawRects(const QRectF *, int) override {}
    void drawLines(const QLine *, int) override {}
    void drawLines(const QLineF *, int) override {}
    void drawEllipse(const QRectF &) override {}
    void drawEllipse(const QRect &) override {}
    void drawPath(const QPainterPath &) override {}
    void drawPoints(const QPointF *, int) override {}
    void drawPoints(const QPoint *, int) override {}
    void drawPolygon(const QPointF *, int, PolygonDrawMode) override {}
    void drawPolygon(const QPoint *, int, PolygonDrawMode) override {}

    QList<TextRecord> records;

private:
    QTransform m_transform;
};

TextRecorder::TextRecorder(QSize size) : m_engine(std::make_unique<Engine>()), m_size(size) {}

TextRecorder::~TextRecorder() = default;

const QList<TextRecord> &TextRecorder::records() const
{
    return m_engine->records;
}

void TextRecorder::clear()
{
    m_engine->records.clear();
}

QPaintEngine *TextRecorder::paintEngine() const
{
    return m_engine.get();
}

void TextRecorder::textDrawn(const QString &text, const QRectF &bounds)
{
    m_engine->records.append(TextRecord{text, bounds});
}

int TextRecorder::metric(PaintDeviceMetric metric) const
{
    switch (metric) {
    case PdmWidth: return m_size.width();
    case PdmHeight: return m_size.height();
    case PdmWidthMM: return qRound(m_size.width() * 25.4 / 96);
    case PdmHeightMM: return qRound(m_size.height() * 25.4 / 96);
    case PdmNumColors: return 0x7fffffff;
    case PdmDepth: return 32;
    case PdmDpiX:
    case PdmDpiY:
    case PdmPhysicalDpiX:
    case PdmPhysicalDpiY: return 96;
    case PdmDevicePixelRatio: return 1;
    case PdmDevicePixelRatioScaled: return int(devicePixelRatioFScale());
    default: return 0;
    }
}

QList<TextRecord> recordPageText(PageSource &source, int index)
{
    TextRecorder recorder(source.pageSize(index).expandedTo(QSize(1, 1)));
    {
        QPainter painter(&recorder);
        source.drawPage(index, painter, 1, 1, 0, 0);
    }
    return recorder.records();
}

} // namespace rep
