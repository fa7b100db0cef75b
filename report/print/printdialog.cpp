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

using namespace Qt::StringLiterals;

namespace {

template<typename W>
QWidget *create(QWidget *parent)
{
    return new W(parent);
}

// The printer box reads the system's printers again as it opens, so that one added since the
// dialog opened can be chosen.
class PrinterBox : public QComboBox
{
public:
    using QComboBox::QComboBox;
    std::function<void()> aboutToShowPopup;

    void showPopup() override
    {
        if (aboutToShowPopup)
            aboutToShowPopup();
        QComboBox::showPopup();
    }
};

// One control of the dialog as designed. Its texts come from the dialog's text lines, which name
// it ("CopiesL.Caption=Másolatok száma").
struct DialogControl
{
    const char *name;
    QWidget *(*create)(QWidget *parent);
    const char *parent; // nullptr: the dialog itself
    QRect bounds;
};

// In creation order, which is the tab order.
const DialogControl kControls[] = {
    {"Label12", &create<QGroupBox>, nullptr, {4, 4, 469, 97}},
    {"PrintersCB", &create<PrinterBox>, "Label12", {8, 20, 317, 21}},
    {"PropButton", &create<QPushButton>, "Label12", {336, 20, 95, 22}},
    {"TypeL", &create<QLabel>, "Label12", {4, 52, 44, 16}},
    {"TypeL1", &create<QLabel>, "Label12", {52, 52, 270, 16}},
    {"WhereL", &create<QLabel>, "Label12", {4, 72, 44, 16}},
    {"WhereL1", &create<QLabel>, "Label12", {52, 72, 270, 16}},
    {"FileCB", &create<QCheckBox>, "Label12", {332, 52, 130, 17}},
    {"ReverseCB", &create<QCheckBox>, "Label12", {332, 72, 135, 17}},
    {"Label1", &create<QGroupBox>, nullptr, {4, 104, 261, 117}},
    {"AllRB", &create<QRadioButton>, "Label1", {8, 20, 160, 17}},
    {"CurPageRB", &create<QRadioButton>, "Label1", {8, 40, 160, 17}},
    {"PageNumbersRB", &create<QRadioButton>, "Label1", {8, 60, 62, 17}},
    {"PageNumbersE", &create<QLineEdit>, "Label1", {72, 58, 165, 21}},
    {"DescrL", &create<QLabel>, "Label1", {8, 82, 249, 29}},
    {"Label2", &create<QGroupBox>, nullptr, {272, 104, 201, 117}},
    {"CopiesL", &create<QLabel>, "Label2", {12, 20, 118, 16}},
    {"CopiesE", &create<QLineEdit>, "Label2", {132, 16, 37, 21}},
    {"UpDown1", &create<QToolButton>, "Label2", {169, 16, 15, 10}},
    {"UpDown1Down", &create<QToolButton>, "Label2", {169, 27, 15, 10}},
    {"CopiesPB", &create<QLabel>, "Label2", {12, 48, 92, 53}},
    {"CollateCB", &create<QCheckBox>, "Label2", {116, 58, 17, 17}},
    {"CollateL", &create<QLabel>, "Label2", {136, 60, 60, 16}},
    {"PrintL", &create<QLabel>, nullptr, {4, 236, 50, 16}},
    // Moved to stand 11 pixels after PrintL's text once that is known.
    {"PrintPagesCB", &create<QComboBox>, nullptr, {65, 232, 165, 21}},
    {"OkB", &create<QPushButton>, nullptr, {318, 232, 75, 25}},
    {"CancelB", &create<QPushButton>, nullptr, {398, 232, 75, 25}},
};

// A control that shows no text of its own and the control whose caption names it for a screen
// reader; `sign` tells the two arrows of the copies apart.
struct AccessibleNaming
{
    const char *control;
    const char *caption;
    const char16_t *sign = nullptr;
};

const AccessibleNaming kNamings[] = {
    {"PageNumbersE", "PageNumbersRB"},
    {"CopiesE", "CopiesL"},
    {"UpDown1", "CopiesL", u" +"},
    {"UpDown1Down", "CopiesL", u" −"},
    {"CollateCB", "CollateL"},
    {"PrintPagesCB", "PrintL"},
};

// A caption as a name: without the accelerator marker, the blanks around it and its colon.
QString nameOfCaption(const QWidget *w)
{
    QString s;
    if (auto *group = qobject_cast<const QGroupBox *>(w))
        s = group->title();
    else if (auto *label = qobject_cast<const QLabel *>(w))
        s = label->text();
    else if (auto *button = qobject_cast<const QAbstractButton *>(w))
        s = button->text();
    s = s.remove(u'&').trimmed();
    if (s.endsWith(u':'))
        s.chop(1);
    return s.trimmed();
}

// A control of the table; it exists once the table has been built.
template<typename W>
W *control(const QObject *dialog, const char *name)
{
    auto *w = dialog->findChild<W *>(QLatin1StringView(name));
    Q_ASSERT(w);
    return w;
}

// A picture of two copies of three pages: two stacks 1-2-3 when collated, pairs 1-1, 2-2, 3-3 when not.
QPixmap copiesPicture(bool collate)
{
    QPixmap pm(92, 53);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    QFont f(u"DejaVu Sans"_s);
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
    setObjectName(u"TrepPrintDialog"_s);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(477, 263);
    setFont(rt::dialogFont());

    for (const DialogControl &c : kControls) {
        QWidget *w = c.create(c.parent ? control<QWidget>(this, c.parent) : this);
        w->setObjectName(QLatin1StringView(c.name));
        w->setGeometry(c.bounds);
    }
    m_printers = control<QComboBox>(this, "PrintersCB");
    m_type = control<QLabel>(this, "TypeL1");
    m_where = control<QLabel>(this, "WhereL1");
    m_file = control<QCheckBox>(this, "FileCB");
    m_reverse = control<QCheckBox>(this, "ReverseCB");
    m_current = control<QRadioButton>(this, "CurPageRB");
    m_pageNumbersRB = control<QRadioButton>(this, "PageNumbersRB");
    m_pageNumbers = control<QLineEdit>(this, "PageNumbersE");
    m_copies = control<QLineEdit>(this, "CopiesE");
    m_copiesPicture = control<QLabel>(this, "CopiesPB");
    m_collate = control<QCheckBox>(this, "CollateCB");
    m_printPages = control<QComboBox>(this, "PrintPagesCB");

    m_printers->setIconSize(QSize(16, 16));
    for (const char *name : {"TypeL", "WhereL"})
        control<QLabel>(this, name)->setAlignment(Qt::AlignRight | Qt::AlignTop);
    auto *descr = control<QLabel>(this, "DescrL");
    descr->setWordWrap(true);
    descr->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    control<QRadioButton>(this, "AllRB")->setChecked(true);
    control<QToolButton>(this, "UpDown1")->setArrowType(Qt::UpArrow);
    control<QToolButton>(this, "UpDown1Down")->setArrowType(Qt::DownArrow);
    control<QPushButton>(this, "OkB")->setDefault(true);

    TrepResources::instance().localize(this, u"TrepPrintDialog"_s);
    auto *printL = control<QLabel>(this, "PrintL");
    printL->adjustSize();
    m_printPages->move(printL->x() + printL->width() + 11, 232);
    m_printPages->addItems({repGet(u"ppAll"_s), repGet(u"ppOdd"_s), repGet(u"ppEven"_s)});
    // The design fits its texts in Tahoma; another font may need more room.
    rt::growToTexts(this);

    nameForAssistiveTechnology();

    fillPrinters();
    static_cast<PrinterBox *>(m_printers)->aboutToShowPopup = [this] {
        TrepPrinters::readAgain();
        fillPrinters();
        printerChosen(TrepPrinters::instance().printerIndex());
    };

    connectControls();
    askPrintFileName = [this] {
        return QFileDialog::getSaveFileName(this, u"Print To File"_s, QString(), u"Printer files (*.prn)"_s);
    };
    showProperties = [this] {
        if (auto *p = dynamic_cast<TrepPrinter *>(TrepPrinters::instance().current())) {
            QPageSetupDialog dialog(p->qprinter(), this);
            dialog.exec();
        }
    };
}

void TrepPrintDialog::nameForAssistiveTechnology()
{
    for (const AccessibleNaming &n : kNamings) {
        QWidget *caption = control<QWidget>(this, n.caption);
        QWidget *named = control<QWidget>(this, n.control);
        auto *label = qobject_cast<QLabel *>(caption);
        if (label && qobject_cast<QComboBox *>(named)) {
            label->setBuddy(named);
            continue;
        }
        QString name = nameOfCaption(caption);
        if (n.sign)
            name += QString::fromUtf16(n.sign);
        named->setAccessibleName(name);
    }
    m_pageNumbers->setAccessibleDescription(control<QLabel>(this, "DescrL")->text());
}

void TrepPrintDialog::connectControls()
{
    connect(m_printers, &QComboBox::activated, this, &TrepPrintDialog::printerChosen);
    connect(control<QPushButton>(this, "PropButton"), &QPushButton::clicked, this, [this] {
        if (showProperties)
            showProperties();
    });
    connect(m_pageNumbersRB, &QRadioButton::clicked, this, [this] { m_pageNumbers->setFocus(); });
    connect(m_pageNumbers, &QLineEdit::textEdited, this, [this] { m_pageNumbersRB->setChecked(true); });
    m_pageNumbers->installEventFilter(this);
    connect(m_collate, &QCheckBox::toggled, this, &TrepPrintDialog::updateCollatePicture);
    control<QLabel>(this, "CollateL")->installEventFilter(this);
    // The up-down steps the copies, never below 1; a text that is no number starts again at 1.
    const auto step = [this](int delta) {
        bool ok = false;
        const int n = m_copies->text().toInt(&ok);
        m_copies->setText(QString::number(ok ? std::max(1, n + delta) : 1));
    };
    connect(control<QToolButton>(this, "UpDown1"), &QToolButton::clicked, this, [step] { step(1); });
    connect(control<QToolButton>(this, "UpDown1Down"), &QToolButton::clicked, this, [step] { step(-1); });
    connect(control<QPushButton>(this, "OkB"), &QPushButton::clicked, this, &QDialog::accept);
    connect(control<QPushButton>(this, "CancelB"), &QPushButton::clicked, this, &QDialog::reject);
}

bool TrepPrintDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_pageNumbers && event->type() == QEvent::FocusIn)
        m_pageNumbersRB->setChecked(true);
    if (watched->objectName() == u"CollateL"
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
    m_printerAtOpen = printers.current() ? printers.current()->name() : QString();
    m_printers->setCurrentIndex(printers.printerIndex());
    printerChosen(printers.printerIndex());
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

void TrepPrintDialog::fillPrinters()
{
    TrepPrinters &printers = TrepPrinters::instance();
    const QIcon printerIcon = style()->standardIcon(QStyle::SP_ComputerIcon);
    m_printers->clear();
    for (const QString &name : printers.names())
        m_printers->addItem(printerIcon, name);
    m_printers->setCurrentIndex(printers.printerIndex());
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
                p->outputFileName = fi.path() + QLatin1Char('/') + fi.completeBaseName() + u".prn"_s;
            }
        }
    }
    // The printer current at opening may have gone meanwhile: then the current one stays.
    if (result != QDialog::Accepted)
        printers.setPrinterByName(m_printerAtOpen);
    QDialog::done(result);
}

} // namespace rep
