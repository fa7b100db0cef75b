#include "app/guide/tform2.h"

#include "app/guide/captions.h"
#include "controls/richtext/ui/tctlrichscrollbox.h"
#include "runtime/ui/placement.h"

#include <QFrame>
#include <QGuiApplication>
#include <QScreen>

namespace guide {

TForm2::TForm2(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowCloseButtonHint),
      m_panel(new QFrame(this)),
      m_viewer(new rtf::TCtlRichScrollBox(m_panel))
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Kitöltési útmutató"));
    setGeometry(204, 174, 696, 480);
    setSizeGripEnabled(false);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(0xC5, 0xB6, 0x98));
    setPalette(pal);
    setAutoFillBackground(true);
    QFont f(QStringLiteral("MS Sans Serif"));
    f.setPixelSize(11);
    setFont(f);

    m_panel->setObjectName(QStringLiteral("Panel1"));
    m_panel->setGeometry(16, 16, 657, 417);
    m_panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    m_panel->setLineWidth(1);
    QPalette pp = m_panel->palette();
    pp.setColor(QPalette::Window, QColor(0xF6, 0xF4, 0xE7));
    m_panel->setPalette(pp);
    m_panel->setAutoFillBackground(true);

    m_viewer->setObjectName(QStringLiteral("CtlRichScrollBox1"));
    m_viewer->setGeometry(16, 16, 625, 385);
    m_viewer->setRichText(guideRtf());
    // The guide is read with the keyboard: the viewer takes the focus and scrolls by keys, and a
    // screen reader knows it by the window's caption.
    m_viewer->setFocusPolicy(Qt::StrongFocus);
    m_viewer->setAccessibleName(windowTitle());
    m_viewer->setFocus();
}

void TForm2::showModal()
{
    // Centred on the screen each time it is shown, frame included, and wholly inside the work area.
    // Before its first showing the window has no frame yet: the main window's stands in for it.
    QMargins frame = rt::frameMargins(this);
    if (frame.isNull() && parentWidget())
        frame = rt::frameMargins(parentWidget()->window());
    if (QScreen *screen = (parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen())) {
        const QRect outer = rt::centredFrame(screen->geometry(), size().grownBy(frame), screen->availableGeometry());
        setGeometry(QRect(outer.topLeft() + QPoint(frame.left(), frame.top()), size()));
    }
    exec();
}

} // namespace guide
