// Opening the print dialog as a print from the preview does: the printer list read again from
// the print server, the dialog made, filled and shown. With 2 and with 50 cups-pdf queues, on a
// print server the benchmark starts for itself (root, cupsd and cups-pdf), so that the system's
// own server keeps its queues. Also the dialog's printer box as it opens, and for comparison the
// full printer descriptions that the list does without. Goal: 50 queues cost no more than a
// few milliseconds over 2.

#include "bench/benchmain.h"
#include "report/print/printdialog.h"
#include "report/print/printers.h"
#include "report/resources/resources.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPrinterInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

const QString kPpd = QStringLiteral("/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd");

// A local TCP port nobody listens on now.
int freePort()
{
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof a;
    int port = 0;
    if (bind(fd, reinterpret_cast<sockaddr *>(&a), sizeof a) == 0
        && getsockname(fd, reinterpret_cast<sockaddr *>(&a), &len) == 0)
        port = ntohs(a.sin_port);
    close(fd);
    return port;
}

// Runs a command of the print server's; true when it succeeded, its output in *out.
bool run(const QString &program, const QStringList &args, QString *out = nullptr)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    p.setProcessEnvironment(env);
    p.start(program, args);
    const bool ok = p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    if (out)
        *out = QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError());
    return ok;
}

// A print server of the benchmark's own on a free local port, with its configuration, queues and
// spool in a temporary folder. CUPS_SERVER points the process at it.
class PrivateServer
{
public:
    bool start()
    {
        if (getuid() != 0 || !QFile::exists(QStringLiteral("/usr/sbin/cupsd")) || !QFile::exists(kPpd)) {
            m_error = "needs root, cupsd and cups-pdf";
            return false;
        }
        m_address = QStringLiteral("127.0.0.1:%1").arg(freePort());
        const QString d = m_dir.path();
        QFile::setPermissions(d, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner
                                     | QFileDevice::ExeGroup | QFileDevice::ExeOther);
        for (const char *sub : {"ppd", "ssl", "cache", "state", "log", "spool", "tmp"})
            QDir(d).mkdir(QLatin1String(sub));
        // The filters run as user lp.
        run(QStringLiteral("chmod"), {QStringLiteral("1777"), d + QStringLiteral("/tmp")});
        write(d + QStringLiteral("/cupsd.conf"),
              QStringLiteral("Listen %1\nLogLevel warn\nBrowsing Off\nWebInterface No\nDefaultAuthType None\n"
                             "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
                             "<Policy default>\n  <Limit All>\n    Order allow,deny\n    Allow all\n  </Limit>\n</Policy>\n")
                  .arg(m_address));
        write(d + QStringLiteral("/cups-files.conf"),
              QStringLiteral("ServerRoot %1\nRequestRoot %1/spool\nCacheDir %1/cache\nStateDir %1/state\n"
                             "TempDir %1/tmp\nAccessLog %1/log/access_log\nErrorLog %1/log/error_log\n"
                             "PageLog %1/log/page_log\nSystemGroup root\n")
                  .arg(d));
        m_cupsd.start(QStringLiteral("/usr/sbin/cupsd"), {QStringLiteral("-f"), QStringLiteral("-c"),
                                                          d + QStringLiteral("/cupsd.conf"), QStringLiteral("-s"),
                                                          d + QStringLiteral("/cups-files.conf")});
        QElapsedTimer t;
        t.start();
        QString state;
        while (!state.contains(QLatin1String("is running"))) {
            if (t.elapsed() > 20000) {
                m_error = "the private print server did not start";
                return false;
            }
            QThread::msleep(50);
            run(QStringLiteral("lpstat"), {QStringLiteral("-h"), m_address, QStringLiteral("-r")}, &state);
        }
        qputenv("CUPS_SERVER", m_address.toUtf8());
        return true;
    }

    ~PrivateServer()
    {
        if (m_cupsd.state() != QProcess::NotRunning) {
            m_cupsd.terminate();
            m_cupsd.waitForFinished(10000);
        }
    }

    // Adds or deletes queues "tk-bench-N" until there are `count`; the first is the default.
    bool setQueues(int count)
    {
        for (; m_queues < count; ++m_queues) {
            const QString name = QStringLiteral("tk-bench-%1").arg(m_queues + 1, 2, 10, QLatin1Char('0'));
            QString out;
            if (!run(QStringLiteral("lpadmin"),
                     {QStringLiteral("-h"), m_address, QStringLiteral("-p"), name, QStringLiteral("-v"),
                      QStringLiteral("cups-pdf:/"), QStringLiteral("-P"), kPpd, QStringLiteral("-E")},
                     &out)) {
                qWarning("lpadmin: %s", qUtf8Printable(out));
                return false;
            }
            if (m_queues == 0)
                run(QStringLiteral("lpadmin"), {QStringLiteral("-h"), m_address, QStringLiteral("-d"), name});
        }
        for (; m_queues > count; --m_queues)
            run(QStringLiteral("lpadmin"), {QStringLiteral("-h"), m_address, QStringLiteral("-x"),
                                            QStringLiteral("tk-bench-%1").arg(m_queues, 2, 10, QLatin1Char('0'))});
        return QPrinterInfo::availablePrinterNames().size() == count;
    }

    const char *error() const { return m_error; }

private:
    static void write(const QString &path, const QString &text)
    {
        QFile f(path);
        if (f.open(QIODevice::WriteOnly))
            f.write(text.toUtf8());
    }

    QTemporaryDir m_dir{QDir::tempPath() + QStringLiteral("/tk-bench-cups.XXXXXX")};
    QString m_address;
    QProcess m_cupsd;
    int m_queues = 0;
    const char *m_error = nullptr;
};

PrivateServer *server = nullptr;

bool prepare(benchmark::State &state)
{
    if (!server || server->error()) {
        state.SkipWithError(server ? server->error() : "no print server");
        return false;
    }
    if (!server->setQueues(int(state.range(0)))) {
        state.SkipWithError("the queues could not be made");
        return false;
    }
    // The current printer's settings are fetched once, on its first use, not at every print.
    rep::TrepPrinters::readAgain();
    return true;
}

// What the preview's print button does up to the dialog on the screen; with `readAgain` false,
// as it did while the list was read once per run.
void openPrintDialog(benchmark::State &state, bool readAgain)
{
    if (!prepare(state))
        return;
    for (auto _ : state) {
        rep::TrepPrinters &printers = readAgain ? rep::TrepPrinters::readAgain() : rep::TrepPrinters::instance();
        benchmark::DoNotOptimize(printers.hasPhysicalPrinters());
        rep::TrepPrintDialog dialog;
        dialog.setup(1, true, QString(), 1);
        dialog.show();
        QApplication::processEvents();
        dialog.reject();
    }
    state.counters["queues"] = double(state.range(0));
}
BENCHMARK_CAPTURE(openPrintDialog, readingAgain, true)->Arg(2)->Arg(50)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(openPrintDialog, listReadOnce, false)->Arg(2)->Arg(50)->Unit(benchmark::kMillisecond);

// The printer box as it opens: the list read again and the box filled.
void BM_OpenPrinterBox(benchmark::State &state)
{
    if (!prepare(state))
        return;
    rep::TrepPrintDialog dialog;
    dialog.setup(1, true, QString(), 1);
    dialog.show();
    auto *box = dialog.findChild<QComboBox *>(QStringLiteral("PrintersCB"));
    for (auto _ : state) {
        box->showPopup();
        box->hidePopup();
    }
    state.counters["queues"] = double(state.range(0));
}
BENCHMARK(BM_OpenPrinterBox)->Arg(2)->Arg(50)->Unit(benchmark::kMillisecond);

// The list alone, as the print command reads it, and the server's own answer to it on this
// thread: the difference is the reading thread's cost.
void BM_ReadPrinterList(benchmark::State &state)
{
    if (!prepare(state))
        return;
    for (auto _ : state)
        benchmark::DoNotOptimize(rep::readSystemPrinters().names.size());
    state.counters["queues"] = double(state.range(0));
}
BENCHMARK(BM_ReadPrinterList)->Arg(2)->Arg(50)->Unit(benchmark::kMillisecond);

void BM_PrintServerAnswer(benchmark::State &state)
{
    if (!prepare(state))
        return;
    for (auto _ : state)
        benchmark::DoNotOptimize(QPrinterInfo::availablePrinterNames().size());
    state.counters["queues"] = double(state.range(0));
}
BENCHMARK(BM_PrintServerAnswer)->Arg(2)->Arg(50)->Unit(benchmark::kMillisecond);

// For comparison: every printer's full description, as the list was built before, which fetches
// each printer's driver file from the server.
void BM_FullPrinterDescriptions(benchmark::State &state)
{
    if (!prepare(state))
        return;
    for (auto _ : state)
        benchmark::DoNotOptimize(QPrinterInfo::availablePrinters().size());
    state.counters["queues"] = double(state.range(0));
}
BENCHMARK(BM_FullPrinterDescriptions)->Arg(2)->Arg(50)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    tk::bench::preferOffscreen();
    // Before the application: the print server is chosen once, at the first use of the printers.
    PrivateServer privateServer;
    if (privateServer.start())
        server = &privateServer;
    QApplication app(argc, argv);
    rep::fillHungarianResources();
    return tk::bench::runBenchmarks(argc, argv);
}
