#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QMap>
#include <QString>

#include <optional>

namespace decl {

class FormAccess;
struct Field;

// The declaration file (".tkd"): an indented UTF-8 JSON object
//   {"choices": {"CtlRadioGroup1": -1, ...}, "fields": {"m1": "...", ...},
//    "format": "telekado-bevallas", "version": 1}
// holding the texts of the input fields under their report keys and the chosen index of each
// radio group under the group's component name (-1 for none).
//
// Texts are stored as the form holds them, with two exceptions. The remark (RichEdit1), whose
// lines the form separates with "\r\n", is stored with "\n" between lines; reading turns each
// "\n" (and any "\r" right before it) back into "\r\n". Numeric texts are written as displayed,
// in the saving user's decimal notation; reading accepts "," or "." and hands the text back with
// the current locale's separator.

inline constexpr QStringView draftFormat = u"telekado-bevallas";
inline constexpr int draftVersion = 1;

// The longest text a field may hold: a line edit's limit, which the platform's rich edit shares.
inline constexpr int maxDraftFieldLength = 32767;
// The largest file the reader takes. A draft of forty fields at full length, every character
// written as a six-byte JSON escape, stays below it, so whatever the writer writes reads back.
inline constexpr qint64 maxDraftFileSize = 8 * 1024 * 1024;

// What a declaration file holds, keyed by component name. A read draft holds only the keys
// its file has; a field or group that is missing keeps its current content when applied.
struct Draft
{
    QMap<QString, QString> texts;  // field component -> field text as the form holds it
    QMap<QString, int> choices;    // radio group component -> ItemIndex, -1 for none

    friend bool operator==(const Draft &, const Draft &) = default;
};

// Every input field's text and every group's choice of the form.
Draft draftOf(const FormAccess &form);

// A field's text as the file stores it, for its text as the form holds it: the remark's lines
// separated by "\n", any other text as it is.
QString fileTextOf(const Field &field, const QString &formText);

// Writes the draft as the file's bytes; the same draft always gives the same bytes.
QByteArray toJson(const Draft &draft);

// How strictly readDraft takes a numeric field's text. A recovery copy holds the form as it was
// when the program ended, a number typed half-way ("12,", "-") too, which the form can hold.
enum class NumericTexts { MustBeNumbers, AsTyped };

// Reads a file's bytes strictly: returns nothing and sets errorString (naming fileName and the
// reason) unless the whole file is a valid declaration of a known version.
std::optional<Draft> readDraft(QByteArrayView bytes, const QString &fileName, QString *errorString = nullptr,
                               NumericTexts numbers = NumericTexts::MustBeNumbers);

// Puts the draft's texts and choices into a form that has setText and setItemIndex (MapForm,
// or the window's controls); fields the draft does not name are left as they are.
template <class Form>
void applyDraft(const Draft &draft, Form &form)
{
    for (auto it = draft.texts.cbegin(); it != draft.texts.cend(); ++it)
        form.setText(it.key(), it.value());
    for (auto it = draft.choices.cbegin(); it != draft.choices.cend(); ++it)
        form.setItemIndex(it.key(), it.value());
}

// Writes the draft to path through a temporary file that replaces the target only when it is
// complete. Returns false and sets errorString when the draft would not read back (a field too
// long, a numeric text that is not a number) or the file could not be written; the old file is
// then left whole.
bool saveDraft(const QString &path, const Draft &draft, QString *errorString = nullptr);

// Reads and checks the file at path; returns nothing and sets errorString when it cannot.
std::optional<Draft> loadDraft(const QString &path, QString *errorString = nullptr);

} // namespace decl
