#include "controls/richtext/ui/tctlrichscrollbox.h"

#include "controls/common/ui/accessibletext.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QTimer>

namespace rtf {

namespace {

void applyBar(QScrollBar *bar, const ScrollBarState &state)
{
    bar->setVisible(state.visible);
    if (!state.visible) {
        bar->setRange(0, 0);
        return;
    }
    bar->setGeometry(state.geometry);
    bar->setRange(0, state.maximum);
    bar->setSingleStep(state.singleStep);
    bar->setPageStep(state.pageStep);
    bar->setValue(0);
}

} // namespace

TCtlRichScrollBox::TCtlRichScrollBox(QWidget *parent)
    : TCtlRichLabel(nullptr), m_horz(new QScrollBar(Qt::Horizontal, this)), m_vert(new QScrollBar(Qt::Vertical, this)),
      m_blink(new QTimer(this))
{
    connect(m_blink, &QTimer::timeout, this, [this] {
        m_caretOn = !m_caretOn;
        update();
    });
    setParentColor(false);
    setColor(palette().color(QPalette::Base));
    for (QScrollBar *bar : {m_horz, m_vert}) {
        bar->setFocusPolicy(Qt::NoFocus);
        bar->hide();
        connect(bar, &QScrollBar::valueChanged, this, qOverload<>(&QWidget::update));
    }
    // Attached last, so that the first rendering finds the bars in place.
    setParent(parent);
}

QRect TCtlRichScrollBox::textArea() const
{
    return m_model.scrollTextArea(size());
}

void TCtlRichScrollBox::renderModel()
{
    const int thickness = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    m_model.renderScrolling(size(), thickness);
    applyBar(m_horz, m_model.horizontalBar());
    applyBar(m_vert, m_model.verticalBar());
}

QPoint TCtlRichScrollBox::textOrigin() const
{
    return textArea().topLeft()
        - QPoint(m_horz->isVisibleTo(this) ? m_horz->value() : 0, m_vert->isVisibleTo(this) ? m_vert->value() : 0);
}

void TCtlRichScrollBox::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QPoint offset(m_horz->isVisibleTo(this) ? m_horz->value() : 0, m_vert->isVisibleTo(this) ? m_vert->value() : 0);
    m_model.paint(painter, size(), palette().color(QPalette::Dark), palette().color(QPalette::Light), offset);
    if (hasFocus() && m_caretOn) {
        const QRect caret = caretRectInDocument().translated(textOrigin());
        painter.setClipRect(textArea());
        painter.fillRect(QRect(caret.left(), caret.top(), 1, caret.height()), palette().color(QPalette::Text));
    }
}

int TCtlRichScrollBox::characterCount()
{
    // The document's last paragraph mark is not a place to read.
    return std::max(0, m_model.document().characterCount() - 1);
}

bool TCtlRichScrollBox::lineAt(int position, int *start, int *length) const
{
    QTextDocument &document = const_cast<RichLabelModel &>(m_model).document();
    const QTextBlock block = document.findBlock(position);
    if (position < 0 || !block.isValid() || !block.layout())
        return false;
    const QTextLine line = block.layout()->lineForTextPosition(position - block.position());
    if (!line.isValid()) {
        // A block not laid out (or empty) is one line.
        *start = block.position();
        *length = block.length() - 1;
        return true;
    }
    *start = block.position() + line.textStart();
    *length = line.textLength();
    return true;
}

QRect TCtlRichScrollBox::caretRectInDocument()
{
    QTextDocument &document = m_model.document();
    const QTextBlock block = document.findBlock(m_caret);
    if (!block.isValid() || !block.layout())
        return QRect();
    const QTextLine line = block.layout()->lineForTextPosition(m_caret - block.position());
    const QPointF origin = document.documentLayout()->blockBoundingRect(block).topLeft();
    if (!line.isValid())
        return QRectF(origin, QSizeF(1, fontMetrics().height())).toAlignedRect();
    const qreal x = line.cursorToX(m_caret - block.position());
    return QRectF(origin.x() + x, origin.y() + line.y(), 1, line.height()).toAlignedRect();
}

int TCtlRichScrollBox::positionAtDocumentY(int y, qreal x)
{
    QTextDocument &document = m_model.document();
    const int hit = document.documentLayout()->hitTest(QPointF(x, y), Qt::FuzzyHit);
    return std::clamp(hit < 0 ? (y < 0 ? 0 : characterCount()) : hit, 0, characterCount());
}

int TCtlRichScrollBox::positionLinesAway(int lines)
{
    QTextDocument &document = m_model.document();
    QTextBlock block = document.findBlock(m_caret);
    if (!block.isValid() || !block.layout() || block.layout()->lineCount() == 0)
        return m_caret;
    int lineNo = block.layout()->lineForTextPosition(m_caret - block.position()).lineNumber();
    // The caret's x in the document; each block's lines are measured from the block's left.
    const qreal x = caretRectInDocument().left();
    lineNo += lines;
    while (lineNo < 0) {
        block = block.previous();
        if (!block.isValid())
            return 0;
        lineNo += std::max(1, block.layout()->lineCount());
    }
    while (lineNo >= std::max(1, block.layout()->lineCount())) {
        lineNo -= std::max(1, block.layout()->lineCount());
        const QTextBlock next = block.next();
        if (!next.isValid() || next.position() > characterCount())
            return characterCount();
        block = next;
    }
    const QTextLine line = block.layout()->lineAt(lineNo);
    if (!line.isValid())
        return block.position();
    const qreal blockLeft = document.documentLayout()->blockBoundingRect(block).left();
    return std::min(block.position() + line.xToCursor(x - blockLeft), characterCount());
}

void TCtlRichScrollBox::setCaretPosition(int position)
{
    moveCaret(position, true);
}

void TCtlRichScrollBox::moveCaret(int position, bool scroll)
{
    position = std::clamp(position, 0, characterCount());
    m_caretOn = true;
    if (hasFocus())
        m_blink->start();
    if (position == m_caret) {
        update();
        return;
    }
    m_caret = position;
    if (scroll)
        ensureCaretVisible();
    update();
    ctl::notifyCaretMoved(this, m_caret);
}

void TCtlRichScrollBox::ensureCaretVisible()
{
    if (!m_vert->isVisibleTo(this))
        return;
    const QRect caret = caretRectInDocument();
    const int height = textArea().height();
    if (caret.top() < m_vert->value())
        m_vert->setValue(caret.top());
    else if (caret.bottom() >= m_vert->value() + height)
        m_vert->setValue(caret.bottom() + 1 - height);
}

void TCtlRichScrollBox::focusInEvent(QFocusEvent *event)
{
    const int flash = QApplication::cursorFlashTime();
    if (flash > 0)
        m_blink->start(flash / 2);
    m_caretOn = true;
    update();
    TCtlRichLabel::focusInEvent(event);
}

void TCtlRichScrollBox::focusOutEvent(QFocusEvent *event)
{
    m_blink->stop();
    m_caretOn = false;
    update();
    TCtlRichLabel::focusOutEvent(event);
}

void TCtlRichScrollBox::keyPressEvent(QKeyEvent *event)
{
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    int to = -1;
    bool scroll = true;
    switch (event->key()) {
    case Qt::Key_Up: to = positionLinesAway(-1); break;
    case Qt::Key_Down: to = positionLinesAway(1); break;
    case Qt::Key_PageUp:
    case Qt::Key_PageDown: {
        // The text moves by a page as the bar's page step has it, the caret with it.
        const bool down = event->key() == Qt::Key_PageDown;
        const int page = m_vert->isVisibleTo(this) ? m_vert->pageStep() : textArea().height();
        const QRect caret = caretRectInDocument();
        to = positionAtDocumentY(caret.center().y() + (down ? page : -page), caret.left());
        if (m_vert->isVisibleTo(this)) {
            m_vert->triggerAction(down ? QAbstractSlider::SliderPageStepAdd : QAbstractSlider::SliderPageStepSub);
            // The page is where the text went; the caret's line may stand at its edge.
            scroll = false;
        }
        break;
    }
    case Qt::Key_Home:
    case Qt::Key_End: {
        // To the text's ends, with Ctrl or without, as far as the text scrolls.
        const bool home = event->key() == Qt::Key_Home;
        to = home ? 0 : characterCount();
        if (m_vert->isVisibleTo(this))
            m_vert->setValue(home ? m_vert->minimum() : m_vert->maximum());
        break;
    }
    case Qt::Key_Left:
    case Qt::Key_Right: {
        const bool left = event->key() == Qt::Key_Left;
        if (!ctrl) {
            to = m_caret + (left ? -1 : 1);
            break;
        }
        // By word: to the start of the word before, or of the next one.
        const QString text = m_model.document().toPlainText();
        to = m_caret;
        auto isWord = [&](int i) { return i >= 0 && i < text.size() && text.at(i).isLetterOrNumber(); };
        if (left) {
            --to;
            while (to > 0 && !isWord(to))
                --to;
            while (to > 0 && isWord(to - 1))
                --to;
        } else {
            while (to < text.size() && isWord(to))
                ++to;
            while (to < text.size() && !isWord(to))
                ++to;
        }
        break;
    }
    default:
        TCtlRichLabel::keyPressEvent(event);
        return;
    }
    moveCaret(to, scroll);
    event->accept();
}

} // namespace rtf
