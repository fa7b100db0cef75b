#include "engine_p.h"

#include "expressions_p.h"
#include "valueformat_p.h"
#include "report/model/objects.h"
#include "report/model/page.h"
#include "report/resources/resources.h"
#include "runtime/errors.h"
#include "runtime/messages.h"

#include <QLoggingCategory>

namespace rep {

namespace {

Q_LOGGING_CATEGORY(lcReportEngine, "telekado.report.engine", QtInfoMsg)

bool isIdentifier(const QString &s)
{
    if (s.isEmpty() || !(s.at(0).isLetter() || s.at(0) == QLatin1Char('_')))
        return false;
    for (const QChar c : s) {
        if (!(c.isLetterOrNumber() || c == QLatin1Char('_')))
            return false;
    }
    return true;
}

// Empties a null band's list even when printing it fails, so that freeing it leaves the page's
// objects alone.
struct BandRelease
{
    TrepNullBand &band;
    ~BandRelease() { band.ReleaseObjects(); }
};

} // namespace

TrepEngine::TrepEngine(TrepReport &report, TrepCustomPreviewPages &pages)
    : m_report(report)
    , m_pages(pages)
    , m_scriptValue(nullValue())
{
}

bool TrepEngine::PrepareReport(bool clearPages)
{
    if (clearPages)
        m_pages.Clear();
    m_report.ClearErrors();
    // No dataset objects exist in this program: every listed name is missing.
    for (const QString &name : std::as_const(m_report.Datasets))
        m_report.AddError(repFormat(repGet(QStringLiteral("clDSNotExist")), {name}));

    if (m_report.Errors().isEmpty()) {
        // A snapshot of the whole template, restored afterwards also when the run failed.
        TrepReport copy;
        copy.Assign(m_report, true);
        try {
            if (prepareScript())
                run();
        } catch (const rt::Exception &e) {
            qCDebug(lcReportEngine) << "preparation stopped:" << e.message();
            m_report.AddError(e.message());
        } catch (const std::exception &e) {
            qCWarning(lcReportEngine) << "preparation stopped by an unexpected error:" << e.what();
            m_report.AddError(QString::fromUtf8(e.what()));
        }
        const QStringList errors = m_report.Errors();
        m_report.RestoreFromCopy(copy);
        m_report.SetErrors(errors);
    }

    const QStringList &errors = m_report.Errors();
    if (!errors.isEmpty() && !m_report.EngineOptions.SilentMode) {
        rt::showMessage({repGet(QStringLiteral("mbError")),
                         repGet(QStringLiteral("clErrors")) + QStringLiteral("\r\n") + errors.join(QStringLiteral("\r\n")),
                         rt::Message::Icon::Stop});
    }
    return errors.isEmpty();
}

bool TrepEngine::prepareScript()
{
    m_expressionCache.clear();
    m_scriptValue = nullValue();
    for (TrepComponent *object : m_report.AllObjects())
        object->DesignFlag = false;
    // Only the empty program is accepted: there is no script engine to run anything else.
    const QString script = m_report.ScriptText.join(QLatin1Char(' ')).simplified().toLower();
    if (!script.isEmpty() && script != QLatin1String("begin end.")) {
        m_report.AddError(repFormat(repGet(QStringLiteral("clScrError")),
                                    {QStringLiteral("1:1"), repGet(QStringLiteral("clScrUnsupported"))}));
        return false;
    }
    return true;
}

bool TrepEngine::run()
{
    m_pages.BeginPreparation();
    const QDateTime now = QDateTime::currentDateTime();
    m_startDate = QDateTime(now.date(), QTime(0, 0));
    m_startTime = QDateTime(zeroDate(), now.time());
    m_line = m_lineAbs = 1;
    bool result = false;
    try {
        for (TrepReportPage *page : m_report.Pages())
            m_pages.RegisterSourcePage(page);
        if (m_report.Errors().isEmpty()) {
            m_totalPages = 0;
            m_pages.BeginPass();
            runReportPages();
            if (m_report.EngineOptions.DoublePass) {
                m_totalPages = m_pages.Count();
                m_pages.ClearFirstPassPages();
                runReportPages();
            }
            result = true;
        }
    } catch (...) {
        m_pages.Finish();
        throw;
    }
    m_pages.Finish();
    return result;
}

void TrepEngine::runReportPages()
{
    m_firstPage = true;
    for (TrepReportPage *page : m_report.Pages()) {
        if (page->Visible())
            processPage(page);
        m_firstPage = false;
    }
}

void TrepEngine::processPage(TrepReportPage *page)
{
    if (m_pages.Count() > 0 && page->PrintOnPreviousPage)
        m_pages.CurrentPage = m_pages.Count() - 1;
    else
        m_pages.AddPage(page);
    if (m_firstPage)
        m_pages.FirstPage = m_pages.CurrentPage;

    TrepNullBand band;
    BandRelease release{band};
    for (TrepComponent *object : page->Objects()) {
        if (!dynamic_cast<TrepBand *>(object))
            band.ListObject(object);
    }
    printBand(band);
}

void TrepEngine::printBand(TrepBand &band)
{
    m_report.CurrentObjectName = band.Name();
    band.BeforePrint();
    if (m_report.OnBeforePrint)
        m_report.OnBeforePrint(&band);
    if (!band.Visible())
        return;

    const QList<TrepComponent *> objects = band.Objects();
    auto finish = [&] {
        if (!band.Visible())
            return;
        for (TrepComponent *object : objects) {
            m_report.CurrentObjectName = object->Name();
            if (m_report.OnAfterPrint)
                m_report.OnAfterPrint(object);
            if (auto *rc = dynamic_cast<TrepReportComponent *>(object))
                rc->AfterPrint();
        }
        m_report.CurrentObjectName = band.Name();
        if (m_report.OnAfterPrint)
            m_report.OnAfterPrint(&band);
        band.AfterPrint();
    };

    try {
        // Every before-print event of the band's objects comes before any visibility test.
        for (TrepComponent *object : objects) {
            m_report.CurrentObjectName = object->Name();
            if (auto *rc = dynamic_cast<TrepReportComponent *>(object))
                rc->BeforePrint();
            if (m_report.OnBeforePrint)
                m_report.OnBeforePrint(object);
        }
        for (TrepComponent *object : objects) {
            if (!object->Visible())
                continue;
            m_report.CurrentObjectName = object->Name();
            if (auto *rc = dynamic_cast<TrepReportComponent *>(object))
                rc->GetData();
        }
        m_pages.AddObject(&band);
    } catch (...) {
        finish();
        throw;
    }
    finish();
}

bool TrepEngine::LookupName(const QString &name, QVariant &value)
{
    value = nullValue();
    // Dataset fields ('Name."Field"'): no datasets exist here.

    static const char *const systemNames[] = {"Date", "Time", "Page", "Page#", "TotalPages", "TotalPages#", "Line", "Line#"};
    for (int i = 0; i < 8; ++i) {
        if (name.compare(QLatin1String(systemNames[i]), Qt::CaseInsensitive) != 0)
            continue;
        const int current = m_pages.CurrentPage;
        const int first = m_pages.FirstPage;
        switch (i) {
        case 0: value = m_startDate; break;
        case 1: value = m_startTime; break;
        case 2: value = current - first + 1; break;
        case 3: value = current + 1; break;
        case 4: value = m_totalPages - first; break;
        case 5: value = m_totalPages; break;
        case 6: value = m_line; break;
        case 7: value = m_lineAbs; break;
        }
        return true;
    }

    for (const auto &variable : std::as_const(m_report.Variables)) {
        if (variable.first.compare(name, Qt::CaseInsensitive) != 0)
            continue;
        value = isStringValue(variable.second) ? Calc(variable.second.toString()) : variable.second;
        return true;
    }

    // Aggregates need data bands; without them their value is 0.
    const qsizetype paren = name.indexOf(QLatin1Char('('));
    if (paren >= 0) {
        const QString function = name.left(paren).trimmed().toUpper();
        if (function == QLatin1String("SUM") || function == QLatin1String("MIN") || function == QLatin1String("MAX")
            || function == QLatin1String("AVG") || function == QLatin1String("COUNT")) {
            value = 0;
            return true;
        }
    }

    if (name.compare(QLatin1String("Value"), Qt::CaseInsensitive) == 0) {
        value = m_scriptValue;
        return true;
    }

    if (m_report.OnGetValue) {
        QVariant answer; // empty: the handler has not answered until it assigns something
        m_report.OnGetValue(name, answer);
        if (answer.isValid()) {
            value = answer;
            return true;
        }
    }
    return false;
}

TrepEngine::Compiled TrepEngine::compile(const QString &expression) const
{
    const QString e = expression.trimmed();
    Compiled c;
    if (e.size() >= 2 && e.startsWith(QLatin1Char('\'')) && e.endsWith(QLatin1Char('\''))) {
        const QString inner = e.mid(1, e.size() - 2);
        QString unquoted = inner;
        unquoted.replace(QStringLiteral("''"), QStringLiteral("'"));
        // A lone quote inside would end the string early.
        if (!QString(inner).remove(QStringLiteral("''")).contains(QLatin1Char('\''))) {
            c.ok = true;
            c.value = unquoted;
            return c;
        }
    }
    bool isInt = false;
    const qlonglong i = e.toLongLong(&isInt);
    if (isInt) {
        c.ok = true;
        c.value = (i >= INT_MIN && i <= INT_MAX) ? QVariant(int(i)) : QVariant(i);
        return c;
    }
    bool isFloat = false;
    const double d = e.toDouble(&isFloat);
    if (isFloat && !e.isEmpty() && (e.at(0).isDigit() || e.at(0) == QLatin1Char('-') || e.at(0) == QLatin1Char('.'))) {
        c.ok = true;
        c.value = d;
        return c;
    }
    if (isIdentifier(e))
        c.error = repFormat(repGet(QStringLiteral("clScrUnknownVar")), {e});
    else
        c.error = repGet(QStringLiteral("clScrBadExpr"));
    return c;
}

QVariant TrepEngine::Calc(const QString &expression)
{
    QVariant value;
    if (LookupName(expression, value))
        return value;
    auto it = m_expressionCache.constFind(expression);
    if (it == m_expressionCache.constEnd())
        it = m_expressionCache.insert(expression, compile(expression));
    if (it->ok)
        return it->value;
    QString message = repGet(QStringLiteral("clExprError")) + QStringLiteral(" '") + expression
                      + QStringLiteral("': ") + it->error;
    if (!m_report.CurrentObjectName.isEmpty())
        message = m_report.CurrentObjectName + QStringLiteral(": ") + message;
    m_report.AddError(message);
    throw rt::Exception(message);
}

QString TrepEngine::ExpandText(const QString &text)
{
    return expandExpressions(text, QStringLiteral("["), QStringLiteral("]"),
                             [this](const QString &expression) { return plainText(Calc(expression)); });
}

QString TrepEngine::displayText(TrepCustomMemoView &memo, const QString &expression)
{
    QString expr = expression;
    TrepFormat format = memo.DisplayFormat;
    const qsizetype hash = expr.indexOf(QLatin1String(" #"));
    if (hash >= 0) {
        format = parseFormatSuffix(expr.mid(hash + 2));
        expr = expr.left(hash);
    }
    QVariant value;
    if (expr.compare(QLatin1String("TOTALPAGES#"), Qt::CaseInsensitive) == 0)
        value = QStringLiteral("[TotalPages#]");
    else
        value = Calc(expr);
    memo.Value = value;
    if (memo.HideZeros && !isStringValue(value)) {
        double x = 0;
        if (valueToNumber(value, x) && x == 0)
            return QString();
    }
    return formatValue(value, format);
}

void TrepEngine::FillMemo(TrepCustomMemoView &memo)
{
    if (memo.IsDataBound())
        return;
    if (memo.AllowExpressions) {
        QString open, close;
        splitDelimiters(memo.ExpressionDelimiters, open, close);
        const QString text = memo.Text();
        if (!open.isEmpty() && text.contains(open)) {
            memo.SetText(expandExpressions(text, open, close,
                                           [&](const QString &expression) { return displayText(memo, expression); }));
        }
    }
    m_scriptValue = memo.Value;
    memo.Highlight.Active = false;
    if (!memo.Highlight.Condition.isEmpty()) {
        bool active = false;
        valueToBool(Calc(memo.Highlight.Condition), active);
        memo.Highlight.Active = active;
    }
}

} // namespace rep
