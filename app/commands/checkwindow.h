#pragma once

#include "declaration/checks.h"

#include <QDialog>

class QTableWidget;
class QPushButton;

namespace app {

// "Ellenőrzés": the findings of the checks before printing, one row each in form order (field,
// section, message). "Javítás" (Enter, a double click) leads to the current row's field, Esc or
// the close box to the first row's; "Nyomtatás így is" goes on regardless. exec() returns
// Accepted for going on. Ctrl+C copies every row, tab-separated.
class CheckWindow : public QDialog
{
    Q_OBJECT
public:
    explicit CheckWindow(const QList<decl::Finding> &findings, QWidget *parent = nullptr);

    const QList<decl::Finding> &findings() const { return m_findings; }
    int currentRow() const;
    void setCurrentRow(int row);
    // The component to lead the user to once the window has closed with "Javítás".
    QString fixComponent() const;
    // The rows as text: field, section and message separated by tabs, one row a line.
    QString text() const;

    QTableWidget *table() const { return m_table; }
    QPushButton *fixButton() const { return m_fix; }
    QPushButton *printButton() const { return m_print; }

public Q_SLOTS:
    // "Javítás" on the current row.
    void fix();
    // "Nyomtatás így is".
    void printAnyway();
    // Esc and the close box: "Javítás" on the first row.
    void reject() override;

private:
    void fillTable();
    void sizeToTexts();
    void copyToClipboard() const;

    QList<decl::Finding> m_findings;
    QTableWidget *m_table = nullptr;
    QPushButton *m_fix = nullptr;
    QPushButton *m_print = nullptr;
    int m_fixRow = 0;
};

} // namespace app
