#pragma once

// Tests that print for real need a print server with a printer. Without one they skip, and
// the executable ends with kSkipExitCode so that ctest counts a skip rather than a pass. Where
// the print server is promised (test.sh starts it and sets TK_REQUIRE_PRINTER) a missing
// printer is a failure.

#include <QApplication>
#include <QPrinterInfo>
#include <QTest>

#include <algorithm>

namespace tk::test {

inline constexpr int kSkipExitCode = 77;

inline bool &printerMissing()
{
    static bool missing = false;
    return missing;
}

// The executable's exit code: a skip when nothing failed but a test found no printer.
inline int printerTestResult(int failures)
{
    return failures == 0 && printerMissing() ? kSkipExitCode : failures;
}

// Whether the system lists a printer by this name, or any printer when the name is empty.
inline bool hasPrinter(const QString &name)
{
    const QList<QPrinterInfo> printers = QPrinterInfo::availablePrinters();
    return std::any_of(printers.begin(), printers.end(),
                       [&](const QPrinterInfo &p) { return name.isEmpty() || p.printerName() == name; });
}

} // namespace tk::test

// At the start of a test function that prints: TK_REQUIRE_PRINTER() for any printer,
// TK_REQUIRE_PRINTER(QStringLiteral("PDF2")) for a named one.
#define TK_REQUIRE_PRINTER(...)                                                               \
    do {                                                                                      \
        if (!tk::test::hasPrinter(QString(__VA_ARGS__))) {                                    \
            if (qEnvironmentVariableIsSet("TK_REQUIRE_PRINTER"))                              \
                QFAIL("printer missing, though test.sh's print server should have it");       \
            tk::test::printerMissing() = true;                                                \
            QSKIP("printer missing: run through test.sh, which starts the print server");     \
        }                                                                                     \
    } while (false)

// QTEST_MAIN with the skip exit code (register the test with SKIP_RETURN_CODE 77).
#define TK_PRINTER_TEST_MAIN(TestObject)                                                      \
    int main(int argc, char *argv[])                                                          \
    {                                                                                         \
        QApplication app(argc, argv);                                                         \
        app.setAttribute(Qt::AA_Use96Dpi, true);                                              \
        TestObject tc;                                                                        \
        QTEST_SET_MAIN_SOURCE_PATH                                                            \
        return tk::test::printerTestResult(QTest::qExec(&tc, argc, argv));                    \
    }
