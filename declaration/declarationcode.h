#pragma once

#include "declaration/draftfile.h"

#include <QByteArrayView>
#include <QString>

#include <optional>

namespace decl {

class FormAccess;

// The declaration's 2D code: what the QR Code of the printed form carries, so that the office
// reads the paper back without retyping it. Version 1 of the payload is one of
//
//   "TKD1P" LF TAX LF JSON                 plain: UTF-8 text
//   "TKD1Z" BASE45(ZLIB(TAX LF JSON))      compressed, when the plain text does not fit
//
// where TAX is the tax as the form shows it ("250.800"), a cross-check of the data, and JSON
// is the declaration file's content (".tkd", see draftfile.h) written compact, leaving out the
// fields and choices that are as on an untouched form (a reader puts those back). ZLIB is a 4-byte
// big-endian length followed by a zlib stream; BASE45 is RFC 9285's, whose alphabet QR Code
// carries in its dense alphanumeric mode.
inline constexpr QStringView codeMarker = u"TKD";
inline constexpr int codeVersion = 1;
// The report key under which the value provider answers the payload.
inline constexpr QStringView codeKey = u"m46";

// The payload for the form's fields, choices and their tax: plain when the printed form's code
// takes it at its least module size, compressed when only that fits, empty when neither (or
// when a number of the form cannot be computed).
QString declarationCode(const FormAccess &form);

// The two forms of the payload, for a draft and the tax as the form shows it.
QString plainCode(const Draft &draft, const QString &tax);
QString compressedCode(const Draft &draft, const QString &tax);

// Whether the printed form's code takes the payload: the symbol with its quiet zones fits the
// code's box in modules of at least its least size.
bool codeFitsForm(const QString &payload);

// When the form's data does not fit the printed form's code even compressed, so that the code
// is left off the paper: the field that makes it too long (the one with the longest value,
// the remark as a rule); otherwise empty.
QString fieldTooLongForCode(const FormAccess &form);

// Reads a code's bytes strictly, as a declaration file is read, and gives the whole form (what
// the code leaves out as on an untouched form): another marker, a newer
// version, damaged compressed data, values a file would refuse, or a tax that the data does not
// give all return nothing and set errorString (naming source, in Hungarian).
std::optional<Draft> readCode(QByteArrayView bytes, const QString &source, QString *errorString = nullptr);

// RFC 9285, exposed for tests.
QString toBase45(QByteArrayView bytes);
std::optional<QByteArray> fromBase45(QStringView text);

} // namespace decl
