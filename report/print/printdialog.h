#pragma once

#include "report/print/printjob.h"

#include <QDialog>

#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace rep {

// What the user chose in the print dialog.
struct PrintDialogChoice
{
    QString copiesText;
    bool collate = true;
    QString pageRange; // empty: every page
    TrepPrintPages printPages = TrepPrintPages::ppAll;
    bool reverse = false;
};

// The print dialog: printer, pages, copies, collation, odd/even pages, reverse order, file output.
class TrepPrintDialog : public QDialog
{
    Q_OBJECT
public:
    explicit TrepPrintDialog(QWidget *parent = nullptr);

    // Fills the copies, collate and page-range boxes and remembers the current printer.
    void setup(int copies, bool collate, const QString &pageNumbers, int currentPage);
    PrintDialogChoice choice() const;

    // Asks for the ".prn" file of "Fájlba nyomtat"; empty when cancelled. Tests replace it.
    std::function<QString()> askPrintFileName;
    // Opens the settings of the current printer; tests replace it.
    std::function<void()> showProperties;

    void done(int result) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void connectControls();
    // Names the controls that show no text of their own after the captions beside them.
    void nameForAssistiveTechnology();
    // Lists the printers with the current one chosen.
    void fillPrinters();
    void printerChosen(int index);
    void updateCollatePicture();

    QComboBox *m_printers = nullptr;
    QLabel *m_type = nullptr;
    QLabel *m_where = nullptr;
    QCheckBox *m_file = nullptr;
    QCheckBox *m_reverse = nullptr;
    QRadioButton *m_current = nullptr;
    QRadioButton *m_pageNumbersRB = nullptr;
    QLineEdit *m_pageNumbers = nullptr;
    QLineEdit *m_copies = nullptr;
    QLabel *m_copiesPicture = nullptr;
    QCheckBox *m_collate = nullptr;
    QComboBox *m_printPages = nullptr;
    int m_currentPage = 1;
    QString m_printerAtOpen;
};

} // namespace rep
