#include "report/preview/trepsearchdialog.h"

#include "report/resources/resources.h"
#include "runtime/ui/designfonts.h"
#include "runtime/ui/growtotexts.h"
#include "runtime/ui/placement.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace rep {

TrepSearchDialog::TrepSearchDialog(const TextLookup &lookup, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TrepSearchDialog"));
    setWindowTitle(QStringLiteral("Text search"));
    setFont(rt::dialogFont());
    setFixedSize(330, 150);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto *textL = new QLabel(QStringLiteral("Text to find:"), this);
    textL->setObjectName(QStringLiteral("TextL"));
    textL->setGeometry(8, 8, 314, 16);
    m_text = new QLineEdit(this);
    m_text->setObjectName(QStringLiteral("TextE"));
    m_text->setGeometry(8, 26, 314, 21);
    textL->setBuddy(m_text);

    auto *replaceL = new QLabel(QStringLiteral("Replace with"), this);
    replaceL->setObjectName(QStringLiteral("ReplaceL"));
    replaceL->hide();
    auto *replaceE = new QLineEdit(this);
    replaceE->setObjectName(QStringLiteral("ReplaceE"));
    replaceE->hide();

    auto *group = new QGroupBox(QStringLiteral("Search options"), this);
    group->setObjectName(QStringLiteral("SearchL"));
    group->setGeometry(8, 54, 314, 56);
    m_top = new QCheckBox(QStringLiteral("Search from beginning"), group);
    m_top->setObjectName(QStringLiteral("TopCB"));
    m_top->setGeometry(8, 16, 298, 17);
    m_case = new QCheckBox(QStringLiteral("Case sensitive"), group);
    m_case->setObjectName(QStringLiteral("CaseCB"));
    m_case->setGeometry(8, 34, 298, 17);

    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("OkB"));
    ok->setGeometry(166, 118, 75, 25);
    ok->setDefault(true);
    auto *cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("CancelB"));
    cancel->setGeometry(247, 118, 75, 25);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    localizeLines(this, effectiveLookup(lookup)(QStringLiteral("TrepSearchDialog")));
    rt::growToTexts(this);

    // Over the preview that asked for it, not in the middle of the screen.
    rt::centreOverOwner(this);
}

void TrepSearchDialog::setSearchText(const QString &text)
{
    m_text->setText(text);
    m_text->selectAll();
    m_text->setFocus();
}

QString TrepSearchDialog::searchText() const
{
    return m_text->text();
}

bool TrepSearchDialog::fromTop() const
{
    return m_top->isChecked();
}

bool TrepSearchDialog::caseSensitive() const
{
    return m_case->isChecked();
}

} // namespace rep
