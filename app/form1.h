#pragma once

#include "declaration/formaccess.h"

#include <QHash>
#include <QMainWindow>

#include <memory>

class QFont;
class QScrollArea;

namespace guide {
class TForm2;
}

namespace decl {
class DeclarationReport;
enum class FieldKind;
}

namespace app {

class TForm1;

// The declaration's access to the window's controls.
class Form1Access : public decl::FormAccess
{
public:
    explicit Form1Access(TForm1 &form) : m_form(form) {}
    QString text(const QString &component) const override;
    int itemIndex(const QString &group) const override;
    QString caption(const QString &label) const override;
    void setCaption(const QString &label, const QString &caption) override;

private:
    TForm1 &m_form;
};

// The main window: the whole declaration form on one vertically scrolling page.
class TForm1 : public QMainWindow
{
    Q_OBJECT
public:
    explicit TForm1(QWidget *parent = nullptr);
    ~TForm1() override;

    // A control of the form by its component name, nullptr when there is none.
    QWidget *control(const QString &component) const;
    decl::FormAccess &form() { return m_access; }

    // The filling-guide window, created hidden after this one.
    void setGuideWindow(guide::TForm2 *form2);

    // Commands of the menu bar. Their errors propagate; the menu's binding shows them.
    void Nyomtats1Click();
    void Kitltsitmutat1Click();
    void Kilps1Click();
    // The shared exit handler of the eight area fields. Its errors propagate; the fields'
    // binding shows them through the default error display.
    void szamolas();

private:
    void buildMenu();
    void buildContent();
    // The parts of the content, in stacking order: panels, captions, fields, computed labels.
    QWidget *buildPanels();
    void buildCaptions();
    void buildFields();
    QWidget *newField(decl::FieldKind kind, const QFont &font);
    void buildComputedLabels();
    // Puts a control at its designed place under its parent and registers it by name.
    QWidget *place(QWidget *w, const QString &name);
    // A control built already; the tables name only such parents.
    QWidget *built(const QString &component) const;

    Form1Access m_access;
    QScrollArea *m_scroll = nullptr;
    QHash<QString, QWidget *> m_controls;
    guide::TForm2 *m_form2 = nullptr;
    std::unique_ptr<decl::DeclarationReport> m_report;
};

} // namespace app
