#include "pictures.h"

#include <objbase.h>
#include <wincodec.h>

#include <algorithm>
#include <array>
#include <memory>
#include <utility>
#include <vector>

#include "common/win_handles.h"
#include "draw.h"
#include "skin/pixels.h"

namespace dulib::pictures {

namespace {

// A COM interface pointer, released with its owner.
template <typename T>
class Com {
 public:
  Com() = default;
  ~Com() {
    if (p_) p_->Release();
  }
  Com(const Com&) = delete;
  Com& operator=(const Com&) = delete;
  T* operator->() const { return p_; }
  T* get() const { return p_; }
  T** put() { return &p_; }
  void** put_void() { return reinterpret_cast<void**>(&p_); }

 private:
  T* p_ = nullptr;
};

// COM on the calling thread for as long as the owner lives, balanced. A
// thread that already has COM (in either model) keeps it as it is.
class ComScope {
 public:
  ComScope() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ~ComScope() {
    if (SUCCEEDED(result_)) CoUninitialize();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;

 private:
  HRESULT result_;
};

struct Picture {
  skin::ImageLayout layout;
  int width = 0;
  int height = 0;
  // Premultiplied BGRA as decoded, in a DIB section AlphaBlend reads.
  common::GdiObject<HBITMAP> original;
  const uint32_t* bits = nullptr;
  // The pixels shifted for `shown`, made when a shift is first drawn.
  common::GdiObject<HBITMAP> shifted;
  skin::Adjustment shown;
};

struct Pictures {
  std::array<std::unique_ptr<Picture>, skin::kImagePartCount> parts;
  skin::Adjustment adjustment;
};

// The engine's pictures on its one thread.
Pictures& ThePictures() {
  static auto* pictures = new Pictures;
  return *pictures;
}

bool Same(const skin::Adjustment& a, const skin::Adjustment& b) {
  return a.hue == b.hue && a.saturation == b.saturation && a.brightness == b.brightness;
}

// A regular file's bytes. No link is followed: a picture is the file in
// the skin's folder itself, never what a reparse point leads to.
bool ReadPlainFile(const std::wstring& path, std::vector<BYTE>* bytes) {
  common::File file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  if (!file.ok() || GetFileType(file.get()) != FILE_TYPE_DISK) return false;
  BY_HANDLE_FILE_INFORMATION info;
  if (!GetFileInformationByHandle(file.get(), &info)) return false;
  if (info.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) {
    return false;
  }
  if (info.nFileSizeHigh || info.nFileSizeLow == 0 || info.nFileSizeLow > kMaxFileBytes) {
    return false;
  }
  bytes->resize(info.nFileSizeLow);
  DWORD read = 0;
  return ReadFile(file.get(), bytes->data(), info.nFileSizeLow, &read, nullptr) &&
         read == info.nFileSizeLow;
}

// A top-down 32-bit DIB section of the picture's size; null on failure.
HBITMAP MakeDib(int width, int height, uint32_t** bits) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* memory = nullptr;
  HBITMAP dib = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &memory, nullptr, 0);
  if (dib && !memory) {
    DeleteObject(dib);
    dib = nullptr;
  }
  *bits = static_cast<uint32_t*>(memory);
  return dib;
}

// Decodes a PNG into premultiplied BGRA. The size is checked from the
// header before any pixel is decoded, so a file claiming a huge picture
// costs nothing; `budget` is what the skin may still decode, in bytes.
bool Decode(IWICImagingFactory* factory, IClassFactory* png, std::vector<BYTE>& bytes,
            size_t budget, Picture* out) {
  Com<IWICStream> stream;
  Com<IWICBitmapDecoder> decoder;
  Com<IWICBitmapFrameDecode> frame;
  Com<IWICFormatConverter> converter;
  if (FAILED(factory->CreateStream(stream.put())) ||
      FAILED(stream->InitializeFromMemory(bytes.data(), DWORD(bytes.size()))) ||
      FAILED(png->CreateInstance(nullptr, __uuidof(IWICBitmapDecoder), decoder.put_void())) ||
      FAILED(decoder->Initialize(stream.get(), WICDecodeMetadataCacheOnDemand)) ||
      FAILED(decoder->GetFrame(0, frame.put()))) {
    return false;
  }
  UINT width = 0, height = 0;
  if (FAILED(frame->GetSize(&width, &height))) return false;
  if (width < 1 || height < 1 || width > UINT(kMaxSide) || height > UINT(kMaxSide)) return false;
  const size_t size = size_t(width) * height * 4;
  if (size > budget) return false;
  if (!skin::ImageFits(out->layout, int(width), int(height))) return false;
  if (FAILED(factory->CreateFormatConverter(converter.put())) ||
      FAILED(converter->Initialize(frame.get(), GUID_WICPixelFormat32bppPBGRA,
                                   WICBitmapDitherTypeNone, nullptr, 0,
                                   WICBitmapPaletteTypeCustom))) {
    return false;
  }
  UINT cw = 0, ch = 0;
  if (FAILED(converter->GetSize(&cw, &ch)) || cw != width || ch != height) return false;
  uint32_t* bits = nullptr;
  common::GdiObject<HBITMAP> dib(MakeDib(int(width), int(height), &bits));
  if (!dib.get() || FAILED(converter->CopyPixels(nullptr, width * 4, UINT(size),
                                                 reinterpret_cast<BYTE*>(bits)))) {
    return false;
  }
  out->width = int(width);
  out->height = int(height);
  out->original = std::move(dib);
  out->bits = bits;
  return true;
}

bool IsPlainFolder(const std::wstring& folder) {
  DWORD attributes = GetFileAttributesW(folder.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) &&
         !(attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

bool NoShift(const skin::Adjustment& a) {
  return skin::WrapHue(a.hue) == 0 && a.saturation == 0 && a.brightness == 0;
}

// The picture as drawn with the current adjustment: the decoded pixels
// themselves, or a shifted copy kept until the shift changes.
HBITMAP Prepare(Picture& picture, const skin::Adjustment& adjustment) {
  if (NoShift(adjustment)) {
    picture.shifted.reset();
    return picture.original.get();
  }
  if (picture.shifted.get() && Same(picture.shown, adjustment)) return picture.shifted.get();
  picture.shifted.reset();
  uint32_t* bits = nullptr;
  common::GdiObject<HBITMAP> dib(MakeDib(picture.width, picture.height, &bits));
  if (!dib.get()) return nullptr;
  GdiFlush();
  skin::ShiftPixels(picture.bits, bits, size_t(picture.width) * picture.height, adjustment);
  picture.shifted = std::move(dib);
  picture.shown = adjustment;
  return picture.shifted.get();
}

constexpr int kMaxRepeats = 1024;

void Blend(HDC dc, HDC source, const RECT& to, int sx, int sy, int sw, int sh) {
  int w = to.right - to.left, h = to.bottom - to.top;
  if (w <= 0 || h <= 0 || sw <= 0 || sh <= 0) return;
  BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  AlphaBlend(dc, to.left, to.top, w, h, source, sx, sy, sw, sh, blend);
}

// One piece of the grid: stretched over `to`, or repeated at its scaled
// size, the last repeat cut short.
void Piece(HDC dc, HDC source, const RECT& to, int sx, int sy, int sw, int sh, int step_x,
           int step_y, bool tile) {
  // A tiny tile over a large part would cost a blend per repeat: past
  // kMaxRepeats the piece is stretched instead.
  const int across = step_x > 0 ? (to.right - to.left + step_x - 1) / step_x : 0;
  const int down = step_y > 0 ? (to.bottom - to.top + step_y - 1) / step_y : 0;
  if (!tile || step_x <= 0 || step_y <= 0 || across * down > kMaxRepeats) {
    Blend(dc, source, to, sx, sy, sw, sh);
    return;
  }
  for (int y = to.top; y < to.bottom; y += step_y) {
    int dh = std::min(step_y, int(to.bottom) - y);
    int ch = std::max(1, MulDiv(sh, dh, step_y));
    for (int x = to.left; x < to.right; x += step_x) {
      int dw = std::min(step_x, int(to.right) - x);
      int cw = std::max(1, MulDiv(sw, dw, step_x));
      Blend(dc, source, {x, y, x + dw, y + dh}, sx, sy, cw, ch);
    }
  }
}

// Margins scaled with the display; where the target is smaller than two
// margins, both shrink in proportion.
void Fit(int* a, int* b, int room) {
  *a = draw::Scaled(*a);
  *b = draw::Scaled(*b);
  if (*a + *b > room && *a + *b > 0) {
    int total = *a + *b;
    *a = MulDiv(*a, room, total);
    *b = room - *a;
  }
}

}  // namespace

void Load(const std::wstring& she_path, const skin::Skin& skin) {
  Pictures& pictures = ThePictures();
  for (auto& part : pictures.parts) part.reset();
  if (skin.version < 2) return;
  bool any = false;
  for (const auto& image : skin.images) any |= image.has_value();
  if (!any) return;

  // The folder beside the skin file, named after it: "x.she" -> "x\".
  size_t slash = she_path.find_last_of(L"\\/");
  size_t dot = she_path.find_last_of(L'.');
  if (dot == std::wstring::npos || (slash != std::wstring::npos && dot < slash)) return;
  const std::wstring folder = she_path.substr(0, dot);
  if (!IsPlainFolder(folder)) return;

  ComScope com;
  Com<IWICImagingFactory> factory;
  if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                              __uuidof(IWICImagingFactory), factory.put_void()))) {
    return;
  }
  // The PNG decoder by its own class, looked up once for every picture:
  // asking the imaging factory for a decoder of the format instead makes
  // it read the registry entries of every decoder, for each picture.
  Com<IClassFactory> png;
  if (FAILED(CoGetClassObject(CLSID_WICPngDecoder, CLSCTX_INPROC_SERVER, nullptr,
                              __uuidof(IClassFactory), png.put_void()))) {
    return;
  }
  size_t budget = kMaxSkinBytes;
  for (size_t i = 0; i < skin::kImagePartCount; i++) {
    if (!skin.images[i]) continue;
    const skin::ImageLayout& layout = *skin.images[i];
    // The name was checked when the file was read: a bare file name.
    std::wstring path = folder + L'\\' + std::wstring(layout.file.begin(), layout.file.end());
    std::vector<BYTE> bytes;
    if (!ReadPlainFile(path, &bytes)) continue;
    auto picture = std::make_unique<Picture>();
    picture->layout = layout;
    if (!Decode(factory.get(), png.get(), bytes, budget, picture.get())) continue;
    budget -= size_t(picture->width) * picture->height * 4;
    pictures.parts[i] = std::move(picture);
  }
}

void SetAdjustment(const skin::Adjustment& adjustment) { ThePictures().adjustment = adjustment; }

bool Has(skin::ImagePart part) { return ThePictures().parts[size_t(part)] != nullptr; }

int Frames(skin::ImagePart part) {
  const auto& picture = ThePictures().parts[size_t(part)];
  return picture ? picture->layout.frames : 0;
}

bool Draw(HDC dc, skin::ImagePart part, int frame, const RECT& rc) {
  Pictures& pictures = ThePictures();
  Picture* picture = pictures.parts[size_t(part)].get();
  HBITMAP bitmap = picture ? Prepare(*picture, pictures.adjustment) : nullptr;
  if (!bitmap) return false;
  const skin::ImageLayout& layout = picture->layout;
  if (frame < 0 || frame >= layout.frames) frame = 0;
  const int fw = picture->width, fh = picture->height / layout.frames, fy = frame * fh;

  HDC source = CreateCompatibleDC(dc);
  if (!source) return false;
  HGDIOBJ old = SelectObject(source, bitmap);

  // Source columns and rows of the grid, and where they go.
  const int sx[4] = {0, layout.left, fw - layout.right, fw};
  const int sy[4] = {0, layout.top, fh - layout.bottom, fh};
  int left = layout.left, right = layout.right, top = layout.top, bottom = layout.bottom;
  Fit(&left, &right, rc.right - rc.left);
  Fit(&top, &bottom, rc.bottom - rc.top);
  const int dx[4] = {int(rc.left), int(rc.left) + left, int(rc.right) - right, int(rc.right)};
  const int dy[4] = {int(rc.top), int(rc.top) + top, int(rc.bottom) - bottom, int(rc.bottom)};
  for (int row = 0; row < 3; row++) {
    for (int col = 0; col < 3; col++) {
      const int sw = sx[col + 1] - sx[col], sh = sy[row + 1] - sy[row];
      const RECT to = {dx[col], dy[row], dx[col + 1], dy[row + 1]};
      // Corners keep their pixels; edges and centre stretch or repeat.
      const bool corner = col != 1 && row != 1;
      Piece(dc, source, to, sx[col], fy + sy[row], sw, sh, draw::Scaled(sw), draw::Scaled(sh),
            layout.tile && !corner);
    }
  }
  SelectObject(source, old);
  DeleteDC(source);
  return true;
}

}  // namespace dulib::pictures
