#pragma once

#include "declaration/formaccess.h"

namespace app {

// A form whose fields the file commands fill: the window's controls, or a map in tests.
class EditableForm : public decl::FormAccess
{
public:
    // A field's text as the user could have typed it.
    virtual void setText(const QString &component, const QString &text) = 0;
    // A radio group's choice, -1 for none; fires no event.
    virtual void setItemIndex(const QString &group, int index) = 0;
};

} // namespace app
