// The one place where texts cross between wide strings and the system ANSI
// code page (936 on Chinese Windows): the program's texts on their way to
// the profile functions and the skin engine, and the engine's texts as its
// entry points receive them.
#pragma once

#include <string>
#include <string_view>

namespace common {

std::string ToAnsi(std::wstring_view text);
std::wstring FromAnsi(std::string_view bytes);

// The same trips through another code page (the skin checker's console
// and its UTF-8 lines).
std::string ToCodePage(std::wstring_view text, unsigned page);
std::wstring FromCodePage(std::string_view bytes, unsigned page);

// True when the text survives the trip to the ANSI code page and back,
// i.e. every character has a byte form there.
bool FitsAnsi(std::wstring_view text);

}  // namespace common
