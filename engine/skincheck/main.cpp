// skincheck.exe: says what the skin engine will do with skin files, for
// the people who make them. "skincheck Skin\Glaze.she" or "skincheck
// Skin\*.she": one line per finding, a verdict per file; the exit code is
// the worst verdict (0 loads, 1 loads with changes, 2 refused or unread).
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "common/ansi.h"
#include "common/win_handles.h"
#include "picture_file.h"
#include "skin/she_file.h"
#include "skincheck/check.h"

namespace {

constexpr int kUnread = 2;  // a file that cannot be read loads nothing

std::string ToUtf8(std::wstring_view text) { return common::ToCodePage(text, CP_UTF8); }

// A line to the console as text, whatever its code page; to a file or a
// pipe in the console's code page (UTF-8 where that is 65001).
void Print(std::string_view utf8) {
  const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  const std::wstring wide = common::FromCodePage(utf8, CP_UTF8) + L"\r\n";
  DWORD mode = 0, written = 0;
  if (GetConsoleMode(out, &mode)) {
    WriteConsoleW(out, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
    return;
  }
  UINT page = GetConsoleOutputCP();
  if (page == 0) page = CP_UTF8;  // no console at all
  const std::string bytes = common::ToCodePage(wide, page);
  WriteFile(out, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

// The file's bytes, one more than the engine reads at most, so that the
// parser itself refuses a file too large. False when it cannot be opened.
bool ReadSkinFile(const std::wstring& path, std::string* text) {
  common::File file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.ok()) return false;
  text->assign(skin::kMaxSkinFileSize + 1, '\0');
  DWORD got = 0, total = 0;
  while (total < text->size() &&
         ReadFile(file.get(), text->data() + total, static_cast<DWORD>(text->size() - total), &got,
                  nullptr) &&
         got > 0) {
    total += got;
  }
  text->resize(total);
  return true;
}

// The folder of pictures is opened by its full path, as the engine gets it.
std::wstring FullPath(const std::wstring& path) {
  const DWORD n = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  std::wstring full(n, L'\0');
  const DWORD got = GetFullPathNameW(path.c_str(), n, full.data(), nullptr);
  if (got == 0 || got >= n) return path;
  full.resize(got);
  return full;
}

int CheckFile(const std::wstring& path) {
  const std::string label = ToUtf8(path);
  std::string text;
  if (!ReadSkinFile(path, &text)) {
    Print(label + ": cannot be read");
    Print(label + ": refused");
    return kUnread;
  }
  // The pictures read as the engine reads them: plain files of their own
  // names in the skin's plain folder.
  const dulib::pictures::PictureFolder folder(FullPath(path));
  const skincheck::Result result = skincheck::CheckSkin(
      label, text,
      [&](std::string_view name, std::vector<uint8_t>* bytes) { return folder.Read(name, bytes); });
  for (const std::string& line : result.lines) Print(line);
  return skincheck::ExitCode(result.verdict);
}

// The files a pattern names ("Skin\*.she"), in the order of their names;
// an argument without * or ? names itself.
std::vector<std::wstring> Expand(const std::wstring& argument) {
  if (argument.find_first_of(L"*?") == std::wstring::npos) return {argument};
  const size_t slash = argument.find_last_of(L"\\/:");
  const std::wstring folder = slash == std::wstring::npos ? L"" : argument.substr(0, slash + 1);
  std::vector<std::wstring> files;
  WIN32_FIND_DATAW data;
  common::FindHandle find(argument, &data);
  for (bool more = find.ok(); more; more = find.next(&data)) {
    if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
      files.push_back(folder + data.cFileName);
  }
  std::sort(files.begin(), files.end());
  return files;
}

}  // namespace

// The C++ runtime's own handler for an unexpected end prints the failing
// exception's name, and its name demangler alone is a sixth of this
// program; the checker has nothing to say there but that it ended.
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    Print("usage: skincheck <file.she | pattern>...");
    return kUnread;
  }
  int worst = 0;
  for (int i = 1; i < argc; i++) {
    const std::vector<std::wstring> files = Expand(argv[i]);
    if (files.empty()) {
      Print(ToUtf8(argv[i]) + ": no such file");
      worst = kUnread;
    }
    for (const std::wstring& file : files) worst = std::max(worst, CheckFile(file));
  }
  return worst;
}
