#include "report/preview/treppreview.h"

#include "logging_p.h"
#include "report/preview/previewtexts.h"
#include "report/preview/trepsearchdialog.h"
#include "report/preview/treppreviewworkspace.h"
#include "report/print/pagesource.h"
#include "runtime/messages.h"
#include "runtime/ui/growtotexts.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScopeGuard>
#include <QTreeWidget>

namespace rep {

namespace {
constexpr int kPanelWidth = 260;
constexpr int kPanelHeight = 75;
constexpr int kPageKeyStep = 300;
constexpr int kLineKeyStep = 8;

// The last confirmed search text outlives the window: the next preview offers it again.
QString &lastSearchText()
{
    static QString text;
    return text;
}

QString defaultSaveFileName(QWidget *parent, const QString &filter)
{
    return QFileDialog::getSaveFileName(parent, QString(), QString(), filter);
}
} // namespace

TrepPreview::TrepPreview(QWidget *parent)
    : QWidget(parent), m_text(effectiveLookup({})),
      m_search([this] { return m_state.pageCount(); }, [this](int page) { return pageText(page); })
{
    setObjectName(QStringLiteral("Preview"));
    setFocusPolicy(Qt::StrongFocus);

    m_outline = new QTreeWidget(this);
    m_outline->setObjectName(QStringLiteral("OutlineTree"));
    m_outline->setHeaderHidden(true);
    m_outline->setFixedWidth(120);
    m_outline->hide();

    m_workspace = new TrepPreviewWorkspace(m_state, this);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_outline);
    layout->addWidget(m_workspace, 1);

    m_messagePanel = new QFrame(this);
    m_messagePanel->setObjectName(QStringLiteral("MessageP"));
    m_messagePanel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    m_messagePanel->setAutoFillBackground(true);
    m_messagePanel->resize(kPanelWidth, kPanelHeight);
    m_messageLabel = new QLabel(m_messagePanel);
    m_messageLabel->setObjectName(QStringLiteral("MessageL"));
    m_messageLabel->setGeometry(4, 20, 255, 20);
    m_messageLabel->setAlignment(Qt::AlignCenter);
    m_messageCancel = new QPushButton(m_messagePanel);
    m_messageCancel->setObjectName(QStringLiteral("MessageCancelB"));
    m_messageCancel->setGeometry(92, 44, 75, 25);
    m_messageCancel->setAutoDefault(false);
    m_messageCancel->hide();
    connect(m_messageCancel, &QPushButton::clicked, this, &TrepPreview::requestStop);
    m_messagePanel->hide();

    m_state.viewChanged = [this] { m_workspace->syncFromState(); };
    m_state.pageChanged = [this] { Q_EMIT pageChanged(m_state.currentPage(), m_state.pageCount()); };
    m_state.zoomChanged = [this] { Q_EMIT zoomChanged(m_state.zoom()); };
    m_messageCancel->setText(text(QStringLiteral("clCancel")));
}

TrepPreview::~TrepPreview()
{
    // The state's notifications point into this widget and its children.
    m_state.viewChanged = nullptr;
    m_state.pageChanged = nullptr;
    m_state.zoomChanged = nullptr;
    // The workspace draws from m_state, which goes before the children would.
    delete m_workspace;
    m_workspace = nullptr;
}

void TrepPreview::setHooks(PreviewHooks hooks)
{
    m_hooks = std::move(hooks);
    m_text = effectiveLookup(m_hooks.text);
    m_messageCancel->setText(text(QStringLiteral("clCancel")));
}

QString TrepPreview::text(const QString &key) const
{
    return m_text(key);
}

void TrepPreview::setSource(PageSource *source)
{
    m_source = source;
    m_workspace->setSource(source);
    m_workspace->setHit(-1, {});
    m_search.clearCache();
    reloadPages();
    pageNo(1);
    m_workspace->viewport()->update();
}

void TrepPreview::reloadPages()
{
    QList<QSize> sizes;
    if (m_source) {
        const int n = m_source->count();
        sizes.reserve(n);
        for (int i = 0; i < n; ++i)
            sizes.append(m_source->pageSize(i));
    }
    m_state.setClientSize(m_workspace->viewport()->size());
    m_state.setPageSizes(sizes);
}

void TrepPreview::setOutline(bool visible, int width)
{
    m_outline->setFixedWidth(qMax(0, width));
    m_outline->setVisible(visible);
}

void TrepPreview::setZoom(double z)
{
    m_state.setZoom(z);
}

void TrepPreview::setZoomMode(TrepZoomMode mode)
{
    m_state.setZoomMode(mode);
}

void TrepPreview::pageNo(int n)
{
    m_state.goToPage(n);
}

template<typename Work>
void TrepPreview::runCommand(Work &&work)
{
    // A print started while another one runs would end the first one's document under it (they
    // share the printer); saving and searching would draw pages meanwhile.
    if (busy()) {
        qCInfo(lcPreview, "a command was ignored: the preview is busy");
        return;
    }
    m_commandRunning = true;
    rt::runHandler(std::forward<Work>(work));
    m_commandRunning = false;
    if (m_state.locked())
        unlock();
}

void TrepPreview::printCommand()
{
    runCommand([this] {
        if (!m_hooks.hasPhysicalPrinter || !m_hooks.hasPhysicalPrinter()) {
            rt::showMessage({text(QStringLiteral("mbError")), text(QStringLiteral("clNoPrinters")),
                             rt::Message::Icon::Stop});
            return;
        }
        printPages();
    });
}

void TrepPreview::print()
{
    runCommand([this] { printPages(); });
}

void TrepPreview::printPages()
{
    if (!m_hooks.print) {
        qCWarning(lcPreview, "nothing is printed: no print callback is connected");
        return;
    }
    m_stop = false;
    // Also after a cancelled dialog or an error: unlocking makes page 1 current again.
    const auto unlockAfterwards = qScopeGuard([this] { unlock(); });
    m_hooks.print(*this);
}

void TrepPreview::saveToFile()
{
    runCommand([this] {
        const QString filter = text(QStringLiteral("clPRPfiles")) + QStringLiteral(" (*.prp)");
        const auto ask = m_hooks.saveFileName ? m_hooks.saveFileName : defaultSaveFileName;
        QString name = ask(this, filter);
        if (name.isEmpty())
            return;
        m_workspace->viewport()->repaint();
        name = changeFileExt(name, QStringLiteral(".prp"));
        lock();
        showMessage(text(QStringLiteral("clSaving")), false);
        if (m_source)
            m_source->saveToFile(name);
    });
}

void TrepPreview::savePdf()
{
    runCommand([this] {
        if (m_hooks.savePdf)
            m_hooks.savePdf(this);
    });
}

void TrepPreview::find()
{
    runCommand([this] {
        SearchRequest request;
        if (m_hooks.askSearch) {
            request = m_hooks.askSearch(this, lastSearchText());
        } else {
            TrepSearchDialog dialog(m_text, this);
            dialog.setSearchText(lastSearchText());
            request.accepted = dialog.exec() == QDialog::Accepted;
            request.text = dialog.searchText();
            request.fromTop = dialog.fromTop();
            request.caseSensitive = dialog.caseSensitive();
        }
        m_findEnabled = true;
        if (!request.accepted)
            return;
        lastSearchText() = request.text;
        m_workspace->setHit(-1, {});
        // A page that cannot be rebuilt ends the search with its error.
        if (m_search.start(request.text, request.caseSensitive, request.fromTop ? 0 : m_state.currentPage() - 1))
            showHit();
    });
}

void TrepPreview::findNext()
{
    runCommand([this] {
        if (m_findEnabled && m_search.findNext())
            showHit();
    });
}

QList<TextRecord> TrepPreview::pageText(int page)
{
    if (!m_source)
        return {};
    return recordPageText(*m_source, page);
}

void TrepPreview::showHit()
{
    m_workspace->setHit(m_search.hitPage(), m_search.hitBounds());
    const QRect hit = m_workspace->hitRect();
    const QSize client = m_state.clientSize();
    QPoint scroll = m_state.scroll();
    if (hit.top() < 0 || hit.bottom() >= client.height())
        scroll.ry() += hit.bottom() + 1 - (client.height() - 20);
    if (hit.left() < 0 || hit.right() >= client.width())
        scroll.rx() += hit.right() + 1 - (client.width() - 20);
    m_state.setScroll(scroll);
    m_workspace->viewport()->update();
}

void TrepPreview::lock()
{
    m_state.lock();
}

void TrepPreview::unlock()
{
    m_messageCancel->hide();
    m_messagePanel->hide();
    m_state.unlock();
    m_workspace->viewport()->update();
}

void TrepPreview::pageBeingPrinted(int pageNumber)
{
    showMessage(text(QStringLiteral("clPrinting")) + QLatin1Char(' ') + QString::number(pageNumber), true);
}

void TrepPreview::showMessage(const QString &message, bool withCancel)
{
    m_messageLabel->setText(message);
    m_messageCancel->setVisible(withCancel);
    rt::growToTexts(m_messagePanel);
    placeMessagePanel();
    m_messagePanel->show();
    m_messagePanel->raise();
    m_messagePanel->repaint();
    QCoreApplication::processEvents();
}

void TrepPreview::placeMessagePanel()
{
    m_messagePanel->move((width() - m_messagePanel->width()) / 2, (height() - m_messagePanel->height()) / 3);
}

void TrepPreview::keyPressEvent(QKeyEvent *event)
{
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    switch (event->key()) {
    case Qt::Key_PageUp: m_state.scrollBy(0, -kPageKeyStep); break;
    case Qt::Key_PageDown: m_state.scrollBy(0, kPageKeyStep); break;
    case Qt::Key_Up: m_state.scrollBy(0, -kLineKeyStep); break;
    case Qt::Key_Down: m_state.scrollBy(0, kLineKeyStep); break;
    case Qt::Key_Left: m_state.scrollBy(-kLineKeyStep, 0); break;
    case Qt::Key_Right: m_state.scrollBy(kLineKeyStep, 0); break;
    case Qt::Key_Home: first(); break;
    case Qt::Key_End: last(); break;
    case Qt::Key_F3: findNext(); break;
    case Qt::Key_P:
    case Qt::Key_S:
    case Qt::Key_F:
        if (!ctrl) {
            QWidget::keyPressEvent(event);
            return;
        }
        if (event->key() == Qt::Key_P)
            printCommand();
        else if (event->key() == Qt::Key_S)
            saveToFile();
        else
            find();
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

void TrepPreview::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    placeMessagePanel();
}

} // namespace rep
