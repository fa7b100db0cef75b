#pragma once

#include "app/commands/editableform.h"

namespace app {

class TForm1;

// The declaration's access to the window's controls.
class Form1Access : public EditableForm
{
public:
    explicit Form1Access(TForm1 &form) : m_form(form) {}
    QString text(const QString &component) const override;
    int itemIndex(const QString &group) const override;
    QString caption(const QString &label) const override;
    void setCaption(const QString &label, const QString &caption) override;

    // A field's text as the user could have typed it: a masked edit checks it against its mask
    // (and keeps its text when it does not fit), a numeric edit takes a number in its normal
    // form, as leaving the field writes it, but computes nothing.
    void setText(const QString &component, const QString &text) override;
    // A radio group's choice, -1 for none; fires no event.
    void setItemIndex(const QString &group, int index) override;

private:
    TForm1 &m_form;
};

} // namespace app
