#pragma once

#include "report/preview/previewtexts.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;

namespace rep {

// The find dialog of the preview: the text to find, "from the first page" and "case-sensitive".
// Its replace part exists but stays hidden.
class TrepSearchDialog : public QDialog
{
    Q_OBJECT
public:
    TrepSearchDialog(const TextLookup &text, QWidget *parent);

    // Shows the text selected, ready to be typed over.
    void setSearchText(const QString &text);
    QString searchText() const;
    bool fromTop() const;
    bool caseSensitive() const;

private:
    QLineEdit *m_text = nullptr;
    QCheckBox *m_top = nullptr;
    QCheckBox *m_case = nullptr;
};

} // namespace rep
