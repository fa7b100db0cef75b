#include "app/form1.h"

#include "app/accessibility.h"
#include "app/form1layout.h"
#include "app/computedlabel.h"
#include "app/printcommand.h"
#include "app/workareafollower.h"
#include "declaration/reportvalues.h"
#include "app/guide/captions.h"
#include "app/guide/tform2.h"
#include "controls/richtext/ui/tctlrichlabel.h"
#include "controls/richtext/ui/trtflabel.h"
#include "controls/maskedit/ui/ctlmaskedit.h"
#include "controls/numedit/ui/numedit.h"
#include "controls/panels/ui/styledmainmenu.h"
#include "controls/panels/ui/styledpanel.h"
#include "controls/panels/ui/stylededit.h"
#include "controls/panels/ui/styledtoolpanel.h"
#include "controls/radiogroup/ui/ctlradiogroup.h"
#include "declaration/catalogue.h"
#include "declaration/taxcomputation.h"
#include "runtime/messages.h"

#include <QCoreApplication>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QScrollBar>

namespace app {

namespace {
QString s(const char16_t *text) { return QString::fromUtf16(text); }

QFont pixelFont(const QString &family, int pixels, bool bold = false)
{
    QFont f(family);
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
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
        return r->toPlainText().replace(QLatin1Char('\n'), s(u"\r\n"));
    return QString();
}

int Form1Access::itemIndex(const QString &group) const
{
    if (auto *g = qobject_cast<ctl::TCtlRadioGroup *>(m_form.control(group)))
        return g->ItemIndex();
    return -1;
}

QString Form1Access::caption(const QString &label) const
{
    if (auto *l = qobject_cast<QLabel *>(m_form.control(label)))
        return l->text();
    return QString();
}

void Form1Access::setCaption(const QString &label, const QString &caption)
{
    if (auto *l = qobject_cast<ComputedLabel *>(m_form.control(label)))
        l->setCaption(caption);
}

TForm1::TForm1(QWidget *parent) : QMainWindow(parent), m_access(*this)
{
    setObjectName(s(u"Form1"));
    setWindowTitle(s(u"Elektronikus nyomtatvány - Hollóberény Polgármesteri Hivatal"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    // The designed bounds hold only until the window is shown on the work area.
    setGeometry(172, 44, 806, 666);
    new WorkAreaFollower(this);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(0xC5, 0xB6, 0x98));
    setPalette(pal);
    setFont(pixelFont(s(u"MS Sans Serif"), 11));
    buildMenu();
    buildContent();
    makeAccessible(*this);
    m_report = std::make_unique<decl::DeclarationReport>(m_access);
}

TForm1::~TForm1()
{
    // Closing moves the focus; the fields must not compute into a window being torn down.
    for (QWidget *w : std::as_const(m_controls))
        if (auto *e = qobject_cast<ctl::TNumEdit *>(w))
            e->OnExit = nullptr;
}

QWidget *TForm1::control(const QString &component) const
{
    return m_controls.value(component);
}

void TForm1::buildMenu()
{
    setMenuBar(new ctl::TStyledMainMenu(this));
    QMenuBar *bar = menuBar();
    bar->setObjectName(s(u"StyledMainMenu1"));
    auto add = [&](const char16_t *name, const char16_t *caption, void (TForm1::*command)()) {
        QAction *a = bar->addAction(s(caption));
        a->setObjectName(s(name));
        // An error of the command is shown once the menu's event has been dispatched.
        connect(a, &QAction::triggered, this, [this, command] { rt::runHandler([&] { (this->*command)(); }); });
    };
    add(u"Nyomtats1", u"Nyomtatás", &TForm1::Nyomtats1Click);
    add(u"Kitltsitmutat1", u"Kitöltési útmutató", &TForm1::Kitltsitmutat1Click);
    add(u"Kilps1", u"Kilépés", &TForm1::Kilps1Click);
}

void TForm1::buildContent()
{
    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName(s(u"Form1Scroll"));
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_scroll->setWidgetResizable(false);
    m_scroll->setBackgroundRole(QPalette::Window);
    setCentralWidget(m_scroll);

    const Placement *outer = findPlacement(s(u"StyledPanel1"));
    auto *content = new QWidget;
    content->setObjectName(s(u"Form1Content"));
    content->setAutoFillBackground(false);
    content->resize(outer->bounds.right() + 1, outer->bounds.bottom() + 1);

    auto *panel = new ctl::TStyledPanel(content);
    panel->setObjectName(outer->component);
    panel->setGeometry(outer->bounds);
    panel->setFont(pixelFont(s(u"Tahoma"), 11));
    m_controls.insert(outer->component, panel);

    QList<QWidget *> sectionPanels;
    for (const decl::Section &sec : decl::sections()) {
        auto *p = new ctl::TStyledToolPanel(panel);
        p->setCaption(sec.caption);
        p->setObjectName(sec.panel);
        sectionPanels.append(p);
        p->setGeometry(findPlacement(sec.panel)->bounds);
        m_controls.insert(sec.panel, p);
    }

    // Caption controls first, so that the fields are drawn over boxes reaching under them.
    for (const CaptionPlacement &c : form1Captions()) {
        QWidget *parent = m_controls.value(c.parent);
        // Sized before the text arrives, so that each caption is rendered once.
        const auto placed = [&](QWidget *label) {
            label->setObjectName(c.component);
            label->setGeometry(c.bounds);
        };
        QWidget *label = nullptr;
        if (c.component.startsWith(s(u"CtlRichLabel"))) {
            auto *l = new rtf::TCtlRichLabel(parent);
            placed(l);
            if (c.component == s(u"CtlRichLabel1"))
                l->setFont(pixelFont(s(u"Arial"), 13));
            l->setRichText(guide::captionRtf(c.component));
            label = l;
        } else {
            auto *l = new rtf::TRTFLabel(parent);
            placed(l);
            l->setWordWrap(false);
            l->setRichText(guide::captionRtf(c.component));
            label = l;
        }
        m_controls.insert(c.component, label);
    }
    // Captions lie beneath every other control of their panel and, where their boxes overlap, in
    // the order of the table: the later one on top, as a designer stacks controls made later.
    const QList<CaptionPlacement> &captions = form1Captions();
    for (auto c = captions.crbegin(); c != captions.crend(); ++c)
        m_controls.value(c->component)->lower();

    const QFont arial13 = pixelFont(s(u"Arial"), 13);
    auto place = [&](QWidget *w, const QString &name) {
        const Placement *p = findPlacement(name);
        w->setParent(m_controls.value(p->parent));
        w->setObjectName(name);
        w->setGeometry(p->bounds);
        m_controls.insert(name, w);
    };

    auto *hidden = new ctl::TNumEdit;
    place(hidden, s(decl::hiddenNumEdit));

    QList<QWidget *> tabChain{hidden};
    for (int sec = 0; sec < decl::sections().size(); ++sec) {
        // Fields and groups of this section in tab order.
        QMap<int, QWidget *> ordered;
        for (const decl::Field &f : decl::fields()) {
            if (f.section != sec)
                continue;
            QWidget *w = nullptr;
            switch (f.kind) {
            case decl::FieldKind::TextEdit:
                w = new ctl::TStyledEdit;
                break;
            case decl::FieldKind::TaxNumber:
            case decl::FieldKind::TaxId: {
                auto *e = new ctl::TCtlMaskEdit;
                e->setBlankChar(QLatin1Char('*'));
                e->setMask(QString::fromUtf16(f.kind == decl::FieldKind::TaxNumber ? decl::taxNumberMask
                                                                                     : decl::taxIdMask));
                ctl::TCtlBevel bevel;
                bevel.Mode = ctl::bmCustom;
                bevel.StyleInner = ctl::bvLowered;
                bevel.BorderInnerWidth = 1;
                e->setBevel(bevel);
                ctl::TCtlCaret caret;
                caret.BlinkRate = 530;
                e->setCaret(caret);
                w = e;
                break;
            }
            case decl::FieldKind::NumericEdit: {
                auto *e = new ctl::TNumEdit;
                e->setFont(arial13);
                // The error box waits until the focus has reached where the user sent it.
                e->OnExit = [this] { rt::runHandler([this] { szamolas(); }); };
                w = e;
                break;
            }
            case decl::FieldKind::RichEdit: {
                auto *e = new QPlainTextEdit;
                e->setFont(arial13);
                e->setTabChangesFocus(true);
                w = e;
                break;
            }
            }
            place(w, f.component);
            ordered.insert(f.tab, w);
        }
        for (const decl::RadioGroup &g : decl::radioGroups()) {
            if (g.section != sec)
                continue;
            auto *w = new ctl::TCtlRadioGroup;
            w->setFont(arial13);
            w->setCaption(g.caption);
            w->setItems(g.items);
            w->setColumns(g.columns);
            place(w, g.component);
            ordered.insert(g.tab, w);
        }
        // The section panel takes the focus itself before its fields.
        tabChain.append(sectionPanels.at(sec));
        for (QWidget *w : ordered)
            if (w->focusPolicy() & Qt::TabFocus)
                tabChain.append(w);
    }
    for (int i = 1; i < tabChain.size(); ++i)
        QWidget::setTabOrder(tabChain[i - 1], tabChain[i]);

    for (const decl::ComputedLabel &c : decl::computedLabels()) {
        const Placement *p = findPlacement(c.component);
        auto *l = new ComputedLabel(computedLabelRight, p->bounds.top(), m_controls.value(p->parent));
        l->setObjectName(c.component);
        l->setFont(pixelFont(s(u"Arial"), 16, true));
        l->setCaption(s(u"0")); // re-measured in the label's font
        m_controls.insert(c.component, l);
    }

    m_scroll->setWidget(content);
}

void TForm1::Nyomtats1Click()
{
    printDeclaration(*m_report);
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
    // Ends at once: no close request, no question, exit code 0.
    QCoreApplication::exit(0);
}

void TForm1::szamolas()
{
    decl::szamolas(m_access);
}

} // namespace app
