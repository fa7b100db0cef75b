#pragma once

#include <QLineEdit>

namespace ctl {

// A plain single-line text field: any character, no length limit, but a line break or tab that
// arrives (pasted, dropped) becomes a blank. Its whole text is selected when it receives the
// focus (a click then puts the caret where it lands); Enter and Ctrl+Enter are swallowed
// without doing anything.
class TStyledEdit : public QLineEdit
{
    Q_OBJECT
    Q_PROPERTY(QString Text READ Text WRITE setText)
    Q_PROPERTY(bool AutoSelect READ AutoSelect WRITE setAutoSelect)
    Q_PROPERTY(bool Warning READ warning WRITE setWarning)

public:
    explicit TStyledEdit(QWidget *parent = nullptr);

    // The typed text (no prefix or suffix to strip).
    QString Text() const { return text(); }
    bool AutoSelect() const { return m_autoSelect; }
    void setAutoSelect(bool autoSelect) { m_autoSelect = autoSelect; }
    // Drawn with the warning ground and frame (controls/common/ui/warninglook.h); the text and
    // the editing are untouched.
    bool warning() const { return m_warning; }
    void setWarning(bool on);

protected:
    void initStyleOption(QStyleOptionFrame *option) const override;
    void paintEvent(QPaintEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    bool m_autoSelect = true;
    bool m_warning = false;
};

} // namespace ctl
