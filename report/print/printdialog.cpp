#include "report/print/printdialog.h"

#include "report/print/printers.h"
#include "report/resources/resources.h"
#include "runtime/ui/designfonts.h"
#include "runtime/ui/growtotexts.h"
#include "runtime/ui/placement.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QToolButton>

namespace rep {

namespace {

QString s(const char16_t *text) { return QString::fromUtf16(text); }

template<typename W>
W *make(QWidget *parent, const char16_t *name, const QRect &geometry)
{
    auto *w = new W(parent);
    w->setObjectName(s(name));
    w->setGeometry(geometry);
    return w;
}

// A picture of two copies of three pages: two stacks 1-2-3 when collated, pairs 1-1, 2-2, 3-3 when not.
QPixmap copiesPicture(bool collate)
{
    QPixmap pm(92, 53);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    QFont f(s(u"DejaVu Sans"));
    f.setPixelSize(9);
    p.setFont(f);
    p.setPen(Qt::black);
    auto sheet = [&](int x, int y, int number) {
        p.setBrush(Qt::white);
        p.drawRect(x, y, 16, 22);
        p.drawText(QRect(x, y + 9, 16, 13), Qt::AlignCenter, QString::number(number));
    };
    if (collate) {
        for (int stack = 0; stack < 2; ++stack)
            for (int k = 2; k >= 0; --k)
                sheet(4 + stack * 44 + k * 7, 4 + k * 7, k + 1);
    } else {
        for (int stack = 0; stack < 3; ++stack)
            for (int k = 1; k >= 0; --k)
                sheet(2 + stack * 30 + k * 7, 8 + k * 7, stack + 1);
    }
    return pm;
}

} // namespace

TrepPrintDialog::TrepPrintDialog(QWidget *parent) : QDialog(parent)
{
    // Over the window that opens it, not in the middle of the screen.
    rt::centreOverOwner(this);
    setObjectName(s(u"TrepPrintDialog"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(477, 263);
    setFont(rt::dialogFont());

    auto *printerGroup = make<QGroupBox>(this, u"Label12", {4, 4, 469, 97});
    m_printers = make<QComboBox>(printerGroup, u"PrintersCB", {8, 20, 317, 21});
    m_printers->setIconSize(QSize(16, 16));
    auto *prop = make<QPushButton>(printerGroup, u"PropButton", {336, 20, 95, 22});
    auto *typeL = make<QLabel>(printerGroup, u"TypeL", {4, 52, 44, 16});
    typeL->setAlignment(Qt::AlignRight | Qt::AlignTop);
    m_type = make<QLabel>(printerGroup, u"TypeL1", {52, 52, 270, 16});
    auto *whereL = make<QLabel>(printerGroup, u"WhereL", {4, 72, 44, 16});
    whereL->setAlignment(Qt::AlignRight | Qt::AlignTop);
    m_where = make<QLabel>(printerGroup, u"WhereL1", {52, 72, 270, 16});
    m_file = make<QCheckBox>(printerGroup, u"FileCB", {332, 52, 130, 17});
    m_reverse = make<QCheckBox>(printerGroup, u"ReverseCB", {332, 72, 135, 17});

    auto *pagesGroup = make<QGroupBox>(this, u"Label1", {4, 104, 261, 117});
    m_all = make<QRadioButton>(pagesGroup, u"AllRB", {8, 20, 160, 17});
    m_current = make<QRadioButton>(pagesGroup, u"CurPageRB", {8, 40, 160, 17});
    m_pageNumbersRB = make<QRadioButton>(pagesGroup, u"PageNumbersRB", {8, 60, 62, 17});
    m_pageNumbers = make<QLineEdit>(pagesGroup, u"PageNumbersE", {72, 58, 165, 21});
    auto *descr = make<QLabel>(pagesGroup, u"DescrL", {8, 82, 249, 29});
    descr->setWordWrap(true);
    descr->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_all->setChecked(true);

    auto *copiesGroup = make<QGroupBox>(this, u"Label2", {272, 104, 201, 117});
    make<QLabel>(copiesGroup, u"CopiesL", {12, 20, 118, 16});
    m_copies = make<QLineEdit>(copiesGroup, u"CopiesE", {132, 16, 37, 21});
    auto *up = make<QToolButton>(copiesGroup, u"UpDown1", {169, 16, 15, 10});
    up->setArrowType(Qt::UpArrow);
    auto *down = make<QToolButton>(copiesGroup, u"UpDown1Down", {169, 27, 15, 10});
    down->setArrowType(Qt::DownArrow);
    m_copiesPicture = make<QLabel>(copiesGroup, u"CopiesPB", {12, 48, 92, 53});
    m_collate = make<QCheckBox>(copiesGroup, u"CollateCB", {116, 58, 17, 17});
    auto *collateL = make<QLabel>(copiesGroup, u"CollateL", {136, 60, 60, 16});

    auto *printL = make<QLabel>(this, u"PrintL", {4, 236, 50, 16});
    printL->adjustSize();
    m_printPages = make<QComboBox>(this, u"PrintPagesCB", {printL->x() + printL->width() + 11, 232, 165, 21});
    auto *ok = make<QPushButton>(this, u"OkB", {318, 232, 75, 25});
    ok->setDefault(true);
    auto *cancel = make<QPushButton>(this, u"CancelB", {398, 232, 75, 25});

    TrepResources::instance().localize(this, QStringLiteral("TrepPrintDialog"));
    printL->adjustSize();
    m_printPages->move(printL->x() + printL->width() + 11, 232);
    m_printPages->addItems({repGet(QStringLiteral("ppAll")), repGet(QStringLiteral("ppOdd")), repGet(QStringLiteral("ppEven"))});
    // The design fits its texts in Tahoma; another font may need more room.
    rt::growToTexts(this);

    const QIcon printerIcon = style()->standardIcon(QStyle::SP_ComputerIcon);
    TrepPrinters &printers = TrepPrinters::instance();
    for (const QString &name : printers.names())
        m_printers->addItem(printerIcon, name);

    connect(m_printers, &QComboBox::activated, this, &TrepPrintDialog::printerChosen);
    connect(prop, &QPushButton::clicked, this, [this] {
        if (showProperties)
            showProperties();
    });
    connect(m_pageNumbersRB, &QRadioButton::clicked, this, [this] { m_pageNumbers->setFocus(); });
    connect(m_pageNumbers, &QLineEdit::textEdited, this, [this] { m_pageNumbersRB->setChecked(true); });
    m_pageNumbers->installEventFilter(this);
    connect(m_collate, &QCheckBox::toggled, this, &TrepPrintDialog::updateCollatePicture);
    collateL->installEventFilter(this);
    // The up-down steps the copies, never below 1; a text that is no number starts again at 1.
    const auto step = [this](int delta) {
        bool ok = false;
        const int n = m_copies->text().toInt(&ok);
        m_copies->setText(QString::number(ok ? std::max(1, n + delta) : 1));
    };
    connect(up, &QToolButton::clicked, this, [step] { step(1); });
    connect(down, &QToolButton::clicked, this, [step] { step(-1); });
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    askPrintFileName = [this] {
        return QFileDialog::getSaveFileName(this, QStringLiteral("Print To File"), QString(),
                                            QStringLiteral("Printer files (*.prn)"));
    };
    showProperties = [] {
        if (auto *p = dynamic_cast<TrepPrinter *>(TrepPrinters::instance().current())) {
            QPageSetupDialog dialog(p->qprinter());
            dialog.exec();
        }
    };
}

bool TrepPrintDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_pageNumbers && event->type() == QEvent::FocusIn)
        m_pageNumbersRB->setChecked(true);
    if (watched->objectName() == QStringLiteral("CollateL")
        && (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick))
        m_collate->toggle();
    return QDialog::eventFilter(watched, event);
}

void TrepPrintDialog::setup(int copies, bool collate, const QString &pageNumbers, int currentPage)
{
    m_copies->setText(QString::number(copies));
    m_collate->setChecked(collate);
    updateCollatePicture();
    m_pageNumbers->setText(pageNumbers);
    m_currentPage = currentPage;
    m_printPages->setCurrentIndex(0);
    TrepPrinters &printers = TrepPrinters::instance();
    m_printerAtOpen = printers.printerIndex();
    m_printers->setCurrentIndex(m_printerAtOpen);
    printerChosen(m_printerAtOpen);
}

PrintDialogChoice TrepPrintDialog::choice() const
{
    PrintDialogChoice c;
    c.copiesText = m_copies->text();
    c.collate = m_collate->isChecked();
    if (m_current->isChecked())
        c.pageRange = QString::number(m_currentPage);
    else if (m_pageNumbersRB->isChecked())
        c.pageRange = m_pageNumbers->text();
    c.printPages = static_cast<TrepPrintPages>(std::max(0, m_printPages->currentIndex()));
    c.reverse = m_reverse->isChecked();
    return c;
}

void TrepPrintDialog::printerChosen(int index)
{
    TrepPrinters &printers = TrepPrinters::instance();
    printers.setPrinterIndex(index);
    if (TrepCustomPrinter *p = printers.current()) {
        m_type->setText(p->name());
        m_where->setText(p->port());
        rt::growToTexts(this);
    }
}

void TrepPrintDialog::updateCollatePicture()
{
    m_copiesPicture->setPixmap(copiesPicture(m_collate->isChecked()));
}

void TrepPrintDialog::done(int result)
{
    TrepPrinters &printers = TrepPrinters::instance();
    if (result == QDialog::Accepted) {
        TrepCustomPrinter *p = printers.current();
        if (p)
            p->outputFileName.clear();
        if (m_file->isChecked()) {
            const QString name = askPrintFileName ? askPrintFileName() : QString();
            if (name.isEmpty()) {
                result = QDialog::Rejected;
            } else if (p) {
                const QFileInfo fi(name);
                p->outputFileName = fi.path() + QLatin1Char('/') + fi.completeBaseName() + QStringLiteral(".prn");
            }
        }
    }
    if (result != QDialog::Accepted)
        printers.setPrinterIndex(m_printerAtOpen);
    QDialog::done(result);
}

} // namespace rep
