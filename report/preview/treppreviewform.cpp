#include "report/preview/treppreviewform.h"

#include "report/resources/resources.h"
#include "report/preview/previewzoom.h"
#include "report/preview/toolbaricons.h"
#include "report/print/pagesource.h"
#include "runtime/messages.h"
#include "runtime/ui/designfonts.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QScreen>
#include <QCoreApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace rep {

namespace {
constexpr int kButtonHeight = 23;
constexpr int kPageWidthEntry = 6;
constexpr int kWholePageEntry = 7;

// Each toolbar group with the separator in front of it; a group without a visible control
// takes its separator with it.
struct ButtonGroup
{
    const char *separator;
    QList<std::pair<TrepPreviewButton, QList<const char *>>> members;
};

const QList<ButtonGroup> &buttonGroups()
{
    static const QList<ButtonGroup> groups = {
        {nullptr,
         {{pbPrint, {"PrintB"}}, {pbLoad, {"OpenB"}}, {pbSave, {"SaveB"}}, {pbExport, {"ExportB"}},
          {pbFind, {"FindB"}}}},
        {"Sep1", {{pbZoom, {"ZoomWholePageB", "ZoomPageWidthB", "Zoom100B", "Zoom50B", "ZoomPanel"}}}},
        {"Sep2", {{pbPageSetup, {"PageSettingsB"}}, {pbOutline, {"OutlineB"}}}},
        {"Sep3", {{pbTools, {"HandToolB", "ZoomToolB"}}}},
        {"Sep4", {{pbEdit, {"NewPageB", "DelPageB", "DesignerB"}}}},
        {"Sep5", {{pbNavigator, {"FirstB", "PriorB", "NextB", "LastB", "PagePanel"}}}},
    };
    return groups;
}
} // namespace

TrepPreviewForm::TrepPreviewForm(QWidget *parent, PreviewHooks hooks) : QDialog(parent)
{
    setObjectName(QStringLiteral("TrepPreviewForm"));
    setWindowTitle(QStringLiteral("Preview"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint
                   | Qt::WindowCloseButtonHint);
    setFont(rt::dialogFont());
    setWindowIcon(previewToolbarIcon(QStringLiteral("ZoomWholePageB")));
    // The designed client area, used when the window is not maximized.
    resize(741, 584);
    move(185, 107);

    m_preview = new TrepPreview(this);
    m_preview->setHooks(std::move(hooks));

    m_toolbar = new QFrame(this);
    m_toolbar->setObjectName(QStringLiteral("ToolBar"));
    auto *bar = new QHBoxLayout(m_toolbar);
    bar->setContentsMargins(2, 2, 2, 2);
    bar->setSpacing(0);

    QToolButton *printB = addButton("PrintB", QStringLiteral("Print"));
    QToolButton *openB = addButton("OpenB", QStringLiteral("Open"));
    QToolButton *saveB = addButton("SaveB", QStringLiteral("Save"));
    QToolButton *exportB = addButton("ExportB", QStringLiteral("Export"));
    exportB->setMenu(new QMenu(exportB));
    exportB->setPopupMode(QToolButton::InstantPopup);
    QToolButton *findB = addButton("FindB", QStringLiteral("Find"));
    addSeparator("Sep1");
    QToolButton *wholeB = addButton("ZoomWholePageB", QStringLiteral("Whole page"));
    QToolButton *widthB = addButton("ZoomPageWidthB", QStringLiteral("Page width"));
    QToolButton *z100B = addButton("Zoom100B", QStringLiteral("100%"));
    QToolButton *twoB = addButton("Zoom50B", QStringLiteral("Two pages"));

    m_zoomPanel = new QWidget(m_toolbar);
    m_zoomPanel->setObjectName(QStringLiteral("ZoomPanel"));
    m_zoomPanel->setFixedSize(56, kButtonHeight);
    m_zoomBox = new QComboBox(m_zoomPanel);
    m_zoomBox->setObjectName(QStringLiteral("ZoomCB"));
    m_zoomBox->setEditable(true);
    m_zoomBox->setInsertPolicy(QComboBox::NoInsert);
    m_zoomBox->setGeometry(3, 1, 49, 21);
    m_zoomBox->view()->setMinimumWidth(100);
    m_zoomBox->setToolTip(QStringLiteral("Zoom"));
    // Drawn flat with an 11-pixel button: flat while idle, raised under the mouse or with the
    // focus, sunken while the list is open.
    m_zoomBox->setStyleSheet(QStringLiteral(
        "QComboBox { border: 1px solid palette(button); background: palette(base); padding: 0 0 0 1px; }"
        "QComboBox:hover, QComboBox:focus { border: 1px outset palette(mid); }"
        "QComboBox:on { border: 1px inset palette(mid); }"
        "QComboBox::drop-down { width: 11px; border: 1px solid palette(button); background: palette(button); }"
        "QComboBox::drop-down:hover { border: 1px outset palette(mid); }"
        "QComboBox::drop-down:on { border: 1px inset palette(mid); }"
        "QComboBox::down-arrow { width: 5px; height: 3px; border-left: 2px solid palette(button);"
        " border-right: 2px solid palette(button); border-top: 3px solid palette(text); }"));
    m_zoomBox->lineEdit()->installEventFilter(this);
    bar->addWidget(m_zoomPanel);
    m_toolbarControls.append(m_zoomPanel);

    addSeparator("Sep2");
    addButton("PageSettingsB", QStringLiteral("Margins"));
    QToolButton *outlineB = addButton("OutlineB", QStringLiteral("Outline"));
    outlineB->setCheckable(true);
    addSeparator("Sep3");
    QToolButton *handB = addButton("HandToolB", QStringLiteral("Hand tool"));
    QToolButton *zoomToolB = addButton("ZoomToolB", QStringLiteral("Zoom tool"));
    handB->setCheckable(true);
    zoomToolB->setCheckable(true);
    handB->setAutoExclusive(true);
    zoomToolB->setAutoExclusive(true);
    handB->setChecked(true);
    addSeparator("Sep4");
    addButton("NewPageB", QStringLiteral("New page"));
    addButton("DelPageB", QStringLiteral("Delete page"));
    addButton("DesignerB", QStringLiteral("Edit page"));
    addSeparator("Sep5");
    QToolButton *firstB = addButton("FirstB", QStringLiteral("First"));
    QToolButton *priorB = addButton("PriorB", QStringLiteral("Prior"));
    QToolButton *nextB = addButton("NextB", QStringLiteral("Next"));
    QToolButton *lastB = addButton("LastB", QStringLiteral("Last"));
    m_pagePanel = new QWidget(m_toolbar);
    m_pagePanel->setObjectName(QStringLiteral("PagePanel"));
    m_pagePanel->setFixedSize(47, kButtonHeight);
    m_pageEdit = new QLineEdit(QStringLiteral("1"), m_pagePanel);
    m_pageEdit->setObjectName(QStringLiteral("PageE"));
    m_pageEdit->setGeometry(5, 1, 37, 21);
    m_pageEdit->installEventFilter(this);
    bar->addWidget(m_pagePanel);
    m_toolbarControls.append(m_pagePanel);

    auto *emptyPanel = new QWidget(m_toolbar);
    emptyPanel->setObjectName(QStringLiteral("repTBPanel1"));
    emptyPanel->setFixedSize(50, kButtonHeight);
    bar->addWidget(emptyPanel);
    m_toolbarControls.append(emptyPanel);
    m_closeButton = new QPushButton(QStringLiteral("Close"), m_toolbar);
    m_closeButton->setObjectName(QStringLiteral("CancelB"));
    m_closeButton->setFixedSize(68, 23);
    m_closeButton->setAutoDefault(false);
    bar->addWidget(m_closeButton);
    m_toolbarControls.append(m_closeButton);
    bar->addStretch(1);

    m_statusBar = new QStatusBar(this);
    m_statusBar->setObjectName(QStringLiteral("StatusBar"));
    m_statusBar->setSizeGripEnabled(false);
    m_statusPage = new QLabel(m_statusBar);
    m_statusPage->setObjectName(QStringLiteral("StatusBarPanel0"));
    m_statusPage->setFixedWidth(150);
    m_statusProgress = new QLabel(m_statusBar);
    m_statusProgress->setObjectName(QStringLiteral("StatusBarPanel1"));
    m_statusProgress->setFixedWidth(50);
    m_statusBar->addWidget(m_statusPage);
    m_statusBar->addWidget(m_statusProgress);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_toolbar);
    layout->addWidget(m_preview, 1);
    layout->addWidget(m_statusBar);

    // Localize, then the zoom list with its two localized entries, then the pictures.
    localizeLines(this, m_preview->text(QStringLiteral("TrepPreviewForm")));
    m_zoomBox->addItems({QStringLiteral("25%"), QStringLiteral("50%"), QStringLiteral("75%"),
                         QStringLiteral("100%"), QStringLiteral("150%"), QStringLiteral("200%"),
                         m_preview->text(QStringLiteral("zmPageWidth")),
                         m_preview->text(QStringLiteral("zmWholePage"))});
    m_zoomBox->setEditText(QStringLiteral("100%"));
    for (QWidget *w : std::as_const(m_toolbarControls))
        if (auto *b = qobject_cast<QToolButton *>(w))
            b->setIcon(previewToolbarIcon(b->objectName()));

    connect(printB, &QToolButton::clicked, m_preview, &TrepPreview::printCommand);
    connect(saveB, &QToolButton::clicked, m_preview, &TrepPreview::saveToFile);
    connect(findB, &QToolButton::clicked, m_preview, &TrepPreview::find);
    connect(wholeB, &QToolButton::clicked, this, [this] {
        m_preview->setZoomMode(zmWholePage);
        rewriteZoomBox();
    });
    connect(widthB, &QToolButton::clicked, this, [this] {
        m_preview->setZoomMode(zmPageWidth);
        rewriteZoomBox();
    });
    connect(z100B, &QToolButton::clicked, this, [this] {
        m_preview->setZoom(1.0);
        rewriteZoomBox();
    });
    connect(twoB, &QToolButton::clicked, this, [this] {
        m_preview->setZoomMode(zmManyPages);
        rewriteZoomBox();
    });
    connect(firstB, &QToolButton::clicked, m_preview, &TrepPreview::first);
    connect(priorB, &QToolButton::clicked, m_preview, &TrepPreview::prior);
    connect(nextB, &QToolButton::clicked, m_preview, &TrepPreview::next);
    connect(lastB, &QToolButton::clicked, m_preview, &TrepPreview::last);
    connect(m_zoomBox, &QComboBox::activated, this, [this](int index) {
        // The box also reports a typed text matching an entry when it loses the focus; only a
        // choice from the list (the box keeps the focus) applies, Enter is handled apart.
        if (m_zoomBox->hasFocus() || m_zoomBox->lineEdit()->hasFocus())
            applyZoomBox(index);
    });
    connect(m_closeButton, &QPushButton::clicked, this, &QDialog::close);
    connect(m_preview, &TrepPreview::pageChanged, this, &TrepPreviewForm::updateStatus);
    connect(m_preview, &TrepPreview::zoomChanged, this, &TrepPreviewForm::rewriteZoomBox);
    (void)openB;

    m_preview->setFocus();
}

TrepPreviewForm::~TrepPreviewForm()
{
    // The children outlive this part of the object: nothing they report may reach it.
    m_zoomBox->disconnect(this);
    m_preview->disconnect(this);
    m_closeButton->disconnect(this);
    m_zoomBox->lineEdit()->removeEventFilter(this);
    m_pageEdit->removeEventFilter(this);
}

QToolButton *TrepPreviewForm::addButton(const char *name, const QString &englishCaption)
{
    auto *b = new QToolButton(m_toolbar);
    b->setObjectName(QString::fromLatin1(name));
    b->setText(englishCaption);
    b->setToolTip(englishCaption);
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::NoFocus);
    b->setToolButtonStyle(Qt::ToolButtonIconOnly);
    b->setFixedHeight(kButtonHeight);
    b->setMinimumWidth(kButtonHeight);
    b->setIconSize(QSize(16, 16));
    m_toolbar->layout()->addWidget(b);
    m_toolbarControls.append(b);
    return b;
}

QFrame *TrepPreviewForm::addSeparator(const char *name)
{
    auto *sep = new QFrame(m_toolbar);
    sep->setObjectName(QString::fromLatin1(name));
    sep->setFrameStyle(QFrame::VLine | QFrame::Sunken);
    sep->setFixedSize(8, kButtonHeight);
    m_toolbar->layout()->addWidget(sep);
    m_toolbarControls.append(sep);
    return sep;
}

void TrepPreviewForm::init(PageSource *source, const TrepPreviewOptions &options, const QString &reportName)
{
    if (options.Maximized) {
        // Without a window manager the state alone changes nothing: fill the work area too.
        if (QScreen *sc = screen())
            setGeometry(sc->availableGeometry());
        setWindowState(windowState() | Qt::WindowMaximized);
    }
    m_preview->setOutline(options.OutlineVisible, options.OutlineWidth);
    m_preview->setZoom(options.Zoom);
    m_preview->setZoomMode(options.ZoomMode);
    for (const char *name : {"NewPageB", "DelPageB", "DesignerB"})
        if (auto *b = m_toolbar->findChild<QWidget *>(QString::fromLatin1(name)))
            b->setEnabled(options.AllowEdit);
    applyButtons(options.Buttons);
    for (QWidget *w : std::as_const(m_toolbarControls))
        if (auto *b = qobject_cast<QToolButton *>(w)) {
            b->setToolButtonStyle(options.ShowCaptions ? Qt::ToolButtonTextBesideIcon : Qt::ToolButtonIconOnly);
            if (!options.ShowCaptions)
                b->setFixedWidth(kButtonHeight);
        }
    if (!reportName.isEmpty())
        setWindowTitle(reportName);
    m_preview->setSource(source);
    updateStatus();
    rewriteZoomBox();
    m_preview->setFocus();
}

void TrepPreviewForm::applyButtons(TrepPreviewButtons buttons)
{
    for (const ButtonGroup &group : buttonGroups()) {
        bool any = false;
        for (const auto &[button, names] : group.members) {
            for (const char *name : names) {
                QWidget *w = m_toolbar->findChild<QWidget *>(QString::fromLatin1(name));
                if (!w)
                    continue;
                w->setVisible((buttons & buttonBit(button)) != 0);
            }
            any = any || (buttons & buttonBit(button)) != 0;
        }
        if (group.separator)
            m_toolbar->findChild<QWidget *>(QString::fromLatin1(group.separator))->setVisible(any);
    }
}

QString TrepPreviewForm::pageText() const
{
    return m_statusPage->text();
}

void TrepPreviewForm::updateStatus()
{
    const int current = m_preview->currentPage();
    m_statusPage->setText(
        formatNumbers(m_preview->text(QStringLiteral("clPageOf")), {current, m_preview->pageCount()}));
    m_pageEdit->setText(QString::number(current));
}

void TrepPreviewForm::rewriteZoomBox()
{
    m_zoomBox->setEditText(zoomText(m_preview->zoom()));
    m_zoomBox->lineEdit()->setCursorPosition(0);
}

void TrepPreviewForm::applyZoomBox(int index)
{
    m_preview->setFocus();
    const QString text = m_zoomBox->currentText();
    if (index < 0)
        index = m_zoomBox->findText(text, Qt::MatchExactly);
    // Called from the box's list while it closes and moves the focus: an error is shown once
    // that is over.
    rt::runHandler([&] {
        if (index == kPageWidthEntry)
            m_preview->setZoomMode(zmPageWidth);
        else if (index == kWholePageEntry)
            m_preview->setZoomMode(zmWholePage);
        else if (const std::optional<double> z = parseZoomText(text))
            m_preview->setZoom(*z);
    });
    // Posted, so that the box's own handling of the choice cannot overwrite it afterwards.
    QMetaObject::invokeMethod(this, &TrepPreviewForm::rewriteZoomBox, Qt::QueuedConnection);
}

bool TrepPreviewForm::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        auto *keyEvent = static_cast<QKeyEvent *>(event);
        const int key = keyEvent->key();
        // The window's commands work from the edit boxes too.
        const bool ctrl = keyEvent->modifiers() & Qt::ControlModifier;
        if (key == Qt::Key_F3 || (ctrl && (key == Qt::Key_P || key == Qt::Key_S || key == Qt::Key_F))) {
            QCoreApplication::sendEvent(m_preview, event);
            return true;
        }
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (watched == m_zoomBox->lineEdit()) {
                applyZoomBox(-1);
                return true;
            }
            if (watched == m_pageEdit) {
                bool ok = false;
                const int n = m_pageEdit->text().trimmed().toInt(&ok);
                if (ok)
                    m_preview->pageNo(n);
                m_preview->setFocus();
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace rep
