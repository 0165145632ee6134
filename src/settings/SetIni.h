// Single values of an INI file, read and written through the platform's
// profile functions on every call; nothing is kept between calls.
#pragma once

#include <string>
#include <variant>
#include <vector>

namespace SetIni {

// A value of the settings file: a text or a number.
using IniValue = std::variant<std::wstring, double>;

// The value of Key in Section of the file FileName (a full path), trimmed
// of spaces, at most 4095 bytes of it. When the file, section or key is
// missing, the default (a number as NumberToText writes it) is returned.
// With AsNumber the result is the leading-number value of that text.
// Never fails toward its caller.
IniValue ReadIni(std::wstring FileName, std::wstring Section, std::wstring Key,
                 const IniValue& DefaultValue = std::wstring(), bool AsNumber = false);

// Sets Key in Section to Value (a number as NumberToText writes it),
// creating the key, section and file as needed. Reports nothing.
void WriteIni(std::wstring FileName, std::wstring Section, std::wstring Key, const IniValue& Value);

// One key of WriteIniEntries.
struct IniEntry {
  std::wstring Section;
  std::wstring Key;
  IniValue Value;
};

// Sets every entry as WriteIni does, in one step: the entries are written
// into a copy of the file, which then takes the file's place, so that the
// file holds either all of them or none and never a half-written state.
// The copy takes the file's place only when it reads back with every entry
// and with all that the file held (a full disk leaves it short); otherwise
// the file stays as it was. An entry whose text would split its line is
// passed over; a file marked read-only is left alone. Reports nothing.
void WriteIniEntries(const std::wstring& FileName, const std::vector<IniEntry>& Entries);

}  // namespace SetIni
