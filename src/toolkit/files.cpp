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

bool MarkedReadOnly(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
}

TextOutput::TextOutput(const std::wstring& path) {
  if (MarkedReadOnly(path)) return;
  file_ = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                      FILE_ATTRIBUTE_NORMAL, nullptr);
}

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

SideCopy::SideCopy(const std::wstring& original)
    : original_(original),
      path_(original + L"." + std::to_wstring(GetCurrentProcessId()) + L".tmp") {
  // A copy left behind by an earlier run that had the same process id.
  Remove();
  if (GetFileAttributesW(path_.c_str()) != INVALID_FILE_ATTRIBUTES) return;
  if (CopyFileW(original_.c_str(), path_.c_str(), TRUE)) {
    ready_ = true;
  } else if (GetLastError() == ERROR_FILE_NOT_FOUND) {
    // No file yet: the copy starts as no file too, unless the original
    // merely could not be read.
    ready_ = GetFileAttributesW(original_.c_str()) == INVALID_FILE_ATTRIBUTES &&
             GetLastError() == ERROR_FILE_NOT_FOUND;
  }
}

SideCopy::~SideCopy() {
  if (!moved_) Remove();
}

void SideCopy::Remove() {
  SetFileAttributesW(path_.c_str(), FILE_ATTRIBUTE_NORMAL);
  DeleteFileW(path_.c_str());
}

bool SideCopy::ReplaceOriginal() {
  if (!ready_ || moved_) return false;
  // The bytes must be on the disk before the name points at them, or a
  // power cut right after the rename could leave an empty file.
  HANDLE file = CreateFileW(path_.c_str(), GENERIC_WRITE,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  const bool flushed = FlushFileBuffers(file) != FALSE;
  CloseHandle(file);
  if (!flushed) return false;
  // A file that another program holds open (a virus scanner, a backup, an
  // editor) cannot be replaced; such holds are often brief, so try again a
  // few times before leaving the file as it is.
  for (int attempt = 0; attempt < 5 && !moved_; ++attempt) {
    if (attempt) Sleep(20);
    moved_ = MoveFileExW(path_.c_str(), original_.c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
    const DWORD error = GetLastError();
    if (!moved_ && error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION) break;
  }
  return moved_;
}

}  // namespace toolkit
