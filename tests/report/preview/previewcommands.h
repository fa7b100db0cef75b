#pragma once

#include "report/preview/treppreviewform.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>

// Every way the preview window starts a command: the print button, the PDF button where it is
// shown, Ctrl+P on the pages and in the zoom box, Ctrl+S, Ctrl+F and F3.
inline void pressEveryCommand(rep::TrepPreviewForm &form)
{
    rep::TrepPreview *preview = form.preview();
    QTest::mouseClick(form.findChild<QToolButton *>(QStringLiteral("PrintB")), Qt::LeftButton);
    if (auto *pdf = form.findChild<QToolButton *>(QStringLiteral("PdfB")); pdf && pdf->isVisible())
        QTest::mouseClick(pdf, Qt::LeftButton);
    QTest::keyClick(preview, Qt::Key_P, Qt::ControlModifier);
    QTest::keyClick(form.zoomBox()->lineEdit(), Qt::Key_P, Qt::ControlModifier);
    QTest::keyClick(preview, Qt::Key_S, Qt::ControlModifier);
    QTest::keyClick(preview, Qt::Key_F, Qt::ControlModifier);
    QTest::keyClick(preview, Qt::Key_F3);
}
