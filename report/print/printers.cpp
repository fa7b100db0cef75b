#include "report/print/printers.h"

#include "logging_p.h"
#include "report/resources/resources.h"
#include "runtime/errors.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrintEngine>
#include <QPrinter>
#include <QPrinterInfo>
#include <qpa/qplatformprintplugin.h>

#include <chrono>
#include <future>
#include <thread>

namespace rep {

namespace {

QPageSize pageSizeFor(const PagePrintParams &p)
{
    switch (p.paperSize) {
    case 1: return QPageSize(QPageSize::Letter);
    case 5: return QPageSize(QPageSize::Legal);
    case 8: return QPageSize(QPageSize::A3);
    case 9: return QPageSize(QPageSize::A4);
    case 11: return QPageSize(QPageSize::A5);
    case 13: return QPageSize(QPageSize::B5);
    default: break;
    }
    // Custom sizes (code 256) and codes without a Qt name go by their millimetres.
    const double w = std::min(p.paperWidth, p.paperHeight);
    const double h = std::max(p.paperWidth, p.paperHeight);
    return QPageSize(QSizeF(w, h), QPageSize::Millimeter, QString(), QPageSize::ExactMatch);
}

QPrinter::DuplexMode duplexFor(int duplex)
{
    switch (duplex) {
    case 1: return QPrinter::DuplexLongSide;
    case 2: return QPrinter::DuplexShortSide;
    default: return QPrinter::DuplexNone;
    }
}

QPrinter::PaperSource sourceFor(int bin)
{
    // Bin codes 1 ... 14 follow the order of Qt's paper sources, one lower.
    if (bin >= 1 && bin <= 14 && bin != 7)
        return QPrinter::PaperSource(bin - 1);
    return QPrinter::Auto;
}

// Qt's print engine for CUPS takes further job options as a list of names and values under
// this property.
constexpr auto kCupsOptions = QPrintEngine::PrintEnginePropertyKey(0xfe00);

// Qt tells CUPS "Collate=True" for collated copies and nothing for uncollated ones, which
// leaves them to the queue's default; a queue that collates by default would then print
// 1, 2, 1, 2. Uncollated copies say so.
void setUncollatedOption(QPrinter &printer, bool uncollated)
{
    QPrintEngine *engine = printer.printEngine();
    QStringList options = engine->property(kCupsOptions).toStringList();
    for (qsizetype i = 0; i + 1 < options.size();) {
        if (options.at(i).compare(QLatin1String("Collate"), Qt::CaseInsensitive) == 0)
            options.remove(i, 2);
        else
            i += 2;
    }
    if (uncollated)
        options << QStringLiteral("Collate") << QStringLiteral("False");
    engine->setProperty(kCupsOptions, options);
}

QString cannotOpen(const QString &name)
{
    return repFormat(repGet(QStringLiteral("prNotAvailable")), {name});
}

} // namespace

QString virtualPrinterName()
{
    return repGet(QStringLiteral("prVirtual"));
}

TrepPrinter::TrepPrinter(const QString &name) : m_name(name) {}

TrepPrinter::~TrepPrinter()
{
    if (m_painter && m_painter->isActive())
        m_printer->abort();
}

QPrinter *TrepPrinter::qprinter()
{
    if (!m_printer) {
        const QPrinterInfo info = QPrinterInfo::printerInfo(m_name);
        m_printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    }
    return m_printer.get();
}

void TrepPrinter::beginDoc()
{
    QPrinter *p = qprinter();
    if (outputFileName.isEmpty()) {
        // The printer may have gone away (or the print server stopped) since the list was read.
        if (!isListed() || !p->isValid()) {
            qCWarning(lcPrint, "printer %s is gone or invalid", qUtf8Printable(m_name));
            throw rt::Exception(cannotOpen(m_name));
        }
        p->setOutputFormat(QPrinter::NativeFormat);
        p->setPrinterName(m_name);
        p->setOutputFileName(QString());
    } else {
        p->setOutputFormat(QPrinter::PdfFormat);
        p->setOutputFileName(outputFileName);
    }
    p->setDocName(documentName);
    p->setFullPage(false);
    m_pagesBegun = 0;
    m_painter = std::make_unique<QPainter>();
}

void TrepPrinter::setPrintParams(const PagePrintParams &page, int copies, bool collate, int bin)
{
    QPrinter *p = qprinter();
    if (m_pagesBegun == 0) {
        // Document-wide settings: only before the first page.
        p->setCopyCount(copies);
        p->setCollateCopies(collate);
        if (p->outputFormat() == QPrinter::NativeFormat)
            setUncollatedOption(*p, copies > 1 && !collate);
    }
    p->setDuplex(duplexFor(page.duplex));
    p->setPaperSource(sourceFor(bin));
    p->setPageSize(pageSizeFor(page));
    p->setPageOrientation(page.orientation == 1 ? QPageLayout::Landscape : QPageLayout::Portrait);
}

void TrepPrinter::beginPage()
{
    if (m_pagesBegun == 0) {
        if (!m_painter->begin(qprinter())) {
            qCWarning(lcPrint, "printer %s refused the document", qUtf8Printable(m_name));
            throw rt::Exception(cannotOpen(m_name));
        }
    } else {
        qprinter()->newPage();
    }
    ++m_pagesBegun;
}

QPainter &TrepPrinter::canvas()
{
    return *m_painter;
}

void TrepPrinter::endPage()
{
    // QPrinter ends a page when the next one begins or the document ends.
}

void TrepPrinter::endDoc()
{
    if (m_painter && m_painter->isActive())
        m_painter->end();
    m_painter.reset();
    // The document goes to the print server as it ends, and Qt keeps quiet when the server
    // refuses it: a printer that went away during the job would lose it without a word.
    if (qprinter()->outputFormat() == QPrinter::NativeFormat && !isListed()) {
        qCWarning(lcPrint, "printer %s went away during the job", qUtf8Printable(m_name));
        throw rt::Exception(cannotOpen(m_name));
    }
}

bool TrepPrinter::isListed() const
{
    return readSystemPrinters().names.contains(m_name);
}

void TrepPrinter::abort()
{
    if (m_painter && m_painter->isActive()) {
        qprinter()->abort();
        m_painter->end();
    }
    m_painter.reset();
}

double TrepPrinter::dpiX() const
{
    return m_printer ? m_printer->resolution() : 600;
}

double TrepPrinter::dpiY() const
{
    return m_printer ? m_printer->resolution() : 600;
}

QPointF TrepPrinter::offsetMM() const
{
    if (!m_printer)
        return {};
    return m_printer->pageLayout().paintRect(QPageLayout::Millimeter).topLeft();
}

QString TrepVirtualPrinter::name() const
{
    return virtualPrinterName();
}

void TrepVirtualPrinter::beginDoc()
{
    throw rt::Exception(repGet(QStringLiteral("clNoPrinters")));
}

QPainter &TrepVirtualPrinter::canvas()
{
    static QPainter unused;
    return unused;
}

TrepPrinters &TrepPrinters::instance()
{
    static TrepPrinters printers;
    return printers;
}

namespace {

// How long a print command waits for the print server's list. The server library gives up on
// a server that accepts and never answers only after a minute per request, two requests per
// list; a server that answers at all does so within milliseconds.
constexpr std::chrono::milliseconds kServerWait{10000};

// The names alone: a full printer description fetches each printer's driver file from the
// server.
QStringList askNames()
{
    return QPrinterInfo::availablePrinterNames();
}

QString askDefault()
{
    return QPrinterInfo::defaultPrinterName();
}

// Asks the print server on a thread of its own, so that a server that does not answer keeps the
// window painting and is given up after kServerWait, with an empty answer. A question given up
// on goes on until the server library gives up too; the next one starts afresh, so that a
// server back meanwhile is seen.
template<typename Answer>
Answer askInBackground(Answer (*ask)())
{
    static std::shared_future<Answer> asking;
    static QElapsedTimer started;
    const auto answered = [] { return asking.wait_for(std::chrono::seconds(0)) == std::future_status::ready; };
    if (!asking.valid() || answered() || started.elapsed() >= kServerWait.count()) {
        std::packaged_task<Answer()> task(ask);
        asking = task.get_future().share();
        started.start();
        std::thread(std::move(task)).detach();
    }
    while (asking.wait_for(std::chrono::milliseconds(2)) != std::future_status::ready) {
        if (started.elapsed() >= kServerWait.count()) {
            qCWarning(lcPrint, "the print server did not answer within %lld ms: no printer is offered",
                      static_cast<long long>(kServerWait.count()));
            return {};
        }
        // Paint, but leave the user's input for after the answer.
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
    return asking.get();
}

} // namespace

SystemPrinters readSystemPrinters()
{
    // The print support is made here, on the window's thread, so that its password prompt
    // belongs to this thread, before any question runs elsewhere.
    static const bool supported = QPlatformPrinterSupportPlugin::get() != nullptr;
    if (!supported)
        return {{}, [] { return QString(); }};
    return {askInBackground(askNames), [] { return askInBackground(askDefault); }};
}

TrepPrinters::TrepPrinters()
{
    refresh();
    m_justMade = true;
}

TrepPrinters &TrepPrinters::readAgain()
{
    TrepPrinters &printers = instance();
    if (printers.m_justMade)
        printers.m_justMade = false;
    else
        printers.refresh();
    return printers;
}

void TrepPrinters::refresh()
{
    m_justMade = false;
    const SystemPrinters system = readSystem ? readSystem() : SystemPrinters();
    const QString chosen = m_physical && current() ? current()->name() : QString();
    const bool changed = !m_read || system.names != (m_physical ? m_names : QStringList());
    if (changed)
        qCInfo(lcPrint, "printers: %s",
               system.names.isEmpty() ? "none, printing is refused" : qUtf8Printable(system.names.join(u", ")));
    m_read = true;

    // Printers still listed keep their objects, with the settings made on them.
    QList<std::shared_ptr<TrepCustomPrinter>> printers;
    for (const QString &name : system.names) {
        std::shared_ptr<TrepCustomPrinter> p;
        if (m_physical)
            if (const qsizetype i = m_names.indexOf(name); i >= 0)
                p = m_printers.at(i);
        printers.append(p ? p : std::make_shared<TrepPrinter>(name));
    }
    m_printers = printers;
    m_names = system.names;
    m_current = -1;
    m_physical = !m_printers.isEmpty();
    if (m_physical) {
        if (chosen.isEmpty() || !setPrinterByName(chosen)) {
            // A default printer missing from the list would leave no current printer: take the first.
            const QString defaultName = system.defaultName ? system.defaultName() : QString();
            if (!setPrinterByName(defaultName)) {
                if (changed)
                    qCInfo(lcPrint, "the default printer \"%s\" is not listed; the first printer is current",
                           qUtf8Printable(defaultName));
                setPrinterIndex(0);
            }
        }
    } else {
        m_printers.append(std::make_shared<TrepVirtualPrinter>());
        m_names.append(virtualPrinterName());
        setPrinterIndex(0);
    }
}

void TrepPrinters::setPrinterIndex(int index)
{
    if (index < 0 || index >= m_printers.size()) {
        qCWarning(lcPrint, "no printer at index %d; the current one stays", index);
        return;
    }
    m_current = index;
    if (auto *p = dynamic_cast<TrepPrinter *>(m_printers[index].get()))
        p->qprinter();
}

bool TrepPrinters::setPrinterByName(const QString &name)
{
    for (int i = 0; i < m_names.size(); ++i) {
        if (m_names[i].compare(name, Qt::CaseInsensitive) == 0) {
            setPrinterIndex(i);
            return true;
        }
    }
    return false;
}

} // namespace rep
