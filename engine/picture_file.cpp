#include "picture_file.h"

#include "common/plain_file.h"

namespace dulib::pictures {

namespace {

std::wstring FolderOf(const std::wstring& she_path) {
  const size_t slash = she_path.find_last_of(L"\\/");
  const size_t dot = she_path.find_last_of(L'.');
  const size_t base = slash == std::wstring::npos ? 0 : slash + 1;
  if (dot == std::wstring::npos || dot <= base) return {};
  return she_path.substr(0, dot);
}

bool SizeAllowed(uint64_t size) { return size > 0 && size <= skin::kMaxPictureFileBytes; }

// What the folder's listing says, before the file is opened: opening a
// device or a pipe that a link leads to could already do harm or block.
skin::PictureVerdict Listed(const std::wstring& path) {
  WIN32_FIND_DATAW data;
  common::FindHandle find(path, &data);
  if (!find.ok()) return skin::PictureVerdict::Missing;
  if (data.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) {
    return skin::PictureVerdict::NotPlainFile;
  }
  const uint64_t size = uint64_t(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
  return SizeAllowed(size) ? skin::PictureVerdict::Used : skin::PictureVerdict::FileTooLarge;
}

}  // namespace

PictureFolder::PictureFolder(const std::wstring& she_path)
    : path_(FolderOf(she_path)),
      folder_(path_.empty() ? INVALID_HANDLE_VALUE : common::OpenPlainFolder(path_)),
      final_path_(folder_.ok() ? common::FinalPath(folder_.get()) : std::wstring()) {}

skin::PictureVerdict PictureFolder::Read(std::string_view name, std::vector<uint8_t>* bytes) const {
  bytes->clear();
  if (!ok()) return skin::PictureVerdict::Missing;
  const std::wstring wide_name(name.begin(), name.end());  // ASCII only
  const std::wstring path = path_ + L'\\' + wide_name;
  const skin::PictureVerdict listed = Listed(path);
  if (listed != skin::PictureVerdict::Used) return listed;

  common::File file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  if (!file.ok()) return skin::PictureVerdict::Missing;
  if (!common::IsPlainFileAt(file.get(), final_path_, wide_name)) {
    return skin::PictureVerdict::NotPlainFile;
  }
  LARGE_INTEGER size;
  if (!GetFileSizeEx(file.get(), &size) || !SizeAllowed(uint64_t(size.QuadPart))) {
    return skin::PictureVerdict::FileTooLarge;
  }
  bytes->resize(size_t(size.QuadPart));
  DWORD read = 0;
  if (!ReadFile(file.get(), bytes->data(), DWORD(bytes->size()), &read, nullptr) ||
      read != bytes->size()) {
    bytes->clear();
    return skin::PictureVerdict::Missing;
  }
  return skin::PictureVerdict::Used;
}

}  // namespace dulib::pictures
