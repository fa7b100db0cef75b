#pragma once

#include <QString>
#include <QVariant>

#include <memory>

namespace rep {
class ReportDocument;
class TrepComponent;
class TrepPreviewPages;
class TrepReport;
} // namespace rep

namespace decl {

class FormAccess;

// The printed title (key m45): the fixed text and the suffix of the change reason.
QString printedTitle(const FormAccess &form);

// Answers the report keys m1 ... m45 with the form's field texts, and m46 with the 2D code's
// payload (declarationcode.h). The name is compared with
// every key, exactly and case-sensitively; any other name leaves Value as it came.
void repReport1GetValue(const FormAccess &form, const QString &VarName, QVariant &Value);

// Shows the cross lines of the options chosen in CtlRadioGroup5 and CtlRadioGroup6, looking
// them up by name in the report; a missing line is skipped. Sender is ignored.
void repReport1BeforePrint(const FormAccess &form, rep::TrepReport &report, rep::TrepComponent *Sender);

// The report component repReport1: the printed template with its engine and store, and the two
// handlers bound to a form. The form must outlive it.
class DeclarationReport
{
public:
    explicit DeclarationReport(FormAccess &form);
    ~DeclarationReport();

    rep::TrepReport &report();
    rep::TrepPreviewPages &pages();
    const FormAccess &form() const { return m_form; }
    // Prepares the pages (clearing earlier ones); True when no error was recorded. Errors have
    // then been shown through rt::showMessage.
    bool prepare();

private:
    FormAccess &m_form;
    std::unique_ptr<rep::ReportDocument> m_document;
};

} // namespace decl
