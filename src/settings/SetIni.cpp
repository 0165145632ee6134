#include "settings/SetIni.h"

#include <windows.h>

#include "common/ansi.h"
#include "rules/ini_value.h"
#include "rules/number.h"

namespace SetIni {
namespace {

std::wstring ValueText(const IniValue& value) {
  if (const double* number = std::get_if<double>(&value)) return rules::NumberToText(*number);
  return std::get<std::wstring>(value);
}

bool IsLeadByte(unsigned char byte) { return IsDBCSLeadByte(byte) != FALSE; }

// The file path travels in the ANSI code page. A path with characters that
// code page lacks would come out as another path (or with "?"), so such a
// file is left alone rather than some other file touched.
bool Reachable(const std::wstring& fileName) {
  return !fileName.empty() && common::FitsAnsi(fileName);
}

// A file marked read-only keeps its content whoever runs the program;
// accounts that bypass the mark (root under Wine) would otherwise write it.
bool MarkedReadOnly(const std::wstring& fileName) {
  const DWORD attributes = GetFileAttributesW(fileName.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
}

// The stored value (or the default) as the profile function leaves it in
// a buffer of spaces, converted whole: value, NUL, then the spaces.
std::wstring ProfileBuffer(const std::wstring& fileName, const std::wstring& section,
                           const std::wstring& key, const std::wstring& defaultText) {
  std::string buffer(rules::kIniBufferSize, ' ');
  if (Reachable(fileName)) {
    GetPrivateProfileStringA(common::ToAnsi(section).c_str(), common::ToAnsi(key).c_str(),
                             common::ToAnsi(defaultText).c_str(), buffer.data(),
                             static_cast<DWORD>(buffer.size()), common::ToAnsi(fileName).c_str());
  } else {
    // Unreachable file: what the profile function gives for a missing one.
    const std::string bytes = common::ToAnsi(defaultText).substr(0, buffer.size() - 1);
    buffer.replace(0, bytes.size(), bytes);
    buffer[bytes.size()] = '\0';
  }
  // A value cut at 4095 bytes may end in half a character.
  rules::DropDanglingLeadByte(buffer, IsLeadByte);
  return common::FromAnsi(buffer);
}

}  // namespace

IniValue ReadIni(std::wstring FileName, std::wstring Section, std::wstring Key,
                 const IniValue& DefaultValue, bool AsNumber) {
  // Reading never fails toward the caller; the only failure left here is
  // running out of memory, which gives the empty value.
  try {
    const std::wstring text = ProfileBuffer(FileName, Section, Key, ValueText(DefaultValue));
    if (AsNumber) return rules::LeadingNumber(rules::BeforeNul(text));
    return rules::TrimIniText(text);
  } catch (...) {
    if (AsNumber) return 0.0;
    return std::wstring();
  }
}

void WriteIni(std::wstring FileName, std::wstring Section, std::wstring Key,
              const IniValue& Value) {
  const std::wstring text = ValueText(Value);
  // A line break would split the entry and plant other lines in the file.
  if (!Reachable(FileName) || MarkedReadOnly(FileName) || !rules::FitsOnIniLine(Section) ||
      !rules::FitsOnIniLine(Key) || !rules::FitsOnIniLine(text)) {
    return;
  }
  WritePrivateProfileStringA(common::ToAnsi(Section).c_str(), common::ToAnsi(Key).c_str(),
                             common::ToAnsi(text).c_str(), common::ToAnsi(FileName).c_str());
}

}  // namespace SetIni
