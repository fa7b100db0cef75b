// Prepares the declaration from key=value arguments and writes its pages as PNG and as a PDF.
//
//   render_declaration [--zoom Z] [--out DIR] [Component=text ...] [CtlRadioGroup5=2 ...]
//
// Components are the form's component names; radio groups take the chosen index. The pages go
// to DIR/page1.png, DIR/page2.png ... at zoom Z (default 1) and DIR/declaration.pdf at 600 dpi.

#include "declaration/catalogue.h"
#include "declaration/declarationpdf.h"
#include "declaration/formaccess.h"
#include "declaration/reportvalues.h"
#include "declaration/taxcomputation.h"
#include "report/render/pagedrawer.h"
#include "report/render/reportpagesource.h"
#include "runtime/formatsettings.h"
#include "runtime/messages.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdio>

int main(int argc, char **argv)
{
    rt::initFormatSettings();
    QGuiApplication app(argc, argv);
    rt::setMessageHandler([](const rt::Message &m) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(m.caption), qPrintable(m.text));
    });
    rep::installPageDrawer();

    double zoom = 1;
    QString out = QStringLiteral(".");
    decl::MapForm form;
    bool compute = false;
    const QStringList args = app.arguments().mid(1);
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        if (a == QStringLiteral("--zoom") && i + 1 < args.size()) {
            zoom = args[++i].toDouble();
        } else if (a == QStringLiteral("--out") && i + 1 < args.size()) {
            out = args[++i];
        } else if (a.contains(QLatin1Char('='))) {
            const QString key = a.section(QLatin1Char('='), 0, 0);
            const QString value = a.section(QLatin1Char('='), 1);
            if (key.startsWith(QStringLiteral("CtlRadioGroup"))) {
                form.setItemIndex(key, value.toInt());
            } else {
                form.setText(key, value);
                compute = compute || decl::areaFields().contains(key);
            }
        } else {
            std::fprintf(stderr, "usage: render_declaration [--zoom Z] [--out DIR] [Component=text ...]\n");
            return 2;
        }
    }
    try {
        if (compute)
            decl::szamolas(form);
    } catch (const std::exception &e) {
        std::fprintf(stderr, "computation: %s\n", e.what());
    }

    decl::DeclarationReport report(form);
    if (!report.prepare())
        return 1;
    rep::ReportPageSource pages(report.pages());
    QDir().mkpath(out);
    for (int i = 0; i < pages.count(); ++i) {
        const QSize size = pages.pageSize(i);
        QImage image(qRound(size.width() * zoom), qRound(size.height() * zoom), QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter p(&image);
        pages.drawPage(i, p, zoom, zoom, 0, 0);
        p.end();
        const QString file = QDir(out).filePath(QStringLiteral("page%1.png").arg(i + 1));
        if (!image.save(file))
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
    }
    QString error;
    if (!decl::saveDeclarationPdf(report, QDir(out).filePath(QStringLiteral("declaration.pdf")), &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    std::printf("%d pages written to %s\n", int(pages.count()), qPrintable(out));
    return 0;
}
