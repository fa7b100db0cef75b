#pragma once

#include "controls/numedit/numeditmodel.h"

#include <QColor>
#include <QLineEdit>

#include <functional>

class QMenu;

namespace ctl {

enum class TAlignment { taLeftJustify, taRightJustify, taCenter };

// The numeric field: a line edit whose every edit goes through NumEditModel. It starts at
// "0", right-aligned, and on leaving rewrites its text in the normal form before OnExit runs.
class TNumEdit : public QLineEdit
{
    Q_OBJECT
public:
    explicit TNumEdit(QWidget *parent = nullptr);

    int decimals() const { return m_model.decimals(); }
    void setDecimals(int decimals);
    TNumberFormat numberFormat() const { return m_model.numberFormat(); }
    void setNumberFormat(TNumberFormat format);
    TAlignment alignmentStyle() const { return m_alignment; }
    void setAlignmentStyle(TAlignment alignment);

    // Throws rt::EConvertError when the text does not convert.
    long double value() const;
    void setValue(long double value);
    long double minValue() const { return m_model.minValue(); }
    void setMinValue(long double v) { m_model.setMinValue(v); }
    long double maxValue() const { return m_model.maxValue(); }
    void setMaxValue(long double v) { m_model.setMaxValue(v); }

    bool autoSelect() const { return m_autoSelect; }
    void setAutoSelect(bool on) { m_autoSelect = on; }
    // 0 means no limit of our own.
    int numMaxLength() const { return m_model.maxLength(); }
    void setNumMaxLength(int maxLength);

    // The platform's window and button-face colours until set.
    QColor color() const;
    void setColor(const QColor &color);
    QColor disabledColor() const;
    void setDisabledColor(const QColor &color);

    static QString version() { return QStringLiteral("8.00.00.00"); }

    // Exit processing, run when the field loses the focus to another control: rewrite,
    // range check, then OnExit. A text that does not convert throws rt::EConvertError
    // and leaves the text as it was; on a focus change the field shows the error through
    // the default error display once the change is over, as it does errors of OnExit.
    void exitProcessing();

    // The context menu the field shows; the caller owns it.
    QMenu *createContextMenu();

    // Events; unassigned ones are not called.
    std::function<void()> OnExit;
    std::function<void()> OnInvalidEntry;

Q_SIGNALS:
    // The field refused a key or character and beeped.
    void beeped();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void handleKey(QKeyEvent *event);
    void pull();
    void push();
    void beep();
    void typeText(const QString &text);
    void copyToClipboard();
    void cutToClipboard();
    void pasteFromClipboard();
    void applyColor();

    NumEditModel m_model;
    TAlignment m_alignment = TAlignment::taRightJustify;
    bool m_autoSelect = true;
    bool m_selectOnClick = false;
    QColor m_color;
    QColor m_disabledColor;
};

} // namespace ctl
