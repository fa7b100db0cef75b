#pragma once

#include "report/model/component.h"

#include <QStringList>
#include <QVariant>

#include <functional>
#include <memory>

namespace rep {

class TrepCustomMemoView;
class TrepReport;
class TrepReportPage;

// The page producer as the object model sees it: the prepare operation, expression evaluation
// and the expansion steps of the objects' data step.
class TrepCustomEngine
{
public:
    virtual ~TrepCustomEngine() = default;
    virtual bool PrepareReport(bool clearPages) = 0;
    // The value of an expression; raises rt::Exception when it cannot be evaluated.
    virtual QVariant Calc(const QString &expression) = 0;
    // Expands "[...]" in a view's TagStr or URL with the plain value-to-text conversion.
    virtual QString ExpandText(const QString &text) = 0;
    // The memo's data step: expands its bracketed expressions and evaluates its highlight.
    virtual void FillMemo(TrepCustomMemoView &memo) = 0;
};

using TrepGetValueEvent = std::function<void(const QString &VarName, QVariant &Value)>;
using TrepBeforePrintEvent = std::function<void(TrepComponent *Sender)>;

// The root of a template: its pages, settings and events, the errors of the last preparation
// and the engine that prepares it.
class TrepReport : public TrepComponent
{
public:
    TrepReport();
    ~TrepReport() override;
    QString ClassName() const override { return QStringLiteral("TrepReport"); }
    bool IsReport() const override { return true; }

    // Find-by-name over the whole report through an index of names (first object in
    // AllObjects order per name), rebuilt after any change of the tree or of a name.
    TrepComponent *FindIndexed(const QString &name) const;
    void InvalidateNameIndex() { m_nameIndexValid = false; }
    const PropTable &Props() const override;

    // Prepares the pages; True exactly when no error was recorded (engine required).
    bool PrepareReport(bool clearPages = true);
    QVariant Calc(const QString &expression);

    TrepCustomEngine *Engine() const { return m_engine.get(); }
    void SetEngine(std::unique_ptr<TrepCustomEngine> engine);

    // The report pages in order.
    QList<TrepReportPage *> Pages() const;

    TrepEngineOptions EngineOptions;
    TrepPreviewOptions PreviewOptions;
    TrepPrintOptions PrintOptions;
    TrepReportOptions ReportOptions;
    QString ScriptLanguage = QStringLiteral("Pascal");
    QStringList ScriptText{QStringLiteral("begin"), QString(), QStringLiteral("end.")};
    bool DotMatrixReport = false;
    QString OnStartReport, OnStopReport;
    // Named report variables consulted by expression lookup (none in the declaration).
    QList<QPair<QString, QVariant>> Variables;
    // Names of the report's datasets; a name without a dataset is a preparation error.
    QStringList Datasets;

    TrepGetValueEvent OnGetValue;
    TrepBeforePrintEvent OnBeforePrint;
    TrepBeforePrintEvent OnAfterPrint;

    // Sorted (A to Z without case), a text already present is not added again.
    const QStringList &Errors() const { return m_errors; }
    void AddError(const QString &text);
    void ClearErrors() { m_errors.clear(); }
    void SetErrors(const QStringList &errors) { m_errors = errors; }

    QString CurrentObjectName;

    // The restore after a preparation: every object is freed and replaced by the copy's objects
    // (which the copy gives up), and the report's settings are read from the copy, but the engine
    // options (except ConvertNulls and DoublePass) and the preview options (except
    // OutlineVisible and OutlineWidth) keep the values they had before.
    void RestoreFromCopy(TrepReport &copy);

private:
    mutable QHash<QString, TrepComponent *> m_nameIndex;
    mutable bool m_nameIndexValid = false;
    QStringList m_errors;
    std::unique_ptr<TrepCustomEngine> m_engine;
};

} // namespace rep
