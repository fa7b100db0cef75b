#pragma once

// What the writing and the reading half of the 2D code share.

#include "declaration/draftfile.h"
#include "declaration/formaccess.h"

#include <QString>

#include <array>

namespace decl::code_p {

inline constexpr char16_t plainMode = u'P';
inline constexpr char16_t compressedMode = u'Z';
// A code holds at most a few kilobytes; its data unpacked cannot be larger than a file.
inline constexpr quint32 maxUnpacked = quint32(maxDraftFileSize);

inline constexpr std::array<char16_t, 45> base45Alphabet = {
    u'0', u'1', u'2', u'3', u'4', u'5', u'6', u'7', u'8', u'9', u'A', u'B', u'C', u'D', u'E',
    u'F', u'G', u'H', u'I', u'J', u'K', u'L', u'M', u'N', u'O', u'P', u'Q', u'R', u'S', u'T',
    u'U', u'V', u'W', u'X', u'Y', u'Z', u' ', u'$', u'%', u'*', u'+', u'-', u'.', u'/', u':'};

// The tax as the form shows it (Label4, key m38).
inline QString taxOf(const FormAccess &form)
{
    return form.caption(QStringLiteral("Label4"));
}

// The untouched form's texts and choices, which a code leaves out.
inline const Draft &untouched()
{
    static const Draft draft = draftOf(MapForm());
    return draft;
}

} // namespace decl::code_p
