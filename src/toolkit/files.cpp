#include "toolkit/files.h"

#include "common/ansi.h"
#include "common/win_handles.h"

namespace toolkit {
namespace {

constexpr DWORD kNotNormal =
    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY;

}  // namespace

std::vector<std::wstring> ListFiles(const std::wstring& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW data;
  common::FindHandle find(folder + L"*", &data);
  if (!find.ok()) return names;
  do {
    if (!(data.dwFileAttributes & kNotNormal)) names.push_back(data.cFileName);
  } while (find.next(&data));
  return names;
}

bool FileExists(const std::wstring& path) {
  if (path.empty() || path.find_first_of(L"*?") != std::wstring::npos) return false;
  WIN32_FIND_DATAW data;
  common::FindHandle find(path, &data);
  return find.ok() && !(data.dwFileAttributes & kNotNormal);
}

TextOutput::TextOutput(const std::wstring& path)
    : file_(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                        FILE_ATTRIBUTE_NORMAL, nullptr)) {}

TextOutput::~TextOutput() { Close(); }

void TextOutput::WriteLine(const std::wstring& line) {
  if (IsOpen()) pending_ += common::ToAnsi(line) + "\r\n";
}

bool TextOutput::Close() {
  if (!IsOpen()) return false;
  DWORD written = 0;
  const bool ok =
      WriteFile(file_, pending_.data(), static_cast<DWORD>(pending_.size()), &written, nullptr) &&
      written == pending_.size();
  CloseHandle(file_);
  file_ = INVALID_HANDLE_VALUE;
  pending_.clear();
  return ok;
}

}  // namespace toolkit
