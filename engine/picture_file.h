// The folder of a picture skin and the picture files in it, read only when
// each is a plain file of that very name in that very folder: a skin comes
// from anyone, and a link in its folder could lead to any file or device.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/win_handles.h"
#include "skin/png_check.h"

namespace dulib::pictures {

class PictureFolder {
 public:
  // The folder beside a skin file, named after it: "Skin\x.she" gives
  // "Skin\x". A skin file without a base name (".she") has none.
  explicit PictureFolder(const std::wstring& she_path);
  PictureFolder(const PictureFolder&) = delete;
  PictureFolder& operator=(const PictureFolder&) = delete;

  // The folder is a plain folder (no link) of the name built for it; it
  // stays open while the pictures are read, so it cannot be swapped.
  bool ok() const { return folder_.ok() && !final_path_.empty(); }
  const std::wstring& path() const { return path_; }

  // The bytes of the picture `name` (a bare file name, checked when the
  // skin file was read): Used, Missing, NotPlainFile or FileTooLarge.
  skin::PictureVerdict Read(std::string_view name, std::vector<uint8_t>* bytes) const;

 private:
  std::wstring path_;
  common::File folder_;
  std::wstring final_path_;  // asked once: the folder is held open
};

}  // namespace dulib::pictures
