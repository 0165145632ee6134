#include "toolkit/font.h"

#include <cstdlib>
#include <string>

#include "toolkit/controls.h"

namespace toolkit {
namespace {

// The Song face's names: the Chinese one that Chinese Windows lists, then
// the English one, then those of its fixed-pitch sibling.
constexpr const wchar_t* kSongFaces[] = {L"宋体", L"SimSun", L"新宋体", L"NSimSun"};

class ScreenDc {
 public:
  ScreenDc() : dc_(GetDC(nullptr)) {}
  ~ScreenDc() { ReleaseDC(nullptr, dc_); }
  ScreenDc(const ScreenDc&) = delete;
  ScreenDc& operator=(const ScreenDc&) = delete;
  HDC Get() const { return dc_; }

 private:
  HDC dc_;
};

int CALLBACK NoteFace(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

bool HasFace(HDC dc, const wchar_t* face) {
  LOGFONTW wanted = {};
  wanted.lfCharSet = DEFAULT_CHARSET;
  lstrcpynW(wanted.lfFaceName, face, LF_FACESIZE);
  bool found = false;
  EnumFontFamiliesExW(dc, &wanted, NoteFace, reinterpret_cast<LPARAM>(&found), 0);
  return found;
}

// Measured as the controls draw their captions: "&" marks an access key.
bool AllFit(HDC dc, HFONT font, const std::vector<const Control*>& captioned) {
  const HGDIOBJ old = SelectObject(dc, font);
  bool fit = true;
  for (const Control* control : captioned) {
    const std::wstring caption = control->Text();
    RECT extent = {};
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &extent,
              DT_CALCRECT | DT_SINGLELINE);
    if (extent.right > control->CaptionRoom()) fit = false;
  }
  SelectObject(dc, old);
  return fit;
}

}  // namespace

Font FittingFont(const std::vector<const Control*>& captioned) {
  ScreenDc dc;
  LOGFONTW defaultLook = {};
  GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof defaultLook, &defaultLook);
  const LONG ninePoints = MulDiv(9, GetDeviceCaps(dc.Get(), LOGPIXELSY), 72);
  if (defaultLook.lfHeight == 0) defaultLook.lfHeight = -ninePoints;

  std::vector<LOGFONTW> choices;
  for (const wchar_t* face : kSongFaces) {
    if (!HasFace(dc.Get(), face)) continue;
    LOGFONTW song = defaultLook;
    lstrcpynW(song.lfFaceName, face, LF_FACESIZE);
    song.lfHeight = -ninePoints;  // the character height, as a point size gives it
    // At this size Windows draws the Song face from its bitmaps, in solid
    // pixels; smoothed outlines of it come out thin and grey.
    song.lfQuality = NONANTIALIASED_QUALITY;
    choices.push_back(song);
    break;
  }
  choices.push_back(defaultLook);

  LOGFONTW smallest = defaultLook;
  for (LOGFONTW look : choices) {
    // A negative height is the character height, a positive one the cell
    // height; either way smaller in magnitude is smaller.
    const LONG sign = look.lfHeight < 0 ? -1 : 1;
    const LONG largest = std::labs(look.lfHeight);
    for (LONG height = largest; height * 3 >= largest * 2; --height) {
      look.lfHeight = sign * height;
      Font font(CreateFontIndirectW(&look));
      if (font.Get() && AllFit(dc.Get(), font.Get(), captioned)) return font;
      smallest = look;
    }
  }
  return Font(CreateFontIndirectW(&smallest));
}

}  // namespace toolkit
