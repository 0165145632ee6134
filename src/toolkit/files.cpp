#include "toolkit/files.h"

#include "common/ansi.h"
#include "common/plain_file.h"
#include "common/win_handles.h"
#include "rules/stale_copy.h"

namespace toolkit {
namespace {

constexpr DWORD kNotNormal =
    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY;

// What a copy made by SideCopy never is: removing it could reach through a
// link or take a folder that someone else made.
constexpr DWORD kNotPlainFile = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT;

// What the system says of the process with this id. Only an id that
// names no process at all (or a process that has ended) is gone: one we
// may not look at, or whose wait fails, cannot be told.
rules::ProcessAnswer AskProcess(uint32_t id) {
  common::File process(OpenProcess(SYNCHRONIZE, FALSE, id));
  if (!process.ok()) {
    return GetLastError() == ERROR_INVALID_PARAMETER ? rules::ProcessAnswer::kGone
                                                     : rules::ProcessAnswer::kCannotTell;
  }
  switch (WaitForSingleObject(process.get(), 0)) {
    case WAIT_TIMEOUT:
      return rules::ProcessAnswer::kRunning;
    case WAIT_OBJECT_0:
      return rules::ProcessAnswer::kGone;
    default:
      return rules::ProcessAnswer::kCannotTell;
  }
}

// The folder part of a path, with its final separator ("D:\\" for a file
// in the root of D:).
std::wstring FolderOf(const std::wstring& path) {
  const size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? L".\\" : path.substr(0, slash + 1);
}

// Removes the file at `path` (a name in `folder`) only when it is a plain
// file of that very name: no folder, and no link, which Windows marks as a
// reparse point and Wine shows as a plain file whose final path is its
// target's (removing a Unix link by name there removes the target). The
// file is checked and removed through one handle, so it cannot be swapped
// in between.
bool RemovePlainFile(const std::wstring& folder, const std::wstring& path) {
  common::File file(CreateFileW(path.c_str(), DELETE | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  common::File parent(CreateFileW(folder.c_str(), 0,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  const std::wstring name = path.substr(path.find_last_of(L"\\/") + 1);
  FILE_ATTRIBUTE_TAG_INFO tag = {};
  if (!file.ok() || !parent.ok() || !common::IsPlainFileIn(file.get(), parent.get(), name) ||
      !GetFileInformationByHandleEx(file.get(), FileAttributeTagInfo, &tag, sizeof tag)) {
    return false;
  }
  if (tag.FileAttributes & FILE_ATTRIBUTE_READONLY) {
    FILE_BASIC_INFO basic = {};
    basic.FileAttributes = FILE_ATTRIBUTE_NORMAL;
    SetFileInformationByHandle(file.get(), FileBasicInfo, &basic, sizeof basic);
  }
  FILE_DISPOSITION_INFO dispose = {TRUE};
  return SetFileInformationByHandle(file.get(), FileDispositionInfo, &dispose, sizeof dispose) !=
         FALSE;
}

// Copies left behind by runs killed in the middle of a change would pile up
// (a process id seldom comes back), so each new copy clears them away.
void RemoveStaleCopies(const std::wstring& original) {
  const std::wstring folder = FolderOf(original);
  const std::wstring fileName = original.substr(original.find_last_of(L"\\/") + 1);
  WIN32_FIND_DATAW data;
  common::FindHandle find(original + L".*.tmp", &data);
  if (!find.ok()) return;
  do {
    if (data.dwFileAttributes & kNotPlainFile) continue;
    if (rules::IsStaleCopy(data.cFileName, fileName, GetCurrentProcessId(), AskProcess)) {
      RemovePlainFile(folder, folder + data.cFileName);
    }
  } while (find.next(&data));
}

}  // namespace

bool ReadWholeFile(const std::wstring& path, std::string* bytes) {
  bytes->clear();
  common::File file(CreateFileW(path.c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, 0, nullptr));
  if (!file.ok()) return false;
  char buffer[65536];
  DWORD n = 0;
  while (ReadFile(file.get(), buffer, sizeof buffer, &n, nullptr)) {
    if (n == 0) return true;
    bytes->append(buffer, n);
  }
  return false;
}

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
  RemoveStaleCopies(original_);
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

void SideCopy::Remove() { RemovePlainFile(FolderOf(path_), path_); }

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
