#pragma once

#include <QDialog>

class QFrame;

namespace rtf {
class TCtlRichScrollBox;
}

namespace guide {

// The filling-guide window: the guide as scrollable rich text on a panel. It holds no
// commands; the user closes it with its close box, and it can be shown again any time.
class TForm2 : public QDialog
{
    Q_OBJECT
public:
    explicit TForm2(QWidget *parent = nullptr);

    // Shows the window modally, centred on the screen; returns when the user closes it.
    void showModal();

    QFrame *Panel1() const { return m_panel; }
    rtf::TCtlRichScrollBox *CtlRichScrollBox1() const { return m_viewer; }

private:
    QFrame *m_panel;
    rtf::TCtlRichScrollBox *m_viewer;
};

} // namespace guide
