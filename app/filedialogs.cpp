#include "app/filedialogs.h"

#include "runtime/messages.h"
#include "runtime/ui/placement.h"

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
    return d;
}

QString withDefaultSuffix(const QString &path, const QString &suffix)
{
    if (path.isEmpty() || !QFileInfo(path).suffix().isEmpty())
        return path;
    return path + suffix;
}

} // namespace app
