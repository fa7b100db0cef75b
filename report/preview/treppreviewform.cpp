#include "report/preview/treppreviewform.h"

#include "report/resources/resources.h"
#include "report/preview/previewzoom.h"
#include "runtime/ui/announce.h"
#include "toolbaricons_p.h"
#include "runtime/messages.h"
#include "runtime/ui/designfonts.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QCoreApplication>
#include <QTimer>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QSet>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <optional>

namespace rep {

using namespace Qt::StringLiterals;

namespace {
constexpr int kButtonHeight = 23;
constexpr int kPageWidthEntry = 6;
constexpr int kWholePageEntry = 7;

template<void (TrepPreview::*Command)()>
void previewCommand(TrepPreviewForm &form)
{
    (form.preview()->*Command)();
}

template<TrepZoomMode Mode>
void zoomMode(TrepPreviewForm &form)
{
    form.preview()->setZoomMode(Mode);
    form.rewriteZoomBox();
}

void zoom100(TrepPreviewForm &form)
{
    form.preview()->setZoom(1.0);
    form.rewriteZoomBox();
}

void closeWindow(TrepPreviewForm &form)
{
    form.close();
}
} // namespace

// One control of the toolbar. A control with an option shows while the option's button bit is
// set; one without always shows. A separator shows while an optional control of its group does.
struct PreviewToolbarEntry
{
    enum class Kind {
        Button,
        Toggle,     // stays down
        ToolChoice, // one of the mouse tools, of which one is down
        MenuButton, // opens its menu at once
        Separator,
        ZoomPanel,
        PagePanel,
        Spacer,
        CloseButton,
    };
    using Action = void (*)(TrepPreviewForm &);

    const char *name;
    const char *caption; // the design's caption; the window's text lines replace it
    int group;
    std::optional<TrepPreviewButton> option;
    Kind kind;
    Action action = nullptr; // run when the control is clicked
};

namespace {
using Kind = PreviewToolbarEntry::Kind;

// The toolbar from left to right.
constexpr PreviewToolbarEntry kToolbar[] = {
    {"PrintB", "Print", 0, pbPrint, Kind::Button, &previewCommand<&TrepPreview::printCommand>},
    // Shown when the program can write a PDF (the preview's hooks say so); no button bit of its own.
    {"PdfB", "PDF", 0, {}, Kind::Button, &previewCommand<&TrepPreview::savePdf>},
    {"OpenB", "Open", 0, pbLoad, Kind::Button},
    {"SaveB", "Save", 0, pbSave, Kind::Button, &previewCommand<&TrepPreview::saveToFile>},
    {"ExportB", "Export", 0, pbExport, Kind::MenuButton},
    {"FindB", "Find", 0, pbFind, Kind::Button, &previewCommand<&TrepPreview::find>},
    {"Sep1", nullptr, 1, {}, Kind::Separator},
    {"ZoomWholePageB", "Whole page", 1, pbZoom, Kind::Button, &zoomMode<zmWholePage>},
    {"ZoomPageWidthB", "Page width", 1, pbZoom, Kind::Button, &zoomMode<zmPageWidth>},
    {"Zoom100B", "100%", 1, pbZoom, Kind::Button, &zoom100},
    {"Zoom50B", "Two pages", 1, pbZoom, Kind::Button, &zoomMode<zmManyPages>},
    {"ZoomPanel", nullptr, 1, pbZoom, Kind::ZoomPanel},
    {"Sep2", nullptr, 2, {}, Kind::Separator},
    {"PageSettingsB", "Margins", 2, pbPageSetup, Kind::Button},
    {"OutlineB", "Outline", 2, pbOutline, Kind::Toggle},
    {"Sep3", nullptr, 3, {}, Kind::Separator},
    {"HandToolB", "Hand tool", 3, pbTools, Kind::ToolChoice},
    {"ZoomToolB", "Zoom tool", 3, pbTools, Kind::ToolChoice},
    {"Sep4", nullptr, 4, {}, Kind::Separator},
    {"NewPageB", "New page", 4, pbEdit, Kind::Button},
    {"DelPageB", "Delete page", 4, pbEdit, Kind::Button},
    {"DesignerB", "Edit page", 4, pbEdit, Kind::Button},
    {"Sep5", nullptr, 5, {}, Kind::Separator},
    {"FirstB", "First", 5, pbNavigator, Kind::Button, &previewCommand<&TrepPreview::first>},
    {"PriorB", "Prior", 5, pbNavigator, Kind::Button, &previewCommand<&TrepPreview::prior>},
    {"NextB", "Next", 5, pbNavigator, Kind::Button, &previewCommand<&TrepPreview::next>},
    {"LastB", "Last", 5, pbNavigator, Kind::Button, &previewCommand<&TrepPreview::last>},
    {"PagePanel", nullptr, 5, pbNavigator, Kind::PagePanel},
    {"repTBPanel1", nullptr, 6, {}, Kind::Spacer},
    {"CancelB", "Close", 6, {}, Kind::CloseButton, &closeWindow},
};

// The mouse tool chosen when the window opens.
constexpr QLatin1StringView kStartTool("HandToolB");
} // namespace

TrepPreviewForm::TrepPreviewForm(QWidget *parent, PreviewHooks hooks) : QDialog(parent)
{
    setObjectName(u"TrepPreviewForm"_s);
    setWindowTitle(u"Preview"_s);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint
                   | Qt::WindowCloseButtonHint);
    setFont(rt::dialogFont());
    setWindowIcon(previewToolbarIcon(u"ZoomWholePageB"_s));
    // The designed client area, used when the window is not maximized.
    resize(741, 584);
    move(185, 107);

    m_preview = new TrepPreview(this);
    m_preview->setHooks(std::move(hooks));

    m_toolbar = new QFrame(this);
    m_toolbar->setObjectName(u"ToolBar"_s);
    auto *bar = new QHBoxLayout(m_toolbar);
    bar->setContentsMargins(2, 2, 2, 2);
    bar->setSpacing(0);
    for (const PreviewToolbarEntry &entry : kToolbar) {
        QWidget *control = createToolbarControl(entry);
        bar->addWidget(control);
        m_toolbarControls.append(control);
        if (const PreviewToolbarEntry::Action action = entry.action) {
            auto *button = qobject_cast<QAbstractButton *>(control);
            Q_ASSERT(button);
            connect(button, &QAbstractButton::clicked, this, [this, action] { action(*this); });
        }
    }
    bar->addStretch(1);

    m_statusBar = new QStatusBar(this);
    m_statusBar->setObjectName(u"StatusBar"_s);
    m_statusBar->setSizeGripEnabled(false);
    m_statusPage = new QLabel(m_statusBar);
    m_statusPage->setObjectName(u"StatusBarPanel0"_s);
    m_statusPage->setFixedWidth(150);
    m_statusProgress = new QLabel(m_statusBar);
    m_statusProgress->setObjectName(u"StatusBarPanel1"_s);
    m_statusProgress->setFixedWidth(50);
    m_statusBar->addWidget(m_statusPage);
    m_statusBar->addWidget(m_statusProgress);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_toolbar);
    layout->addWidget(m_preview, 1);
    layout->addWidget(m_statusBar);

    // Localize, then the zoom list with its two localized entries.
    localizeLines(this, m_preview->text(u"TrepPreviewForm"_s));
    m_zoomBox->addItems({u"25%"_s, u"50%"_s, u"75%"_s, u"100%"_s, u"150%"_s, u"200%"_s,
                         m_preview->text(u"zmPageWidth"_s), m_preview->text(u"zmWholePage"_s)});
    m_zoomBox->setEditText(u"100%"_s);
    nameByHints();

    connect(m_zoomBox, &QComboBox::activated, this, [this](int index) {
        // The box also reports a typed text matching an entry when it loses the focus; only a
        // choice from the list (the box keeps the focus) applies, Enter is handled apart.
        if (m_zoomBox->hasFocus() || m_zoomBox->lineEdit()->hasFocus())
            applyZoomBox(index);
    });
    connect(m_preview, &TrepPreview::pageChanged, this, &TrepPreviewForm::updateStatus);
    connect(m_preview, &TrepPreview::zoomChanged, this, &TrepPreviewForm::rewriteZoomBox);

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

QWidget *TrepPreviewForm::createToolbarControl(const PreviewToolbarEntry &entry)
{
    const QString name = QLatin1StringView(entry.name);
    switch (entry.kind) {
    case Kind::Button:
    case Kind::Toggle:
    case Kind::ToolChoice:
    case Kind::MenuButton: {
        auto *b = new QToolButton(m_toolbar);
        b->setObjectName(name);
        b->setText(QLatin1StringView(entry.caption));
        b->setToolTip(b->text());
        b->setAutoRaise(true);
        b->setFocusPolicy(Qt::NoFocus);
        b->setToolButtonStyle(Qt::ToolButtonIconOnly);
        b->setFixedHeight(kButtonHeight);
        b->setMinimumWidth(kButtonHeight);
        b->setIconSize(QSize(16, 16));
        b->setIcon(previewToolbarIcon(name));
        if (entry.kind == Kind::Toggle || entry.kind == Kind::ToolChoice)
            b->setCheckable(true);
        if (entry.kind == Kind::ToolChoice) {
            b->setAutoExclusive(true);
            b->setChecked(name == kStartTool);
        }
        if (entry.kind == Kind::MenuButton) {
            b->setMenu(new QMenu(b));
            b->setPopupMode(QToolButton::InstantPopup);
        }
        return b;
    }
    case Kind::Separator: {
        auto *sep = new QFrame(m_toolbar);
        sep->setObjectName(name);
        sep->setFrameStyle(QFrame::VLine | QFrame::Sunken);
        sep->setFixedSize(8, kButtonHeight);
        return sep;
    }
    case Kind::ZoomPanel:
        return createZoomPanel(name);
    case Kind::PagePanel:
        return createPagePanel(name);
    case Kind::Spacer: {
        auto *spacer = new QWidget(m_toolbar);
        spacer->setObjectName(name);
        spacer->setFixedSize(50, kButtonHeight);
        return spacer;
    }
    case Kind::CloseButton:
        m_closeButton = new QPushButton(QLatin1StringView(entry.caption), m_toolbar);
        m_closeButton->setObjectName(name);
        m_closeButton->setFixedSize(68, 23);
        m_closeButton->setAutoDefault(false);
        return m_closeButton;
    }
    Q_UNREACHABLE();
}

QWidget *TrepPreviewForm::createZoomPanel(const QString &name)
{
    m_zoomPanel = new QWidget(m_toolbar);
    m_zoomPanel->setObjectName(name);
    m_zoomPanel->setFixedSize(56, kButtonHeight);
    m_zoomBox = new QComboBox(m_zoomPanel);
    m_zoomBox->setObjectName(u"ZoomCB"_s);
    m_zoomBox->setEditable(true);
    m_zoomBox->setInsertPolicy(QComboBox::NoInsert);
    m_zoomBox->setGeometry(3, 1, 49, 21);
    m_zoomBox->view()->setMinimumWidth(100);
    m_zoomBox->setToolTip(u"Zoom"_s);
    // Drawn flat with an 11-pixel button: flat while idle, raised under the mouse or with the
    // focus, sunken while the list is open.
    m_zoomBox->setStyleSheet(
        u"QComboBox { border: 1px solid palette(button); background: palette(base); padding: 0 0 0 1px; }"
        u"QComboBox:hover, QComboBox:focus { border: 1px outset palette(mid); }"
        u"QComboBox:on { border: 1px inset palette(mid); }"
        u"QComboBox::drop-down { width: 11px; border: 1px solid palette(button); background: palette(button); }"
        u"QComboBox::drop-down:hover { border: 1px outset palette(mid); }"
        u"QComboBox::drop-down:on { border: 1px inset palette(mid); }"
        u"QComboBox::down-arrow { width: 5px; height: 3px; border-left: 2px solid palette(button);"
        u" border-right: 2px solid palette(button); border-top: 3px solid palette(text); }"_s);
    m_zoomBox->lineEdit()->installEventFilter(this);
    return m_zoomPanel;
}

QWidget *TrepPreviewForm::createPagePanel(const QString &name)
{
    m_pagePanel = new QWidget(m_toolbar);
    m_pagePanel->setObjectName(name);
    m_pagePanel->setFixedSize(47, kButtonHeight);
    m_pageEdit = new QLineEdit(u"1"_s, m_pagePanel);
    m_pageEdit->setObjectName(u"PageE"_s);
    m_pageEdit->setGeometry(5, 1, 37, 21);
    m_pageEdit->installEventFilter(this);
    return m_pagePanel;
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
    for (qsizetype i = 0; i < m_toolbarControls.size(); ++i)
        if (kToolbar[i].option == pbEdit)
            m_toolbarControls[i]->setEnabled(options.AllowEdit);
    applyButtons(options.Buttons);
    if (QWidget *pdf = findChild<QWidget *>(u"PdfB"_s))
        pdf->setVisible(m_preview->canSavePdf());
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
    Q_ASSERT(m_toolbarControls.size() == qsizetype(std::size(kToolbar)));
    const auto chosen = [buttons](const PreviewToolbarEntry &entry) {
        return entry.option && (buttons & buttonBit(*entry.option)) != 0;
    };
    QSet<int> groupsShown;
    for (const PreviewToolbarEntry &entry : kToolbar)
        if (chosen(entry))
            groupsShown.insert(entry.group);
    for (qsizetype i = 0; i < m_toolbarControls.size(); ++i) {
        const PreviewToolbarEntry &entry = kToolbar[i];
        if (entry.kind == Kind::Separator)
            m_toolbarControls[i]->setVisible(groupsShown.contains(entry.group));
        else if (entry.option)
            m_toolbarControls[i]->setVisible(chosen(entry));
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
        formatNumbers(m_preview->text(u"clPageOf"_s), {current, m_preview->pageCount()}));
    m_pageEdit->setText(QString::number(current));
    // The pages are named by where the reader stands in them, so that a screen reader says it
    // when they take the focus and again on each turn of the page.
    if (m_preview->accessibleName() != m_statusPage->text())
        m_preview->setAccessibleName(m_statusPage->text());
    // The focus stays on the pages while they turn: the new page is told.
    const QString page = m_statusPage->text();
    if (isVisible() && !m_toldPage.isEmpty() && page != m_toldPage)
        rt::announce(this, page);
    m_toldPage = page;
}

void TrepPreviewForm::nameByHints()
{
    // A list box is named by its value on this platform and described by its hint; the edits,
    // the zoom box's own included, are named by their hints.
    const QList<QLineEdit *> edits = m_toolbar->findChildren<QLineEdit *>();
    for (QLineEdit *e : edits) {
        const QWidget *hinted = qobject_cast<QComboBox *>(e->parentWidget()) ? e->parentWidget() : e;
        if (e->accessibleName().isEmpty())
            e->setAccessibleName(hinted->toolTip());
    }
}

void TrepPreviewForm::rewriteZoomBox()
{
    const QString zoom = zoomText(m_preview->zoom());
    m_zoomBox->setEditText(zoom);
    m_zoomBox->lineEdit()->setCursorPosition(0);
    if (m_toldZoom.isEmpty()) {
        m_toldZoom = zoom;
        return;
    }
    // A command can change the zoom more than once as the layout settles: the zoom it ends at
    // is told, once control is back in the event loop.
    if (!m_zoomTellPending && isVisible() && isActiveWindow()) {
        m_zoomTellPending = true;
        QTimer::singleShot(0, this, [this] {
            m_zoomTellPending = false;
            const QString now = zoomText(m_preview->zoom());
            if (now != m_toldZoom)
                rt::announce(this, m_zoomBox->toolTip() + u": "_s + now);
            m_toldZoom = now;
        });
    } else if (!m_zoomTellPending) {
        m_toldZoom = zoom;
    }
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

void TrepPreviewForm::done(int result)
{
    // The window goes at once; the job under it (its loop is further up the stack) would print
    // on for a window nobody sees.
    if (m_preview->locked())
        m_preview->requestStop();
    QDialog::done(result);
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
