#pragma once

#include "report/print/printerdevice.h"

#include <QList>
#include <QStringList>

#include <functional>
#include <memory>

class QPrinter;

namespace rep {

// A printer of the system, driven through QPrinter (CUPS on this platform).
class TrepPrinter : public TrepCustomPrinter
{
public:
    explicit TrepPrinter(const QString &name);
    ~TrepPrinter() override;

    QString name() const override { return m_name; }

    void beginDoc() override;
    void setPrintParams(const PagePrintParams &page, int copies, bool collate, int bin) override;
    void beginPage() override;
    QPainter &canvas() override;
    void endPage() override;
    void endDoc() override;
    void abort() override;
    double dpiX() const override;
    double dpiY() const override;
    QPointF offsetMM() const override;

    // The Qt printer holding the driver's settings; created when the printer is first made current.
    QPrinter *qprinter();

private:
    // Whether the print server lists this printer now.
    bool isListed() const;

    QString m_name;
    std::unique_ptr<QPrinter> m_printer;
    std::unique_ptr<QPainter> m_painter;
    int m_pagesBegun = 0;
};

// The stand-in when the system has no printer: it can be listed and measured but not printed on.
class TrepVirtualPrinter : public TrepCustomPrinter
{
public:
    QString name() const override;
    void beginDoc() override;
    void setPrintParams(const PagePrintParams &, int, bool, int) override {}
    void beginPage() override {}
    QPainter &canvas() override;
    void endPage() override {}
    void endDoc() override {}
    void abort() override {}
    double dpiX() const override { return 600; }
    double dpiY() const override { return 600; }
    QPointF offsetMM() const override { return {4, 4}; }
};

// The printers the system offers at one moment.
struct SystemPrinters
{
    QStringList names;
    // Asks for the system's default printer: only needed when the chosen printer is gone.
    std::function<QString()> defaultName;
};

// Asks the print server for its printers' names, and for its default when that is needed.
SystemPrinters readSystemPrinters();

// The process-wide printer list with one current printer.
class TrepPrinters
{
public:
    // Built from the system's printers on first use.
    static TrepPrinters &instance();
    // Reads the system's printers again, so that one added, removed or renamed since is seen.
    // The current printer stays current while it is still listed, otherwise the system default
    // becomes current; printers still listed keep their settings.
    void refresh();
    // The list as it is now: read again, unless it was read for the first time just before.
    static TrepPrinters &readAgain();
    // Where refresh() reads the system's printers; tests replace it.
    std::function<SystemPrinters()> readSystem = readSystemPrinters;

    const QStringList &names() const { return m_names; }
    TrepCustomPrinter *printer(int index) const { return m_printers.value(index).get(); }
    int printerIndex() const { return m_current; }
    TrepCustomPrinter *current() const { return printer(m_current); }
    void setPrinterIndex(int index);
    // Makes the named printer current (case-insensitive); false when there is none by that name.
    bool setPrinterByName(const QString &name);
    bool hasPhysicalPrinters() const { return m_physical; }

private:
    TrepPrinters();

    QList<std::shared_ptr<TrepCustomPrinter>> m_printers;
    QStringList m_names;
    int m_current = -1;
    bool m_physical = false;
    bool m_read = false;
    bool m_justMade = false;
};

// The text a printer is shown under when there is no printer at all.
QString virtualPrinterName();

} // namespace rep
