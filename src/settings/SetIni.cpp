#include "settings/SetIni.h"

#include <windows.h>

#include <utility>

#include "common/ansi.h"
#include "rules/ini_rewrite.h"
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

// A settings file's text as the profile functions read it: UTF-8 or UTF-16
// after the mark that says so, otherwise the ANSI code page.
std::wstring FileText(const std::string& bytes) {
  if (bytes.rfind("\xEF\xBB\xBF", 0) == 0) {
    const int n = MultiByteToWideChar(CP_UTF8, 0, bytes.data() + 3,
                                      static_cast<int>(bytes.size() - 3), nullptr, 0);
    std::wstring text(n, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, bytes.data() + 3, static_cast<int>(bytes.size() - 3),
                        text.data(), n);
    return text;
  }
  const bool little = bytes.rfind("\xFF\xFE", 0) == 0, big = bytes.rfind("\xFE\xFF", 0) == 0;
  if (little || big) {
    std::wstring text;
    for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
      const unsigned char a = bytes[i], b = bytes[i + 1];
      text += static_cast<wchar_t>(little ? a | b << 8 : a << 8 | b);
    }
    return text;
  }
  return common::FromAnsi(bytes);
}

// The profile functions rewrite the copy without reporting a short write
// (a full disk), so the copy counts as whole only when it still holds all
// that the file held, with the keys changed.
bool CopyIsWhole(const std::string& before, const std::string& after,
                 const std::vector<rules::WrittenKey>& keys) {
  const std::wstring now = FileText(after);
  if (rules::HoldsAllAfterWrite(FileText(before), now, keys)) return true;
  // Rewritten, a byte sequence that is no character of the code page comes
  // back as the character it was read as.
  const std::wstring read = FileText(before);
  return read == common::FromAnsi(before) &&
         rules::HoldsAllAfterWrite(common::FromAnsi(common::ToAnsi(read)), now, keys);
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
  std::string before;
  if (!toolkit::ReadWholeFile(copy.Path(), &before) &&
      GetFileAttributesW(copy.Path().c_str()) != INVALID_FILE_ATTRIBUTES) {
    return;
  }
  const std::string copyPath = common::ToAnsi(copy.Path());
  bool written = true;
  std::vector<rules::WrittenKey> keys;
  for (const Line& line : lines) {
    written = written && WritePrivateProfileStringA(line.section.c_str(), line.key.c_str(),
                                                    line.value.c_str(), copyPath.c_str());
    keys.push_back(
        {common::FromAnsi(line.section), common::FromAnsi(line.key), common::FromAnsi(line.value)});
  }
  // Wine keeps the files it wrote in memory, and a later Save of this run
  // would find the copy's old content there, also when config.ini has gone
  // in between: have it write the copy out and forget it.
  WritePrivateProfileStringA(nullptr, nullptr, nullptr, copyPath.c_str());
  std::string after;
  if (written && toolkit::ReadWholeFile(copy.Path(), &after) && CopyIsWhole(before, after, keys)) {
    copy.ReplaceOriginal();
  }
}

}  // namespace SetIni
