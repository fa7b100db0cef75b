#include "app/commands/checkwindow.h"

#include "runtime/ui/placement.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace app {

using namespace Qt::StringLiterals;

namespace {

// Columns wider than this wrap their text; the message column is the widest.
constexpr int maxFieldWidth = 220;
constexpr int maxSectionWidth = 200;
constexpr int maxMessageWidth = 380;
constexpr int minColumnWidth = 140;
// Room a cell takes beside its text.
constexpr int cellPadding = 14;
// The window takes at most these shares of the screen; the list scrolls beyond them.
constexpr double maxScreenWidthShare = 0.9;
constexpr double maxScreenHeightShare = 0.6;

QStringList rowTexts(const decl::Finding &f)
{
    return {decl::fieldLabel(f), f.section, f.message};
}

} // namespace

CheckWindow::CheckWindow(const QList<decl::Finding> &findings, QWidget *parent)
    : QDialog(parent), m_findings(findings)
{
    Q_ASSERT(!m_findings.isEmpty());
    setObjectName(u"CheckWindow"_s);
    setWindowTitle(u"Ellenőrzés"_s);

    auto *intro = new QLabel(u"Az ellenőrzés szerint az alábbi adatokat érdemes kijavítani. A „Javítás” a "
                             u"kiválasztott sor mezőjéhez visz, a „Nyomtatás így is” változatlanul folytatja."_s);
    intro->setWordWrap(true);

    m_table = new QTableWidget(this);
    m_table->setObjectName(u"Findings"_s);
    m_table->setAccessibleName(u"Talált hibák"_s);
    intro->setBuddy(m_table);
    m_table->setColumnCount(3);
    m_table->setHorizontalHeaderLabels({u"Mező"_s, u"Szakasz"_s, u"Hiba"_s});
    m_table->verticalHeader()->hide();
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setTabKeyNavigation(false); // Tab goes on to the buttons
    m_table->setWordWrap(true);
    m_table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->horizontalHeader()->setHighlightSections(false);
    fillTable();
    connect(m_table, &QTableWidget::cellDoubleClicked, this, [this](int row) {
        setCurrentRow(row);
        fix();
    });
    // Wrapped rows follow the columns when the user widens the window.
    connect(m_table->horizontalHeader(), &QHeaderView::sectionResized, m_table,
            [this] { m_table->resizeRowsToContents(); });

    m_fix = new QPushButton(u"&Javítás"_s);
    m_fix->setObjectName(u"Fix"_s);
    m_fix->setDefault(true);
    connect(m_fix, &QPushButton::clicked, this, &CheckWindow::fix);
    m_print = new QPushButton(u"&Nyomtatás így is"_s);
    m_print->setObjectName(u"PrintAnyway"_s);
    connect(m_print, &QPushButton::clicked, this, &CheckWindow::printAnyway);

    auto *copy = new QAction(this);
    copy->setShortcut(QKeySequence::Copy);
    copy->setShortcutContext(Qt::WindowShortcut);
    connect(copy, &QAction::triggered, this, &CheckWindow::copyToClipboard);
    addAction(copy);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_fix);
    buttons->addWidget(m_print);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addWidget(m_table, 1);
    layout->addLayout(buttons);

    setCurrentRow(0);
    m_table->setFocus();
    sizeToTexts();
    rt::centreOverOwner(this);
}

void CheckWindow::fillTable()
{
    m_table->setRowCount(int(m_findings.size()));
    for (int row = 0; row < m_findings.size(); ++row) {
        const QStringList texts = rowTexts(m_findings[row]);
        // A screen reader on any cell of the row hears the whole finding.
        const QString whole = u"%1, %2: %3"_s.arg(texts[0], texts[1], texts[2]);
        for (int column = 0; column < texts.size(); ++column) {
            auto *item = new QTableWidgetItem(texts[column]);
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            item->setData(Qt::AccessibleTextRole, texts[column]);
            item->setData(Qt::AccessibleDescriptionRole, whole);
            item->setToolTip(texts[column]);
            m_table->setItem(row, column, item);
        }
    }
}

void CheckWindow::sizeToTexts()
{
    const QFontMetrics fm(m_table->font());
    const QFontMetrics headerFm(m_table->horizontalHeader()->font());
    const int limits[3] = {maxFieldWidth, maxSectionWidth, maxMessageWidth};
    int widths[3];
    for (int column = 0; column < 3; ++column) {
        int widest = headerFm.horizontalAdvance(m_table->horizontalHeaderItem(column)->text());
        for (const decl::Finding &f : std::as_const(m_findings))
            widest = std::max(widest, std::min(fm.horizontalAdvance(rowTexts(f)[column]), limits[column]));
        widths[column] = widest + cellPadding;
    }
    // On a narrow screen the section and the field wrap first, the messages last, each down to a
    // readable width.
    const QScreen *screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    const QRect available = screen->availableGeometry();
    const int margins = 2 * m_table->frameWidth() + 2 * layout()->contentsMargins().left()
                        + m_table->verticalScrollBar()->sizeHint().width();
    int excess = widths[0] + widths[1] + widths[2] + margins - int(available.width() * maxScreenWidthShare);
    for (int column : {1, 0, 2}) {
        if (excess <= 0)
            break;
        const int give = std::clamp(widths[column] - minColumnWidth, 0, excess);
        widths[column] -= give;
        excess -= give;
    }
    int tableWidth = 2 * m_table->frameWidth();
    for (int column = 0; column < 3; ++column) {
        m_table->setColumnWidth(column, widths[column]);
        tableWidth += widths[column];
    }
    m_table->resizeRowsToContents();
    // The rows under the header, and the grid's closing line.
    int tableHeight = 2 * m_table->frameWidth() + m_table->horizontalHeader()->sizeHint().height()
                      + m_table->verticalHeader()->length() + (m_table->showGrid() ? 1 : 0);
    const int cap = int(available.height() * maxScreenHeightShare);
    if (tableHeight > cap) {
        tableHeight = cap;
        tableWidth += m_table->verticalScrollBar()->sizeHint().width();
    } else {
        // No empty space under the rows.
        m_table->setMaximumHeight(tableHeight);
    }
    m_table->setMinimumSize(tableWidth, tableHeight);
    adjustSize();
}

int CheckWindow::currentRow() const
{
    return m_table->currentRow();
}

void CheckWindow::setCurrentRow(int row)
{
    if (row < 0 || row >= m_table->rowCount())
        return;
    m_table->setCurrentCell(row, 0);
    m_table->selectRow(row);
}

QString CheckWindow::fixComponent() const
{
    return m_findings.value(m_fixRow).component;
}

QString CheckWindow::text() const
{
    QStringList lines;
    for (const decl::Finding &f : m_findings)
        lines.append(rowTexts(f).join(u'\t'));
    return lines.join(u'\n') + u'\n';
}

void CheckWindow::fix()
{
    m_fixRow = std::max(0, currentRow());
    QDialog::reject();
}

void CheckWindow::printAnyway()
{
    accept();
}

void CheckWindow::reject()
{
    m_fixRow = 0;
    QDialog::reject();
}

void CheckWindow::copyToClipboard() const
{
    QGuiApplication::clipboard()->setText(text());
}

} // namespace app
