#pragma once

#include "report/print/pagesource.h"
#include "runtime/errors.h"

#include <QFont>
#include <QPainter>
#include <QStringList>

#include <functional>

// A prepared report stand-in: A4 pages, each with its own lines of text, drawn at any scale.
class FakePageSource : public rep::PageSource
{
public:
    explicit FakePageSource(QList<QStringList> pages) : m_pages(std::move(pages)) {}

    int count() const override { return int(m_pages.size()); }
    QSize pageSize(int) const override { return QSize(794, 1123); }
    rep::PagePrintParams printParams(int) const override { return {}; }
    void drawPage(int index, QPainter &painter, double sx, double sy, double ox, double oy) override
    {
        ++drawn;
        if (failDraw)
            throw rt::Exception(QStringLiteral("Nem találom az osztályt TrepFooView"));
        QFont f(QStringLiteral("Arial"));
        f.setPixelSize(qMax(1, int(14 * sy)));
        painter.setFont(f);
        painter.setPen(Qt::black);
        const QStringList &lines = m_pages.at(index);
        for (int i = 0; i < lines.size(); ++i)
            painter.drawText(QPointF(ox + 40 * sx, oy + (60 + 10 * i) * sy), lines.at(i));
    }
    void saveToFile(const QString &fileName) override
    {
        if (onSave)
            onSave(fileName);
        savedTo = fileName;
    }

    int drawn = 0;
    bool failDraw = false;
    QString savedTo;
    std::function<void(const QString &)> onSave;

private:
    QList<QStringList> m_pages;
};
