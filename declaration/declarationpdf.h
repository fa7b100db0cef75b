#pragma once

#include <QString>
#include <QStringView>

namespace decl {

class DeclarationReport;

// The title the declaration's PDF carries in its document information.
inline constexpr QStringView pdfTitle = u"BEVALLÁS 2006 évi telekadó";

// Writes the pages the report has prepared as a 600-dpi PDF at path: the pages the printer gets,
// drawn the same way, the title above, the taxpayer's name (StyledEdit35) as the author when it
// is filled and creator the program's name. The file appears only whole: returns false and sets
// errorString (naming the file and the reason) when it cannot be written, and an existing file
// of that name is then left as it was.
bool saveDeclarationPdf(DeclarationReport &report, const QString &path, QString *errorString = nullptr);

} // namespace decl
