#pragma once

#include <QMessageBox>
#include <QString>

#include <functional>

class QWidget;

namespace app {

// The questions the file commands put to the user. By default the standard file dialogs and a
// message box; tests answer them instead.
struct FileDialogs
{
    // The declaration file to open, from the given folder; empty when cancelled.
    std::function<QString(QWidget *parent, const QString &folder)> openDraftName;
    // The scanned page, photo or PDF to read a declaration's code from; empty when cancelled.
    std::function<QString(QWidget *parent, const QString &folder)> openScanName;
    // Where to save the declaration file, or its PDF, starting from a suggested path; empty
    // when cancelled.
    std::function<QString(QWidget *parent, const QString &suggested)> saveDraftName;
    std::function<QString(QWidget *parent, const QString &suggested)> savePdfName;
    // "Menti a bevallás változásait?" with the buttons Igen, Nem and Mégsem (Alt+I, Alt+N, Alt+M): Yes,
    // No or Cancel.
    std::function<QMessageBox::StandardButton(QWidget *parent)> askSaveChanges;
};

FileDialogs standardFileDialogs();

inline const QString draftSuffix = QStringLiteral(".tkd");
inline const QString pdfSuffix = QStringLiteral(".pdf");

// The path with the suffix added when its file name has no extension: "kovacs" -> "kovacs.tkd".
QString withDefaultSuffix(const QString &path, const QString &suffix);

} // namespace app
