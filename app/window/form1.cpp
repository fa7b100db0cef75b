#include "app/window/form1.h"

#include "app/window/accessibility.h"
#include "app/window/form1layout.h"
#include "logging_p.h"
#include "computedlabel_p.h"
#include "app/window/fieldwarnings.h"
#include "app/window/printchecks.h"
#include "app/commands/pdfcommand.h"
#include "app/commands/printcommand.h"
#include "app/commands/recentfiles.h"
#include "app/commands/recoverykeeper.h"
#include "workareafollower_p.h"
#include "declaration/reportvalues.h"
#include "app/guide/captions.h"
#include "app/guide/tform2.h"
#include "controls/richtext/ui/tctlrichlabel.h"
#include "controls/richtext/ui/trtflabel.h"
#include "controls/maskedit/ui/ctlmaskedit.h"
#include "controls/numedit/numeditmodel.h"
#include "controls/numedit/ui/numedit.h"
#include "controls/panels/ui/styledmainmenu.h"
#include "controls/panels/ui/styledpanel.h"
#include "controls/panels/ui/stylededit.h"
#include "controls/panels/ui/styledtoolpanel.h"
#include "controls/radiogroup/ui/ctlradiogroup.h"
#include "declaration/catalogue.h"
#include "declaration/taxcomputation.h"
#include "runtime/errors.h"
#include "runtime/messages.h"
#include "runtime/ui/announce.h"

#include <QAccessible>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScopeGuard>
#include <QScrollArea>
#include <QStatusBar>

namespace app {

using namespace Qt::StringLiterals;

namespace {
const QString form1Caption = u"Elektronikus nyomtatvány - Hollóberény Polgármesteri Hivatal"_s;

QFont pixelFont(const QString &family, int pixels, bool bold = false)
{
    QFont f(family);
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

// The designed place of a control that the layout table holds.
const Placement &placement(const QString &component)
{
    const Placement *p = findPlacement(component);
    Q_ASSERT(p);
    return *p;
}

// A caption control: rich text beside a field. It is sized before its text arrives, so that the
// text is rendered once.
QWidget *newCaption(const CaptionPlacement &c, QWidget *parent)
{
    if (c.component.startsWith(u"CtlRichLabel")) {
        auto *l = new rtf::TCtlRichLabel(parent);
        l->setObjectName(c.component);
        l->setGeometry(c.bounds);
        if (c.component == u"CtlRichLabel1")
            l->setFont(pixelFont(u"Arial"_s, 13));
        l->setRichText(guide::captionRtf(c.component));
        return l;
    }
    auto *l = new rtf::TRTFLabel(parent);
    l->setObjectName(c.component);
    l->setGeometry(c.bounds);
    l->setWordWrap(false);
    l->setRichText(guide::captionRtf(c.component));
    return l;
}

// A tax number or tax id: masked, "*" for the blanks, sunken by one pixel, a blinking caret.
QWidget *newMaskEdit(decl::FieldKind kind)
{
    auto *e = new ctl::TCtlMaskEdit;
    e->setBlankChar(QLatin1Char('*'));
    e->setMask(QString::fromUtf16(kind == decl::FieldKind::TaxNumber ? decl::taxNumberMask : decl::taxIdMask));
    ctl::TCtlBevel bevel;
    bevel.Mode = ctl::bmCustom;
    bevel.StyleInner = ctl::bvLowered;
    bevel.BorderInnerWidth = 1;
    e->setBevel(bevel);
    ctl::TCtlCaret caret;
    caret.BlinkRate = 530;
    e->setCaret(caret);
    return e;
}

QWidget *newRichEdit(const QFont &font)
{
    auto *e = new QPlainTextEdit;
    e->setFont(font);
    e->setTabChangesFocus(true);
    return e;
}

QWidget *newRadioGroup(const decl::RadioGroup &g, const QFont &font)
{
    auto *w = new ctl::TCtlRadioGroup;
    w->setFont(font);
    w->setCaption(g.caption);
    w->setItems(g.items);
    w->setColumns(g.columns);
    return w;
}
} // namespace

QString Form1Access::text(const QString &component) const
{
    QWidget *w = m_form.control(component);
    if (auto *m = qobject_cast<ctl::TCtlMaskEdit *>(w))
        return m->text();
    if (auto *e = qobject_cast<QLineEdit *>(w))
        return e->text();
    if (auto *r = qobject_cast<QPlainTextEdit *>(w))
        return r->toPlainText().replace(QLatin1Char('\n'), u"\r\n"_s);
    qCWarning(lcWindow, "no text field named %s", qUtf8Printable(component));
    return QString();
}

int Form1Access::itemIndex(const QString &group) const
{
    if (auto *g = qobject_cast<ctl::TCtlRadioGroup *>(m_form.control(group)))
        return g->ItemIndex();
    qCWarning(lcWindow, "no radio group named %s", qUtf8Printable(group));
    return -1;
}

QString Form1Access::caption(const QString &label) const
{
    if (auto *l = qobject_cast<QLabel *>(m_form.control(label)))
        return l->text();
    qCWarning(lcWindow, "no label named %s", qUtf8Printable(label));
    return QString();
}

void Form1Access::setCaption(const QString &label, const QString &caption)
{
    if (auto *l = qobject_cast<ComputedLabel *>(m_form.control(label)))
        l->setCaption(caption);
    else
        qCWarning(lcWindow, "no computed label named %s", qUtf8Printable(label));
}

void Form1Access::setText(const QString &component, const QString &text)
{
    QWidget *w = m_form.control(component);
    if (auto *m = qobject_cast<ctl::TCtlMaskEdit *>(w)) {
        m->setText(text);
    } else if (auto *n = qobject_cast<ctl::TNumEdit *>(w)) {
        n->setText(text);
        // A text that is no number stays as it is, as it would when the field is left.
        if (ctl::NumEditModel::isReadable(text))
            n->setValue(n->value());
    } else if (auto *e = qobject_cast<QLineEdit *>(w)) {
        e->setText(text);
    } else if (auto *r = qobject_cast<QPlainTextEdit *>(w)) {
        r->setPlainText(QString(text).replace(u"\r\n"_s, u"\n"_s));
    } else {
        qCWarning(lcWindow, "no text field named %s", qUtf8Printable(component));
    }
}

void Form1Access::setItemIndex(const QString &group, int index)
{
    if (auto *g = qobject_cast<ctl::TCtlRadioGroup *>(m_form.control(group)))
        g->setItemIndex(index);
    else
        qCWarning(lcWindow, "no radio group named %s", qUtf8Printable(group));
}

TForm1::TForm1(QWidget *parent) : QMainWindow(parent), m_access(*this)
{
    setObjectName(u"Form1"_s);
    setWindowTitle(form1Caption);
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    // The designed bounds hold only until the window is shown on the work area.
    setGeometry(172, 44, 806, 666);
    new WorkAreaFollower(this);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(0xC5, 0xB6, 0x98));
    setPalette(pal);
    setFont(pixelFont(u"MS Sans Serif"_s, 11));
    buildMenu();
    buildContent();
    makeAccessible(*this);
    m_report = std::make_unique<decl::DeclarationReport>(m_access);
    m_warnings = std::make_unique<FieldWarnings>(*this);
    m_document = std::make_unique<DraftDocument>(m_access, this);
    // Moving the focus into a radio group chooses a button without an event of its own.
    connect(qApp, &QApplication::focusChanged, this, [this] { updateTitle(); });
}

TForm1::~TForm1()
{
    // Closing moves the focus; the fields must not compute into a window being torn down, nor
    // report edits to a document that is gone.
    for (QWidget *w : std::as_const(m_controls))
        if (auto *e = qobject_cast<ctl::TNumEdit *>(w))
            e->OnExit = nullptr;
    disconnect(qApp, nullptr, this, nullptr);
    m_recovery.reset();
    m_document.reset();
}

QWidget *TForm1::control(const QString &component) const
{
    return m_controls.value(component);
}

namespace {
// An error of the command is shown once the menu's event has been dispatched.
void bind(QAction *action, TForm1 *form, void (TForm1::*command)())
{
    QObject::connect(action, &QAction::triggered, form, [form, command] { rt::runHandler([&] { (form->*command)(); }); });
}
} // namespace

void TForm1::buildMenu()
{
    setMenuBar(new ctl::TStyledMainMenu(this));
    QMenuBar *bar = menuBar();
    bar->setObjectName(u"StyledMainMenu1"_s);
    buildFileMenu();
    auto add = [&](const QString &name, const QString &caption, void (TForm1::*command)()) {
        QAction *a = bar->addAction(caption);
        a->setObjectName(name);
        bind(a, this, command);
        return a;
    };
    // The "&" marks the accelerator: Alt with the letter runs the command.
    add(u"Nyomtats1"_s, u"&Nyomtatás"_s, &TForm1::Nyomtats1Click);
    // F1 opens the guide too, as help opens in desktop programs; the menu bar does not show it.
    add(u"Kitltsitmutat1"_s, u"&Kitöltési útmutató"_s, &TForm1::Kitltsitmutat1Click)
        ->setShortcut(QKeySequence::HelpContents);
    add(u"Kilps1"_s, u"Ki&lépés"_s, &TForm1::Kilps1Click);
}

void TForm1::buildFileMenu()
{
    QMenu *menu = menuBar()->addMenu(u"&Fájl"_s);
    m_fileMenu = menu;
    menu->setObjectName(u"Fjl1"_s);
    menu->menuAction()->setObjectName(u"Fjl1"_s);
    struct Item
    {
        const char *name;
        const char16_t *caption;
        QKeySequence::StandardKey key;
        void (TForm1::*command)();
    };
    static constexpr Item items[] = {
        {"Megnyits1", u"&Megnyitás...", QKeySequence::Open, &TForm1::Megnyits1Click},
        {"Beolvass1", u"&Beolvasás képről...", QKeySequence::UnknownKey, &TForm1::Beolvass1Click},
        {"Ments1", u"M&entés", QKeySequence::Save, &TForm1::Ments1Click},
        {"Mentsmsknt1", u"Mentés má&sként...", QKeySequence::UnknownKey, &TForm1::Mentsmsknt1Click},
        {nullptr, nullptr, QKeySequence::UnknownKey, nullptr},
        {"PDFbements1", u"&PDF-be mentés...", QKeySequence::UnknownKey, &TForm1::PDFbements1Click},
    };
    for (const Item &item : items) {
        if (!item.name) {
            menu->addSeparator();
            continue;
        }
        QAction *a = menu->addAction(QString::fromUtf16(item.caption));
        a->setObjectName(QLatin1StringView(item.name));
        a->setShortcuts(item.key);
        bind(a, this, item.command);
    }
}

void TForm1::buildContent()
{
    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName(u"Form1Scroll"_s);
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_scroll->setWidgetResizable(false);
    m_scroll->setBackgroundRole(QPalette::Window);
    setCentralWidget(m_scroll);

    QWidget *content = buildPanels();
    // Caption controls first, so that the fields are drawn over boxes reaching under them.
    buildCaptions();
    buildFields();
    buildComputedLabels();
    m_scroll->setWidget(content);
}

QWidget *TForm1::buildPanels()
{
    const Placement &outer = placement(u"StyledPanel1"_s);
    auto *content = new QWidget;
    content->setObjectName(u"Form1Content"_s);
    content->setAutoFillBackground(false);
    content->resize(outer.bounds.right() + 1, outer.bounds.bottom() + 1);

    auto *panel = new ctl::TStyledPanel(content);
    panel->setObjectName(outer.component);
    panel->setGeometry(outer.bounds);
    panel->setFont(pixelFont(u"Tahoma"_s, 11));
    m_controls.insert(outer.component, panel);

    for (const decl::Section &sec : decl::sections()) {
        auto *p = new ctl::TStyledToolPanel(panel);
        p->setCaption(sec.caption);
        p->setObjectName(sec.panel);
        p->setGeometry(placement(sec.panel).bounds);
        m_controls.insert(sec.panel, p);
    }
    return content;
}

void TForm1::buildCaptions()
{
    const QList<CaptionPlacement> &captions = form1Captions();
    for (const CaptionPlacement &c : captions)
        m_controls.insert(c.component, newCaption(c, built(c.parent)));
    // Captions lie beneath every other control of their panel and, where their boxes overlap, in
    // the order of the table: the later one on top, as a designer stacks controls made later.
    for (auto c = captions.crbegin(); c != captions.crend(); ++c)
        built(c->component)->lower();
}

void TForm1::buildFields()
{
    const QFont arial13 = pixelFont(u"Arial"_s, 13);
    QList<QWidget *> tabChain{place(new ctl::TNumEdit, QString::fromUtf16(decl::hiddenNumEdit))};
    for (int sec = 0; sec < decl::sections().size(); ++sec) {
        // Fields and groups of this section in tab order.
        QMap<int, QWidget *> ordered;
        for (const decl::Field &f : decl::fields())
            if (f.section == sec)
                ordered.insert(f.tab, place(newField(f.kind, arial13), f.component));
        for (const decl::RadioGroup &g : decl::radioGroups())
            if (g.section == sec)
                ordered.insert(g.tab, place(newRadioGroup(g, arial13), g.component));
        for (QWidget *w : std::as_const(ordered))
            watchChanges(w);
        // The section panel takes the focus itself before its fields.
        tabChain.append(built(decl::sections().at(sec).panel));
        for (QWidget *w : std::as_const(ordered))
            if (w->focusPolicy() & Qt::TabFocus)
                tabChain.append(w);
    }
    for (int i = 1; i < tabChain.size(); ++i)
        QWidget::setTabOrder(tabChain[i - 1], tabChain[i]);
}

QWidget *TForm1::newField(decl::FieldKind kind, const QFont &font)
{
    switch (kind) {
    case decl::FieldKind::TextEdit:
        return new ctl::TStyledEdit;
    case decl::FieldKind::TaxNumber:
    case decl::FieldKind::TaxId:
        return newMaskEdit(kind);
    case decl::FieldKind::NumericEdit: {
        auto *e = new ctl::TNumEdit;
        e->setFont(font);
        // The error box waits until the focus has reached where the user sent it.
        e->OnExit = [this] { rt::runHandler([this] { szamolas(); }); };
        return e;
    }
    case decl::FieldKind::RichEdit:
        return newRichEdit(font);
    }
    Q_UNREACHABLE();
}

void TForm1::buildComputedLabels()
{
    for (const decl::ComputedLabel &c : decl::computedLabels()) {
        const Placement &p = placement(c.component);
        auto *l = new ComputedLabel(computedLabelRight, p.bounds.top(), built(p.parent));
        l->setObjectName(c.component);
        l->setFont(pixelFont(u"Arial"_s, 16, true));
        l->setCaption(u"0"_s); // re-measured in the label's font
        m_controls.insert(c.component, l);
    }
}

QWidget *TForm1::built(const QString &component) const
{
    QWidget *w = m_controls.value(component);
    Q_ASSERT(w);
    return w;
}

QWidget *TForm1::place(QWidget *w, const QString &name)
{
    const Placement &p = placement(name);
    w->setParent(built(p.parent));
    w->setObjectName(name);
    w->setGeometry(p.bounds);
    m_controls.insert(name, w);
    return w;
}

void TForm1::focusField(const QString &component)
{
    QWidget *w = control(component);
    if (!w)
        return;
    m_scroll->ensureWidgetVisible(w);
    // Focusing a radio button would check it: the group is only led to.
    if (auto *g = qobject_cast<ctl::TCtlRadioGroup *>(w))
        g->focusWithoutChoosing();
    else
        w->setFocus(Qt::OtherFocusReason);
}

void TForm1::watchChanges(QWidget *field)
{
    if (auto *m = qobject_cast<ctl::TCtlMaskEdit *>(field))
        connect(m, &ctl::TCtlMaskEdit::OnChange, this, &TForm1::updateTitle);
    else if (auto *e = qobject_cast<QLineEdit *>(field))
        connect(e, &QLineEdit::textChanged, this, &TForm1::updateTitle);
    else if (auto *r = qobject_cast<QPlainTextEdit *>(field))
        connect(r, &QPlainTextEdit::textChanged, this, &TForm1::updateTitle);
    else if (auto *g = qobject_cast<ctl::TCtlRadioGroup *>(field))
        connect(g, &ctl::TCtlRadioGroup::OnChange, this, &TForm1::updateTitle);
}

void TForm1::updateTitle()
{
    // The fields report their first texts while the window is still being built.
    if (m_document)
        setWindowTitle(m_document->windowTitle(form1Caption));
    if (m_recovery)
        m_recovery->documentChanged();
    if (m_recent && !m_document->path().isEmpty() && m_recent->files().value(0) != QFileInfo(m_document->path()).absoluteFilePath()) {
        m_recent->add(m_document->path());
        m_document->setLastFolder(m_recent->lastFolder());
    }
}

void TForm1::keepRecentFiles(RecentFiles &recent)
{
    m_recent = &recent;
    m_document->setLastFolder(recent.lastFolder());
    // Built as the menu opens, so that it is always the list as it stands.
    connect(m_fileMenu, &QMenu::aboutToShow, this, [this] {
        for (QAction *a : std::as_const(m_recentActions))
            delete a;
        m_recentActions.clear();
        const QStringList files = m_recent->files();
        if (files.isEmpty())
            return;
        m_recentActions << m_fileMenu->addSeparator();
        for (int i = 0; i < files.size(); ++i) {
            const QString shown = QDir::toNativeSeparators(files[i]).replace(u'&', u"&&"_s);
            QAction *a = m_fileMenu->addAction(u"&%1 %2"_s.arg(i + 1).arg(shown));
            a->setObjectName(u"RecentFile%1"_s.arg(i + 1));
            connect(a, &QAction::triggered, this,
                    [this, path = files[i]] { rt::runHandler([&] { openRecentFile(path); }); });
            m_recentActions << a;
        }
    });
}

void TForm1::openRecentFile(const QString &path)
{
    const auto refresh = qScopeGuard([this] { updateTitle(); });
    if (!QFileInfo::exists(path)) {
        if (m_recent)
            m_recent->remove(path);
        throw rt::Exception(u"A fájl már nem létezik: %1\nKikerült a legutóbb használt fájlok listájából."_s
                                .arg(QDir::toNativeSeparators(path)));
    }
    if (m_document->maySaveChanges() && m_document->openFile(path))
        m_warnings->recheckAll();
}

void TForm1::keepRecoveryCopies(RecoveryStore &store)
{
    m_recovery = std::make_unique<RecoveryKeeper>(store, *m_document);
    connect(m_recovery.get(), &RecoveryKeeper::problemChanged, this, [this](bool ok, const QString &reason) {
        showRecoveryProblem(ok ? QString() : u"A mentetlen változások helyreállítási másolata nem írható: "_s + reason);
    });
    m_recovery->documentChanged();
}

void TForm1::showRecoveryProblem(const QString &reason)
{
    // A line under the form: a message box would take the focus from the field being typed in.
    if (reason.isEmpty()) {
        if (auto *bar = findChild<QStatusBar *>(QString(), Qt::FindDirectChildrenOnly))
            bar->clearMessage();
        return;
    }
    statusBar()->showMessage(reason);
}

void TForm1::restoreRecovery(const RecoveryContent &content)
{
    const auto refresh = qScopeGuard([this] { updateTitle(); });
    m_document->restore(content.draft, content.filePath);
    m_warnings->recheckAll();
}

void TForm1::endKeepingWork()
{
    if (m_recovery)
        m_recovery->writeNow();
    QCoreApplication::exit(0);
}

bool TForm1::endSession(bool mayInteract)
{
    if (!mayInteract) {
        endKeepingWork();
        return true;
    }
    bool mayEnd = false;
    rt::runHandler([&] { mayEnd = m_document->maySaveChanges(); });
    updateTitle();
    if (!mayEnd)
        return false;
    if (m_recovery)
        m_recovery->discard();
    QCoreApplication::exit(0);
    return true;
}

QString TForm1::askPdfName(QWidget *parent) const
{
    return withDefaultSuffix(m_document->dialogs().savePdfName(parent, m_document->pdfSuggestion()), pdfSuffix);
}

void TForm1::openFile(const QString &path)
{
    const auto refresh = qScopeGuard([this] { updateTitle(); });
    if (!m_document->openFile(path))
        return;
    // The opened declaration is judged as a whole, as a check before printing would judge it.
    m_warnings->recheckAll();
}

void TForm1::Megnyits1Click()
{
    const auto refresh = qScopeGuard([this] { updateTitle(); });
    if (m_document->open())
        m_warnings->recheckAll();
}

void TForm1::Beolvass1Click()
{
    const auto refresh = qScopeGuard([this] { updateTitle(); });
    // A declaration read from paper is judged as an opened file is.
    if (m_document->openScan())
        m_warnings->recheckAll();
}

void TForm1::Ments1Click()
{
    const auto refresh = qScopeGuard([this] { updateTitle(); });
    m_document->save();
}

void TForm1::Mentsmsknt1Click()
{
    const auto refresh = qScopeGuard([this] { updateTitle(); });
    m_document->saveAs();
}

void TForm1::PDFbements1Click()
{
    if (confirmChecks(*this))
        saveDeclarationPdfCommand(*m_report, [this](QWidget *parent) { return askPdfName(parent); }, this);
}

void TForm1::Nyomtats1Click()
{
    if (confirmChecks(*this))
        printDeclaration(*m_report, [this](QWidget *parent) { return askPdfName(parent); }, this);
}

void TForm1::setGuideWindow(guide::TForm2 *form2)
{
    m_form2 = form2;
}

void TForm1::Kitltsitmutat1Click()
{
    if (m_form2)
        m_form2->showModal();
}

void TForm1::Kilps1Click()
{
    const auto refresh = qScopeGuard([this] { updateTitle(); });
    // Ends without a close request; an unchanged or saved form ends at once.
    if (m_document->maySaveChanges()) {
        if (m_recovery)
            m_recovery->discard();
        QCoreApplication::exit(0);
    }
}

void TForm1::closeEvent(QCloseEvent *event)
{
    bool mayClose = false;
    // A failed save is shown once the close request is over, and the window stays.
    rt::runHandler([&] { mayClose = m_document->maySaveChanges(); });
    if (mayClose && m_recovery)
        m_recovery->discard();
    updateTitle();
    event->setAccepted(mayClose);
}

bool TForm1::focusNextPrevChild(bool next)
{
    followScreenReader(*this);
    return QMainWindow::focusNextPrevChild(next);
}

void TForm1::szamolas()
{
    // A listener cannot see the results change: the ones that did are told after the new focus.
    if (!QAccessible::isActive()) {
        decl::szamolas(m_access);
        return;
    }
    const QHash<QString, QString> before = computedResults(*this);
    decl::szamolas(m_access);
    rt::announce(this, resultsMessage(before, computedResults(*this)));
}

} // namespace app
