#pragma once

#include "controls/radiogroup/radiogroupmodel.h"

#include <QWidget>

#include <optional>

namespace ctl {

class TCtlRadioGroupButton;

// A captioned frame holding one radio button per string of Items, at most one checked.
// Neither the group nor its buttons are tab stops; the arrow keys move between the buttons.
class TCtlRadioGroup : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(int ItemIndex READ ItemIndex WRITE setItemIndex)
    Q_PROPERTY(QStringList Items READ Items WRITE setItems)
    Q_PROPERTY(int Columns READ Columns WRITE setColumns)
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
    Q_PROPERTY(bool Warning READ warning WRITE setWarning)

public:
    explicit TCtlRadioGroup(QWidget *parent = nullptr);
    ~TCtlRadioGroup() override;

    int ItemIndex() const { return m_model.ItemIndex(); }
    // Clamped to -1 … count − 1; fires no event.
    void setItemIndex(int index);
    QStringList Items() const { return m_model.Items(); }
    void setItems(const QStringList &items);
    int Columns() const { return m_model.Columns(); }
    // Clamped to 1 … 12.
    void setColumns(int columns);
    int ItemHeight() const { return m_model.ItemHeight(); }
    void setItemHeight(int height);
    int ItemOffset() const { return m_model.ItemOffset(); }
    void setItemOffset(int offset);
    QString Caption() const { return m_caption; }
    void setCaption(const QString &caption);
    TCtlGroupCaptionAlign Alignment() const { return m_model.Alignment(); }
    void setAlignment(TCtlGroupCaptionAlign alignment);
    int CaptionOffset() const { return m_captionOffset; }
    void setCaptionOffset(int offset);
    // The caption font follows the group's font until one is set (CaptionParentFont).
    QFont CaptionFont() const { return m_captionFont.value_or(font()); }
    void setCaptionFont(const QFont &font);
    bool CaptionParentFont() const { return !m_captionFont.has_value(); }
    void setCaptionParentFont(bool parentFont);
    int GlyphSize() const { return m_glyphSize; }
    void setGlyphSize(int size);
    int Spacing() const { return m_spacing; }
    void setSpacing(int spacing);
    bool ReadOnly() const { return m_model.ReadOnly(); }
    void setReadOnly(bool readOnly) { m_model.setReadOnly(readOnly); }
    bool ShowAccelChar() const { return m_showAccelChar; }
    void setShowAccelChar(bool show);
    // Drawn with the warning ground inside a frame of the warning colour
    // (controls/common/ui/warninglook.h); the choice and the keys are untouched.
    bool warning() const { return m_warning; }
    void setWarning(bool on);
    // Puts the focus on the checked button, or on the first one without checking it: for a
    // program that leads the user to the group.
    void focusWithoutChoosing();

    int buttonCount() const { return int(m_buttons.size()); }
    TCtlRadioGroupButton *button(int index) const;
    const RadioGroupModel &model() const { return m_model; }

Q_SIGNALS:
    // The chosen button changed (by the user).
    void OnClick();
    void OnChange(int ButtonIndex);
    void OnDblClick();

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;

private:
    friend class TCtlRadioGroupButton;
    void buttonFocused(TCtlRadioGroupButton *button, Qt::FocusReason reason);
    void buttonClicked(TCtlRadioGroupButton *button);
    void moveFocus(TCtlRadioGroupButton *from, int step);
    void syncButtons();
    void updateChecks();
    void doLayout();
    // Tells assistive technology which buttons gained or lost their check mark.
    void announceChecks();
    void grabAccelerator();

    RadioGroupModel m_model;
    QList<TCtlRadioGroupButton *> m_buttons;
    QString m_caption;
    std::optional<QFont> m_captionFont;
    int m_captionOffset = 8;
    int m_glyphSize = 13;
    int m_spacing = 2;
    bool m_showAccelChar = true;
    bool m_warning = false;
    bool m_focusOnly = false;
    int m_shortcutId = 0;
    int m_announcedChecked = -1; // the button assistive technology last heard was checked
};

// One radio button of a group: a small transparent child window showing the glyph and the caption.
class TCtlRadioGroupButton : public QWidget
{
    Q_OBJECT
public:
    explicit TCtlRadioGroupButton(TCtlRadioGroup *group);

    int index() const;
    QString Caption() const;
    bool Checked() const;
    bool isPressed() const { return m_pressed; }
    // Where the glyph and the caption text stand inside the button.
    QRect glyphRect() const;
    QRect textRect() const;
    // How the caption is drawn in textRect(): wrapped when it had to be.
    static int textFlags();

    // Chooses this option as a click on it does: the button takes the focus, which checks it,
    // and reports the click. For assistive technology, which presses buttons without a mouse.
    void choose();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    TCtlRadioGroup *m_group;
    bool m_pressed = false;
    bool m_mouseDown = false;
};

} // namespace ctl
