#include "app/commands/filedialogs.h"

#include "runtime/messages.h"
#include "runtime/ui/placement.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace app {

namespace {

const QString draftFilter = u"Telekadó-bevallás (*.tkd)"_s;
const QString pdfFilter = u"PDF (*.pdf)"_s;
const QString scanFilter = u"Beolvasott oldal vagy fénykép (*.png *.jpg *.jpeg *.tif *.tiff *.pdf);;Minden fájl (*)"_s;

// The dialog adds the extension itself, so that it asks about replacing the file really meant.
QString askSaveName(QWidget *parent, const QString &caption, const QString &suggested, const QString &filter,
                    const QString &suffix)
{
    QFileDialog dialog(parent, caption, QString(), filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(suffix.mid(1));
    dialog.selectFile(suggested);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

QMessageBox::StandardButton askSaveChanges(QWidget *parent)
{
    QMessageBox box(QMessageBox::Question, rt::applicationTitle(), u"Menti a bevallás változásait?"_s,
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, parent);
    // Alt with the marked letter answers, as on every button of the program.
    box.button(QMessageBox::Yes)->setText(u"&Igen"_s);
    box.button(QMessageBox::No)->setText(u"&Nem"_s);
    box.button(QMessageBox::Cancel)->setText(u"&Mégsem"_s);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::Cancel);
    rt::centreOverOwner(&box);
    return QMessageBox::StandardButton(box.exec());
}

RestoreAnswer askRestore(QWidget *parent, const QDateTime &changed, const QString &file)
{
    const QString when = changed.toLocalTime().toString(u"yyyy. MM. dd. HH:mm"_s);
    const QString which = file.isEmpty() ? u"Még nem mentett bevallás."_s
                                         : u"A bevallás fájlja: %1"_s.arg(QDir::toNativeSeparators(file));
    QMessageBox box(QMessageBox::Question, rt::applicationTitle(),
                    u"A program legutóbb mentetlen változásokkal ért véget.\n"
                    u"Utolsó módosítás: %1\n%2\n\nVisszaállítja a bevallást?"_s.arg(when, which),
                    QMessageBox::NoButton, parent);
    QPushButton *restore = box.addButton(u"&Visszaállítás"_s, QMessageBox::AcceptRole);
    QPushButton *discard = box.addButton(u"&Elvetés"_s, QMessageBox::RejectRole);
    box.setDefaultButton(restore);
    // Esc or the close box decide nothing: a stray key must not throw the work away.
    box.setEscapeButton(box.addButton(QMessageBox::Cancel));
    box.button(QMessageBox::Cancel)->hide();
    rt::centreOverOwner(&box);
    box.exec();
    if (box.clickedButton() == restore)
        return RestoreAnswer::Restore;
    return box.clickedButton() == discard ? RestoreAnswer::Discard : RestoreAnswer::Later;
}

bool askUseHeldFile(QWidget *parent, const FileHolder &holder, bool saving)
{
    const QString who = holder.user.isEmpty() ? holder.host : u"%1 (%2)"_s.arg(holder.user, holder.host);
    QMessageBox box(QMessageBox::Warning, rt::applicationTitle(),
                    u"A bevallást egy másik program már megnyitotta: %1\n"
                    u"Megnyitotta: %2, %3 óta.\n\n%4"_s
                        .arg(QDir::toNativeSeparators(holder.file), who,
                             holder.since.toLocalTime().toString(u"yyyy. MM. dd. HH:mm"_s),
                             saving ? u"Ha most ide ment, az ottani változások felülíródhatnak."_s
                                    : u"Ha itt is megnyitja, a két példány eltérhet egymástól."_s),
                    QMessageBox::NoButton, parent);
    QPushButton *anyway = box.addButton(saving ? u"&Mentés így is"_s : u"&Megnyitás így is"_s, QMessageBox::AcceptRole);
    QPushButton *cancel = box.addButton(u"Mégsem"_s, QMessageBox::RejectRole);
    box.setDefaultButton(cancel);
    box.setEscapeButton(cancel);
    rt::centreOverOwner(&box);
    box.exec();
    return box.clickedButton() == anyway;
}

} // namespace

FileDialogs standardFileDialogs()
{
    FileDialogs d;
    d.openDraftName = [](QWidget *parent, const QString &folder) {
        return QFileDialog::getOpenFileName(parent, u"Megnyitás"_s, folder, draftFilter);
    };
    d.openScanName = [](QWidget *parent, const QString &folder) {
        return QFileDialog::getOpenFileName(parent, u"Beolvasás képről"_s, folder, scanFilter);
    };
    d.saveDraftName = [](QWidget *parent, const QString &suggested) {
        return askSaveName(parent, u"Mentés másként"_s, suggested, draftFilter, draftSuffix);
    };
    d.savePdfName = [](QWidget *parent, const QString &suggested) {
        return askSaveName(parent, u"PDF-be mentés"_s, suggested, pdfFilter, pdfSuffix);
    };
    d.askSaveChanges = &askSaveChanges;
    d.askRestore = &askRestore;
    d.askUseHeldFile = &askUseHeldFile;
    return d;
}

QString withDefaultSuffix(const QString &path, const QString &suffix)
{
    if (path.isEmpty() || !QFileInfo(path).suffix().isEmpty())
        return path;
    return path + suffix;
}

} // namespace app
