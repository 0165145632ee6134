// The font a form gives its controls, chosen so that every caption fits
// the place the layout gives its control.
#pragma once

#include <windows.h>

#include <utility>
#include <vector>

namespace toolkit {

class Control;

// A font the program made; deleted with the object.
class Font {
 public:
  Font() = default;
  explicit Font(HFONT handle) : handle_(handle) {}
  ~Font() {
    if (handle_) DeleteObject(handle_);
  }
  Font(Font&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  Font& operator=(Font&& other) noexcept {
    std::swap(handle_, other.handle_);
    return *this;
  }
  Font(const Font&) = delete;
  Font& operator=(const Font&) = delete;

  HFONT Get() const { return handle_; }

 private:
  HFONT handle_ = nullptr;
};

// The largest font in which the caption of every control given fits on one
// line in the room the control has for it. The first choice is the Song
// face at 9 points, the font of the Chinese Windows the layouts are made
// for, where the system has it; else the default GUI font's face from its
// own size down. Neither is made smaller than two thirds of its first size:
// when nothing fits, the default face at that smallest size is taken.
Font FittingFont(const std::vector<const Control*>& captioned);

}  // namespace toolkit
