#pragma once

class QString;
class QWidget;

namespace decl {
class FormAccess;
}

namespace app {

class FieldWarnings;

// The main window as its parts see it (screen-reader access, the fields' warnings, the checks
// before printing), so that they need not know the window they serve.
class FormView
{
public:
    // The window itself, as the parent of what the parts make.
    virtual QWidget *widget() = 0;
    // A control of the form by its component name, nullptr when there is none.
    virtual QWidget *control(const QString &component) const = 0;
    // The declaration's access to the controls.
    virtual decl::FormAccess &form() = 0;
    // Puts the focus into a field or group, scrolled into view.
    virtual void focusField(const QString &component) = 0;
    virtual FieldWarnings &warnings() = 0;

protected:
    ~FormView() = default;
};

} // namespace app
