// How a value read from a settings file becomes the text handed back:
// the dangling half of a two-byte character is dropped and the text is
// trimmed. Pure C++: no Windows headers, so they are unit-tested natively.
#pragma once

#include <string>
#include <string_view>

namespace rules {

// The profile functions fill a 4096-byte buffer; the value is at most one
// byte shorter so that the NUL always fits.
constexpr size_t kIniBufferSize = 4096;

// When the value in front of the first NUL ends in a lead byte whose trail
// byte was cut off, removes that lone lead byte so that no broken character
// is handed back. Characters are scanned from the start, since a byte's
// role in a double-byte code page depends on everything before it.
void DropDanglingLeadByte(std::string& buffer, bool (*isLeadByte)(unsigned char));

// The text of a whole buffer (value, NUL, then the spaces that filled it):
// spaces removed at both ends, then a final NUL, then spaces again.
std::wstring TrimIniText(std::wstring text);

// The part of a buffer in front of its first NUL, for reading a number.
std::wstring_view BeforeNul(std::wstring_view text);

// Whether a text can stand as a section, key or value on its line of the
// file: a line break or a NUL in it would split the line and create or
// overwrite other entries.
bool FitsOnIniLine(std::wstring_view text);

}  // namespace rules
