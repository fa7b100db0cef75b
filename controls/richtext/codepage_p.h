#pragma once

namespace rtf {

// The 8-bit code pages that rich text written on a Central European system uses.
enum class CodePage { Cp1250, Cp1252 };

// The character a byte stands for in the code page. Bytes the code page leaves undefined
// map to the code point of the same value, as the system's own conversion does.
char16_t decodeByte(unsigned char byte, CodePage page);

// The code page of an RTF \fcharset value (238 Central European, 0 Western); `fallback`
// for character sets we do not convert.
CodePage codePageForCharset(int charset, CodePage fallback);

// The code page of an RTF \ansicpg value; `fallback` for code pages we do not convert.
CodePage codePageForAnsiCpg(int cpg, CodePage fallback);

} // namespace rtf
