#include "common/plain_file.h"

#include "common/win_handles.h"

namespace common {

namespace {

constexpr DWORD kNotPlain = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT;

std::wstring Joined(std::wstring folder, const std::wstring& name) {
  if (folder.empty() || (folder.back() != L'\\' && folder.back() != L'/')) folder += L'\\';
  return folder + name;
}

DWORD AttributesOf(HANDLE handle) {
  FILE_ATTRIBUTE_TAG_INFO tag = {};
  if (!GetFileInformationByHandleEx(handle, FileAttributeTagInfo, &tag, sizeof tag)) {
    return INVALID_FILE_ATTRIBUTES;
  }
  return tag.FileAttributes;
}

HANDLE OpenFolder(const std::wstring& path) {
  return CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                     FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
}

}  // namespace

std::wstring FinalPath(HANDLE handle) {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetFinalPathNameByHandleW(handle, path.data(), static_cast<DWORD>(path.size()),
                                              FILE_NAME_NORMALIZED);
    if (n == 0) return {};
    if (n < path.size()) return path.substr(0, n);
    path.resize(n);
  }
}

bool SamePath(const std::wstring& a, const std::wstring& b) {
  return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                              static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

bool IsPlainFileIn(HANDLE handle, HANDLE parent, const std::wstring& name) {
  return IsPlainFileAt(handle, FinalPath(parent), name);
}

bool IsPlainFileAt(HANDLE handle, const std::wstring& parent_path, const std::wstring& name) {
  if (parent_path.empty()) return false;
  const DWORD attributes = AttributesOf(handle);
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & kNotPlain) ||
      GetFileType(handle) != FILE_TYPE_DISK) {
    return false;
  }
  const std::wstring final_path = FinalPath(handle);
  return !final_path.empty() && SamePath(final_path, Joined(parent_path, name));
}

HANDLE OpenPlainFolder(const std::wstring& path) {
  const size_t slash = path.find_last_of(L"\\/");
  if (slash == std::wstring::npos || slash + 1 == path.size()) return INVALID_HANDLE_VALUE;
  File parent(OpenFolder(path.substr(0, slash + 1)));
  HANDLE folder = OpenFolder(path);
  if (!parent.ok() || folder == INVALID_HANDLE_VALUE) {
    if (folder != INVALID_HANDLE_VALUE) CloseHandle(folder);
    return INVALID_HANDLE_VALUE;
  }
  const DWORD attributes = AttributesOf(folder);
  const std::wstring final_path = FinalPath(folder), parent_path = FinalPath(parent.get());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY) ||
      (attributes & FILE_ATTRIBUTE_REPARSE_POINT) || final_path.empty() ||
      !SamePath(final_path, Joined(parent_path, path.substr(slash + 1)))) {
    CloseHandle(folder);
    return INVALID_HANDLE_VALUE;
  }
  return folder;
}

}  // namespace common
