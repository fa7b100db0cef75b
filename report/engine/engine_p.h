#pragma once

#include "report/model/report.h"
#include "report/pages/previewpagesbase.h"

#include <QDateTime>
#include <QHash>
#include <QVariant>

namespace rep {

class TrepBand;
class TrepNullBand;

// The page producer of a report: the prepare operation, the run over the report pages, the
// print steps of each page's objects, expression evaluation and the events raised on the program.
// It writes the prepared pages into a store that its owner keeps (see ReportDocument).
//
// There is no script engine: an expression is answered by the name lookup (system names, report
// variables, the script variable "Value", then the report's OnGetValue); a number or a quoted
// string evaluates to itself; anything else fails with the compile error a script would give.
class TrepEngine : public TrepCustomEngine
{
public:
    // Both must outlive the engine.
    TrepEngine(TrepReport &report, TrepCustomPreviewPages &pages);

    bool PrepareReport(bool clearPages) override;
    QVariant Calc(const QString &expression) override;
    QString ExpandText(const QString &text) override;
    void FillMemo(TrepCustomMemoView &memo) override;

    // Looks a name up (without the script fallback); false when nothing answers it.
    bool LookupName(const QString &name, QVariant &value);

private:
    struct Compiled
    {
        bool ok = false;
        QVariant value;
        QString error;
    };

    bool prepareScript();
    bool run();
    void runReportPages();
    void processPage(TrepReportPage *page);
    void printBand(TrepBand &band);
    Compiled compile(const QString &expression) const;
    QString displayText(TrepCustomMemoView &memo, const QString &expression);

    TrepReport &m_report;
    TrepCustomPreviewPages &m_pages;
    QDateTime m_startDate, m_startTime;
    int m_totalPages = 0;
    bool m_firstPage = false;
    int m_line = 1, m_lineAbs = 1;
    QVariant m_scriptValue;
    QHash<QString, Compiled> m_expressionCache;
};

} // namespace rep
