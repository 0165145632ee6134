#include "settings/SetIni.h"

#include <windows.h>

#include <utility>

#include "common/ansi.h"
#include "rules/ini_value.h"
#include "rules/number.h"
#include "toolkit/files.h"

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
  WriteIniEntries(FileName, {{std::move(Section), std::move(Key), Value}});
}

void WriteIniEntries(const std::wstring& FileName, const std::vector<IniEntry>& Entries) {
  if (!Reachable(FileName) || toolkit::MarkedReadOnly(FileName)) return;
  struct Line {
    std::string section, key, value;
  };
  std::vector<Line> lines;
  for (const IniEntry& entry : Entries) {
    const std::wstring text = ValueText(entry.Value);
    // A line break would split the entry and plant other lines in the file.
    if (!rules::FitsOnIniLine(entry.Section) || !rules::FitsOnIniLine(entry.Key) ||
        !rules::FitsOnIniLine(text)) {
      continue;
    }
    lines.push_back(
        {common::ToAnsi(entry.Section), common::ToAnsi(entry.Key), common::ToAnsi(text)});
  }
  if (lines.empty()) return;

  // The profile functions rewrite a file in place; cut short, that would
  // leave the file half written. They work on a copy instead.
  toolkit::SideCopy copy(FileName);
  if (!copy.Ready()) return;
  const std::string copyPath = common::ToAnsi(copy.Path());
  bool written = true;
  for (const Line& line : lines) {
    written = written && WritePrivateProfileStringA(line.section.c_str(), line.key.c_str(),
                                                    line.value.c_str(), copyPath.c_str());
  }
  // Wine keeps the last file it wrote in memory: have it write that out
  // and forget it before the copy changes its name.
  WritePrivateProfileStringA(nullptr, nullptr, nullptr, copyPath.c_str());
  if (written) copy.ReplaceOriginal();
}

}  // namespace SetIni
