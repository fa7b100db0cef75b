#include "report/model/report.h"

#include "report/model/page.h"
#include "report/resources/resources.h"
#include "runtime/errors.h"

namespace rep {

TrepReport::TrepReport()
{
    PrintOptions.Printer = repGet(QStringLiteral("prDefault"));
    ReportOptions.CreateDate = toDateSerial(QDateTime::currentDateTime());
    ReportOptions.LastChange = ReportOptions.CreateDate;
}

TrepReport::~TrepReport()
{
    // The pages go before the engine that may refer to them.
    Clear();
}

const PropTable &TrepReport::Props() const
{
    static const PropTable table = [] {
        const PropTable base = componentProps().filtered({"Name", "Tag"});
        return PropTable(base, {
            REP_BOOL(TrepReport, "DotMatrixReport", o.DotMatrixReport, o.DotMatrixReport = v),
            REP_BOOL(TrepReport, "EngineOptions.ConvertNulls", o.EngineOptions.ConvertNulls, o.EngineOptions.ConvertNulls = v),
            REP_BOOL(TrepReport, "EngineOptions.DoublePass", o.EngineOptions.DoublePass, o.EngineOptions.DoublePass = v),
            [] { PropDef d = REP_INT(TrepReport, "EngineOptions.MaxMemSize", o.EngineOptions.MaxMemSize, o.EngineOptions.MaxMemSize = v); d.always = true; return d; }(),
            REP_BOOL(TrepReport, "EngineOptions.PrintIfEmpty", o.EngineOptions.PrintIfEmpty, o.EngineOptions.PrintIfEmpty = v),
            REP_BOOL(TrepReport, "EngineOptions.SilentMode", o.EngineOptions.SilentMode, o.EngineOptions.SilentMode = v),
            REP_STR(TrepReport, "EngineOptions.TempDir", o.EngineOptions.TempDir, o.EngineOptions.TempDir = v),
            REP_BOOL(TrepReport, "EngineOptions.UseFileCache", o.EngineOptions.UseFileCache, o.EngineOptions.UseFileCache = v),
            REP_BOOL(TrepReport, "PreviewOptions.AllowEdit", o.PreviewOptions.AllowEdit, o.PreviewOptions.AllowEdit = v),
            REP_SET(TrepReport, "PreviewOptions.Buttons", REP_NAMES_BUTTONS, o.PreviewOptions.Buttons, o.PreviewOptions.Buttons = v),
            REP_BOOL(TrepReport, "PreviewOptions.DoubleBuffered", o.PreviewOptions.DoubleBuffered, o.PreviewOptions.DoubleBuffered = v),
            REP_BOOL(TrepReport, "PreviewOptions.Maximized", o.PreviewOptions.Maximized, o.PreviewOptions.Maximized = v),
            REP_BOOL(TrepReport, "PreviewOptions.MDIChild", o.PreviewOptions.MDIChild, o.PreviewOptions.MDIChild = v),
            REP_BOOL(TrepReport, "PreviewOptions.Modal", o.PreviewOptions.Modal, o.PreviewOptions.Modal = v),
            REP_BOOL(TrepReport, "PreviewOptions.OutlineVisible", o.PreviewOptions.OutlineVisible, o.PreviewOptions.OutlineVisible = v),
            REP_INT(TrepReport, "PreviewOptions.OutlineWidth", o.PreviewOptions.OutlineWidth, o.PreviewOptions.OutlineWidth = v),
            REP_BOOL(TrepReport, "PreviewOptions.ShowCaptions", o.PreviewOptions.ShowCaptions, o.PreviewOptions.ShowCaptions = v),
            [] { PropDef d = REP_FLOAT(TrepReport, "PreviewOptions.Zoom", o.PreviewOptions.Zoom, o.PreviewOptions.Zoom = v); d.always = true; return d; }(),
            REP_ENUM(TrepReport, "PreviewOptions.ZoomMode", REP_NAMES_ZOOM, TrepZoomMode, o.PreviewOptions.ZoomMode, o.PreviewOptions.ZoomMode = e),
            REP_INT(TrepReport, "PrintOptions.Copies", o.PrintOptions.Copies, o.PrintOptions.Copies = v),
            REP_BOOL(TrepReport, "PrintOptions.Collate", o.PrintOptions.Collate, o.PrintOptions.Collate = v),
            REP_STR(TrepReport, "PrintOptions.PageNumbers", o.PrintOptions.PageNumbers, o.PrintOptions.PageNumbers = v),
            REP_STR(TrepReport, "PrintOptions.Printer", o.PrintOptions.Printer, o.PrintOptions.Printer = v),
            REP_ENUM(TrepReport, "PrintOptions.PrintPages", REP_NAMES_PRINTPAGES, TrepPrintPages, o.PrintOptions.PrintPages, o.PrintOptions.PrintPages = e),
            REP_BOOL(TrepReport, "PrintOptions.ShowDialog", o.PrintOptions.ShowDialog, o.PrintOptions.ShowDialog = v),
            REP_STR(TrepReport, "ReportOptions.Author", o.ReportOptions.Author, o.ReportOptions.Author = v),
            REP_BOOL(TrepReport, "ReportOptions.Compressed", o.ReportOptions.Compressed, o.ReportOptions.Compressed = v),
            REP_FLOAT(TrepReport, "ReportOptions.CreateDate", o.ReportOptions.CreateDate, o.ReportOptions.CreateDate = v),
            REP_STR(TrepReport, "ReportOptions.Description", joinLines(o.ReportOptions.Description), o.ReportOptions.Description = splitLines(v)),
            REP_STR(TrepReport, "ReportOptions.InitString", o.ReportOptions.InitString, o.ReportOptions.InitString = v),
            REP_FLOAT(TrepReport, "ReportOptions.LastChange", o.ReportOptions.LastChange, o.ReportOptions.LastChange = v),
            REP_STR(TrepReport, "ReportOptions.Name", o.ReportOptions.Name, o.ReportOptions.Name = v),
            REP_STR(TrepReport, "ReportOptions.Password", o.ReportOptions.Password, o.ReportOptions.Password = v),
            REP_STR(TrepReport, "ReportOptions.VersionBuild", o.ReportOptions.VersionBuild, o.ReportOptions.VersionBuild = v),
            REP_STR(TrepReport, "ReportOptions.VersionMajor", o.ReportOptions.VersionMajor, o.ReportOptions.VersionMajor = v),
            REP_STR(TrepReport, "ReportOptions.VersionMinor", o.ReportOptions.VersionMinor, o.ReportOptions.VersionMinor = v),
            REP_STR(TrepReport, "ReportOptions.VersionRelease", o.ReportOptions.VersionRelease, o.ReportOptions.VersionRelease = v),
            [] { PropDef d = REP_STR(TrepReport, "ScriptLanguage", o.ScriptLanguage, o.ScriptLanguage = v); d.always = true; return d; }(),
            [] { PropDef d = REP_STR(TrepReport, "ScriptText", joinLines(o.ScriptText), o.ScriptText = splitLines(v)); d.always = true; return d; }(),
            REP_STR(TrepReport, "OnStartReport", o.OnStartReport, o.OnStartReport = v),
            REP_STR(TrepReport, "OnStopReport", o.OnStopReport, o.OnStopReport = v),
        });
    }();
    return table;
}

bool TrepReport::PrepareReport(bool clearPages)
{
    if (!m_engine)
        throw rt::Exception(QStringLiteral("The report has no engine"));
    return m_engine->PrepareReport(clearPages);
}

QVariant TrepReport::Calc(const QString &expression)
{
    if (!m_engine)
        throw rt::Exception(QStringLiteral("The report has no engine"));
    return m_engine->Calc(expression);
}

void TrepReport::SetEngine(std::unique_ptr<TrepCustomEngine> engine)
{
    m_engine = std::move(engine);
}

QList<TrepReportPage *> TrepReport::Pages() const
{
    QList<TrepReportPage *> pages;
    for (TrepComponent *c : m_objects) {
        if (auto *page = dynamic_cast<TrepReportPage *>(c))
            pages.append(page);
    }
    return pages;
}

static QString foldName(const QString &name)
{
    QString folded = name;
    for (QChar &c : folded) {
        if (c.unicode() >= 'a' && c.unicode() <= 'z')
            c = QChar(char16_t(c.unicode() - 32));
    }
    return folded;
}

TrepComponent *TrepReport::FindIndexed(const QString &name) const
{
    if (!m_nameIndexValid) {
        m_nameIndex.clear();
        // Insert in reverse pre-order so that the first object of a name wins.
        QList<TrepComponent *> all = AllObjects();
        for (auto it = all.crbegin(); it != all.crend(); ++it)
            m_nameIndex.insert(foldName((*it)->Name()), *it);
        m_nameIndexValid = true;
    }
    return m_nameIndex.value(foldName(name), nullptr);
}

void TrepReport::AddError(const QString &text)
{
    const auto less = [](const QString &a, const QString &b) {
        return QString::compare(a, b, Qt::CaseInsensitive) < 0;
    };
    const auto it = std::lower_bound(m_errors.begin(), m_errors.end(), text, less);
    if (it != m_errors.end() && QString::compare(*it, text, Qt::CaseInsensitive) == 0)
        return;
    m_errors.insert(it, text);
}

void TrepReport::RestoreFromCopy(TrepReport &copy)
{
    const TrepEngineOptions engineOptions = EngineOptions;
    const TrepPreviewOptions previewOptions = PreviewOptions;
    Clear();
    CopyProps(copy, false);
    AdoptChildren(copy);
    const bool convertNulls = EngineOptions.ConvertNulls;
    const bool doublePass = EngineOptions.DoublePass;
    const bool outlineVisible = PreviewOptions.OutlineVisible;
    const int outlineWidth = PreviewOptions.OutlineWidth;
    EngineOptions = engineOptions;
    EngineOptions.ConvertNulls = convertNulls;
    EngineOptions.DoublePass = doublePass;
    PreviewOptions = previewOptions;
    PreviewOptions.OutlineVisible = outlineVisible;
    PreviewOptions.OutlineWidth = outlineWidth;
}

} // namespace rep
