#include "declaration/reporttemplate.h"

#include "report/model/report.h"
#include "runtime/errors.h"

#include <QFile>

static void initTemplateResource()
{
    Q_INIT_RESOURCE(repreport1);
}

namespace decl {

void loadReportTemplate(rep::TrepReport &report)
{
    initTemplateResource();
    QFile file(QStringLiteral(":/declaration/repreport1.xml"));
    if (!file.open(QIODevice::ReadOnly))
        throw rt::Exception(QStringLiteral("The report template is missing"));
    QString error;
    const auto item = rep::TrepXMLItem::readXml(file.readAll(), &error);
    if (!item)
        throw rt::Exception(QStringLiteral("The report template is damaged: ") + error);
    report.LoadFromStream(*item);
    // LoadFromStream keeps the component's own name; the template names it.
    report.SetName(item->prop(QStringLiteral("Name")));
}

} // namespace decl
