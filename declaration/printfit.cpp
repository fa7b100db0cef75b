#include "declaration/printfit.h"

#include "declaration/catalogue.h"
#include "declaration/reporttemplate.h"
#include "report/draw/objectdraw.h"
#include "report/draw/trepdrawtext.h"
#include "report/model/objects.h"
#include "report/model/report.h"
#include "report/render/pagedrawer.h"

#include <QGuiApplication>
#include <QHash>
#include <QSet>

using namespace Qt::StringLiterals;

namespace decl {

namespace {

// The template's value memos by key: each memo's text is the key in brackets, once.
const QHash<QString, rep::draw::DrawMemo> &valueMemos()
{
    static const QHash<QString, rep::draw::DrawMemo> memos = [] {
        QHash<QString, rep::draw::DrawMemo> result;
        rep::TrepReport report;
        loadReportTemplate(report);
        for (rep::TrepComponent *object : report.AllObjects()) {
            const auto *memo = dynamic_cast<rep::TrepCustomMemoView *>(object);
            if (!memo)
                continue;
            const QString text = memo->Text();
            if (!text.startsWith(u"[m") || !text.contains(u']'))
                continue;
            const QString key = text.mid(1, text.indexOf(u']') - 1);
            result.insert(key, rep::drawMemoOf(*memo));
        }
        return result;
    }();
    return memos;
}

// The characters of a value as its user counts them. Only the remark holds line breaks, which
// are not characters to its user; a one-line value is not scanned, whatever its size.
qsizetype charactersOf(const QString &key, const QString &value)
{
    static const QSet<QString> multiLine = [] {
        QSet<QString> keys;
        for (const Field &f : fields())
            if (f.kind == FieldKind::RichEdit)
                keys.insert(f.key);
        return keys;
    }();
    if (!multiLine.contains(key))
        return value.size();
    return value.size() - value.count(u'\n') - value.count(u'\r');
}

} // namespace

std::optional<PrintFit> printFit(const QString &key, const QString &value)
{
    // Glyph advances come from the platform's fonts, which only a GUI application has.
    if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        return std::nullopt;
    const auto it = valueMemos().constFind(key);
    if (it == valueMemos().cend())
        return std::nullopt;
    rep::draw::DrawMemo memo = *it;
    // The template's value memos hold their key alone: the value is the text, shared rather than
    // copied, which matters for a value of millions of characters.
    const QString alone = u'[' + key + u']';
    if (memo.Text == alone || memo.Text == alone + u"\r\n"_s)
        memo.Text = value;
    else
        memo.Text.replace(alone, value);
    // Its own layout object: the checks may run while a page is being drawn.
    static rep::draw::TrepDrawText text;
    const rep::draw::MemoFit fit = rep::draw::memoFit(memo, &text);
    PrintFit result;
    result.whole = fit.whole;
    result.total = charactersOf(key, value);
    result.shown = fit.whole ? result.total : std::min(fit.shown, result.total);
    return result;
}

QString printFitProblem(const QString &key, const QString &value)
{
    const std::optional<PrintFit> fit = printFit(key, value);
    if (!fit || fit->whole)
        return {};
    return u"A szöveg nem fér el a nyomtatványon: a(z) %1 karakterből csak %2 látszik. Rövidítse, hogy "
           u"teljes egészében rákerüljön."_s
        .arg(fit->total)
        .arg(fit->shown);
}

} // namespace decl
