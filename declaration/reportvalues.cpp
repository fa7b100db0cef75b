#include "declaration/reportvalues.h"

#include "declaration/catalogue.h"
#include "declaration/declarationcode.h"
#include "declaration/formaccess.h"
#include "logging_p.h"
#include "declaration/reporttemplate.h"
#include "report/engine/reportdocument.h"

namespace decl {

namespace {

struct KeySource
{
    QString key;
    QString component;
    bool label = false; // a computed label: its caption is the value
};

// m1 ... m44 in key order, from the catalogue.
const QList<KeySource> &keySources()
{
    static const QList<KeySource> list = [] {
        QList<KeySource> sources;
        for (int i = 1; i <= 44; ++i) {
            const QString key = QStringLiteral("m%1").arg(i);
            for (const Field &f : fields()) {
                if (f.key == key)
                    sources.append({key, f.component, false});
            }
            for (const ComputedLabel &l : computedLabels()) {
                if (l.key == key)
                    sources.append({key, l.component, true});
            }
        }
        return sources;
    }();
    return list;
}

struct Mark
{
    const char *group;
    int index;
    const char *first;
    const char *second;
};

const Mark marks[] = {
    {"CtlRadioGroup5", 0, "Line2", "Line3"},   {"CtlRadioGroup5", 1, "Line4", "Line5"},
    {"CtlRadioGroup5", 2, "Line6", "Line7"},   {"CtlRadioGroup5", 3, "Line8", "Line9"},
    {"CtlRadioGroup6", 0, "Line10", "Line11"}, {"CtlRadioGroup6", 1, "Line37", "Line38"},
    {"CtlRadioGroup6", 2, "Line39", "Line40"}, {"CtlRadioGroup6", 3, "Line41", "Line42"},
    {"CtlRadioGroup6", 4, "Line45", "Line46"}, {"CtlRadioGroup6", 5, "Line47", "Line48"},
};

void showLine(rep::TrepReport &report, const char *name)
{
    rep::TrepComponent *line = report.FindObject(QString::fromLatin1(name));
    if (!line) {
        // The mark's other line still shows.
        qCWarning(lcDeclaration, "the report template has no mark line %s", name);
        return;
    }
    line->SetVisible(true);
}

} // namespace

QString printedTitle(const FormAccess &form)
{
    QString title = QStringLiteral("2006 évi telekadó, a telek nm2 alapján történő adó megállapitásához a helyi "
                                   "adókról szóló 1990. évi C. törvény alapján.");
    if (form.itemIndex(QStringLiteral("CtlRadioGroup1")) == 0)
        title += QStringLiteral(" (tulajdonjog szerzés)");
    else
        title += QStringLiteral(" (ingatlan adataiban bekövetkezett változás)");
    return title;
}

void repReport1GetValue(const FormAccess &form, const QString &VarName, QVariant &Value)
{
    // Every key is compared on every call; at most one matches.
    for (const KeySource &source : keySources()) {
        if (VarName == source.key)
            Value = source.label ? form.caption(source.component) : form.text(source.component);
    }
    if (VarName == QString::fromUtf16(titleKey))
        Value = printedTitle(form);
    else if (VarName == codeKey)
        Value = declarationCode(form);
}

void repReport1BeforePrint(const FormAccess &form, rep::TrepReport &report, rep::TrepComponent *Sender)
{
    Q_UNUSED(Sender);
    for (const char *group : {"CtlRadioGroup5", "CtlRadioGroup6"}) {
        const int chosen = form.itemIndex(QString::fromLatin1(group));
        for (const Mark &mark : marks) {
            if (qstrcmp(mark.group, group) == 0 && chosen == mark.index) {
                showLine(report, mark.first);
                showLine(report, mark.second);
            }
        }
    }
}

DeclarationReport::DeclarationReport(FormAccess &form)
    : m_form(form)
    , m_document(std::make_unique<rep::ReportDocument>())
{
    loadReportTemplate(report());
    report().OnGetValue = [this](const QString &name, QVariant &value) {
        repReport1GetValue(m_form, name, value);
    };
    report().OnBeforePrint = [this](rep::TrepComponent *sender) {
        repReport1BeforePrint(m_form, report(), sender);
    };
}

DeclarationReport::~DeclarationReport() = default;

rep::TrepReport &DeclarationReport::report()
{
    return m_document->report();
}

rep::TrepPreviewPages &DeclarationReport::pages()
{
    return m_document->pages();
}

bool DeclarationReport::prepare()
{
    return report().PrepareReport(true);
}

} // namespace decl
