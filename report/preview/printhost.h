#pragma once

class QWidget;

namespace rep {

// What the print job needs of the preview while it prints: the page the preview shows (for
// the print dialog's current-page choice), the lock taken once the dialog is confirmed, the
// page-being-printed notification and the stop flag set by the preview's cancel button.
// The preview unlocks by itself when the print callback returns or throws.
class PreviewPrintHost
{
public:
    virtual ~PreviewPrintHost() = default;

    // 1-based.
    virtual int currentPage() const = 0;
    virtual void lock() = 0;
    // Shows "Oldal nyomtatása N" with the cancel button and processes pending events.
    virtual void pageBeingPrinted(int pageNumber) = 0;
    virtual bool stopRequested() const = 0;
    // The window that opens the print dialog: the dialog's parent.
    virtual QWidget *dialogOwner() = 0;
};

} // namespace rep
