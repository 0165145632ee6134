#include "pictures.h"

#include <objbase.h>
#include <wincodec.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "common/win_handles.h"
#include "draw.h"
#include "picture_file.h"
#include "skin/pixels.h"
#include "skin/png_check.h"

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

// One picture file's pixels, shared by every key that names the file.
// Checked when the skin is attached; decoded when a part first needs it,
// so the pictures of windows not yet shown cost nothing at start.
struct Decoded {
  std::vector<uint8_t> file;  // the checked bytes, until decoded
  skin::PngInfo info;
  bool tried = false;  // decoding was tried: `original` says how it went
  // Premultiplied BGRA as decoded, in a DIB section AlphaBlend reads.
  common::GdiObject<HBITMAP> original;
  const uint32_t* bits = nullptr;
  // The pixels shifted for `shown`, made when a shift is first drawn.
  common::GdiObject<HBITMAP> shifted;
  skin::Adjustment shown;
};

struct Part {
  skin::ImageLayout layout;
  std::shared_ptr<Decoded> picture;
};

// The platform's imaging factory and its PNG decoder's class, taken from
// the system's imaging component when the first picture is decoded and
// kept for the thread: making them is much of what pictures cost. They are
// asked of the component itself (its DllGetClassObject), not through the
// COM registry, which would read the registry entries of each class, and
// for a decoder found by its format, of every decoder, each time.
class Decoder {
 public:
  Decoder() = default;
  ~Decoder() = default;  // the thread's pictures live until the process ends
  Decoder(const Decoder&) = delete;
  Decoder& operator=(const Decoder&) = delete;

  bool Ready() {
    if (png_.get()) return true;
    if (tried_) return false;
    tried_ = true;
    com_ = std::make_unique<ComScope>();
    wchar_t system[MAX_PATH];
    const UINT n = GetSystemDirectoryW(system, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return false;
    module_ = LoadLibraryW((std::wstring(system, n) + L"\\windowscodecs.dll").c_str());
    using GetClassObject = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);
    auto get = module_ ? reinterpret_cast<GetClassObject>(
                             reinterpret_cast<void*>(GetProcAddress(module_, "DllGetClassObject")))
                       : nullptr;
    Com<IClassFactory> factories;
    return get &&
           SUCCEEDED(get(CLSID_WICImagingFactory, __uuidof(IClassFactory), factories.put_void())) &&
           SUCCEEDED(factories->CreateInstance(nullptr, __uuidof(IWICImagingFactory),
                                               factory_.put_void())) &&
           SUCCEEDED(get(CLSID_WICPngDecoder, __uuidof(IClassFactory), png_.put_void()));
  }
  IWICImagingFactory* factory() const { return factory_.get(); }
  IClassFactory* png() const { return png_.get(); }

 private:
  bool tried_ = false;
  std::unique_ptr<ComScope> com_;
  HMODULE module_ = nullptr;  // kept loaded: the objects below live in it
  Com<IWICImagingFactory> factory_;
  Com<IClassFactory> png_;
};

// A memory DC to select pictures into, made once: under Wine each new DC
// costs the display server requests, a dozen for every paint of a frame.
class SourceDc {
 public:
  SourceDc() = default;
  ~SourceDc() {
    if (dc_) DeleteDC(dc_);
  }
  SourceDc(const SourceDc&) = delete;
  SourceDc& operator=(const SourceDc&) = delete;
  HDC get() {
    if (!dc_) dc_ = CreateCompatibleDC(nullptr);
    return dc_;
  }

 private:
  HDC dc_ = nullptr;
};

// A small part's grid composed once at its size, then drawn with one
// blend: a frame repaints its caption buttons, nine pieces each, on every
// resize. The pieces do not overlap and are blended over nothing, so the
// composed pixels are the pieces' own and drawing them gives the same
// pixels as drawing the pieces.
struct Composed {
  skin::ImagePart part;
  int frame, width, height, dpi;
  common::GdiObject<HBITMAP> bitmap;
};
constexpr int kMaxComposedPixels = 64 * 64;  // caption buttons up to 144 DPI
constexpr size_t kMaxComposed = 32;          // a few states of a few parts

struct Pictures {
  std::array<std::optional<Part>, skin::kImagePartCount> parts;
  skin::Adjustment adjustment;
  Decoder decoder;
  SourceDc source;
  SourceDc target;  // where a grid is composed
  std::vector<Composed> composed;
};

// The engine's pictures on its one thread.
Pictures& ThePictures() {
  static auto* pictures = new Pictures;
  return *pictures;
}

bool Same(const skin::Adjustment& a, const skin::Adjustment& b) {
  return a.hue == b.hue && a.saturation == b.saturation && a.brightness == b.brightness;
}

std::string LowerAscii(std::string s) {
  for (char& c : s) {
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  }
  return s;
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

// Decodes a file our own check passed into premultiplied BGRA. The
// platform's decoder sees only such a file, whose size is known (each side
// at most 2048 pixels), and must agree with the header we read.
bool Decode(Decoder& decoder, Decoded* out) {
  const int width = out->info.width, height = out->info.height;
  Com<IWICStream> stream;
  Com<IWICBitmapDecoder> png;
  Com<IWICBitmapFrameDecode> frame;
  Com<IWICFormatConverter> converter;
  if (!decoder.Ready() || FAILED(decoder.factory()->CreateStream(stream.put())) ||
      FAILED(stream->InitializeFromMemory(out->file.data(), DWORD(out->file.size()))) ||
      FAILED(decoder.png()->CreateInstance(nullptr, __uuidof(IWICBitmapDecoder), png.put_void())) ||
      FAILED(png->Initialize(stream.get(), WICDecodeMetadataCacheOnDemand)) ||
      FAILED(png->GetFrame(0, frame.put()))) {
    return false;
  }
  UINT w = 0, h = 0, cw = 0, ch = 0;
  if (FAILED(frame->GetSize(&w, &h)) || w != UINT(width) || h != UINT(height) ||
      FAILED(decoder.factory()->CreateFormatConverter(converter.put())) ||
      FAILED(converter->Initialize(frame.get(), GUID_WICPixelFormat32bppPBGRA,
                                   WICBitmapDitherTypeNone, nullptr, 0,
                                   WICBitmapPaletteTypeCustom)) ||
      FAILED(converter->GetSize(&cw, &ch)) || cw != w || ch != h) {
    return false;
  }
  uint32_t* bits = nullptr;
  common::GdiObject<HBITMAP> dib(MakeDib(width, height, &bits));
  const UINT stride = UINT(width) * 4;
  if (!dib.get() || FAILED(converter->CopyPixels(nullptr, stride, stride * UINT(height),
                                                 reinterpret_cast<BYTE*>(bits)))) {
    return false;
  }
  out->original = std::move(dib);
  out->bits = bits;
  return true;
}

// The part's picture, decoded at the first call; null when it has none or
// its file would not decode.
Decoded* Ready(Pictures& pictures, skin::ImagePart part) {
  auto& slot = pictures.parts[size_t(part)];
  if (!slot) return nullptr;
  Decoded& picture = *slot->picture;
  if (!picture.tried) {
    picture.tried = true;
    if (!Decode(pictures.decoder, &picture)) picture.original.reset();
    picture.file = {};
  }
  return picture.original.get() ? &picture : nullptr;
}

bool NoShift(const skin::Adjustment& a) {
  return skin::WrapHue(a.hue) == 0 && a.saturation == 0 && a.brightness == 0;
}

// The picture as drawn with the current adjustment: the decoded pixels
// themselves, or a shifted copy kept until the shift changes.
HBITMAP Prepare(Decoded& picture, const skin::Adjustment& adjustment) {
  if (NoShift(adjustment)) {
    picture.shifted.reset();
    return picture.original.get();
  }
  if (picture.shifted.get() && Same(picture.shown, adjustment)) return picture.shifted.get();
  picture.shifted.reset();
  uint32_t* bits = nullptr;
  const int width = picture.info.width, height = picture.info.height;
  common::GdiObject<HBITMAP> dib(MakeDib(width, height, &bits));
  if (!dib.get()) return nullptr;
  GdiFlush();
  skin::ShiftPixels(picture.bits, bits, size_t(width) * height, adjustment);
  picture.shifted = std::move(dib);
  picture.shown = adjustment;
  return picture.shifted.get();
}

// The close button's hover and pressed frames keep their colours under any
// hue, as the close button drawn from colours keeps its red: a warning
// colour turned green would say the opposite.
bool KeepsColours(skin::ImagePart part, int frame) {
  constexpr int kHover = 1, kPressed = 2;
  return part == skin::ImagePart::CaptionClose && (frame == kHover || frame == kPressed);
}

constexpr int kMaxRepeats = 1024;

void Blend(HDC dc, HDC source, const RECT& to, int sx, int sy, int sw, int sh) {
  int w = to.right - to.left, h = to.bottom - to.top;
  if (w <= 0 || h <= 0 || sw <= 0 || sh <= 0) return;
  BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  // gdi32's own entry point: msimg32's AlphaBlend only forwards to it, and
  // that library would be loaded at start for this one call.
  GdiAlphaBlend(dc, to.left, to.top, w, h, source, sx, sy, sw, sh, blend);
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

// What a grid is drawn from: a picture's bitmap as drawn now and its layout.
struct Grid {
  HBITMAP bitmap;
  const skin::ImageLayout* layout;
  int width, height, frame;
};

// The grid's nine pieces, its bitmap selected into `source`, blended into
// `rc`.
void DrawGrid(HDC dc, HDC source, const Grid& grid, const RECT& rc) {
  const skin::ImageLayout& layout = *grid.layout;
  const int fw = grid.width, fh = grid.height / layout.frames, fy = grid.frame * fh;
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
}

// The part's grid at this size, composed on first use; null when it cannot
// be made (the caller then draws the pieces).
HBITMAP ComposedFace(Pictures& pictures, skin::ImagePart part, const Grid& grid, int width,
                     int height) {
  const int dpi = draw::Dpi();
  for (const Composed& c : pictures.composed) {
    if (c.part == part && c.frame == grid.frame && c.width == width && c.height == height &&
        c.dpi == dpi) {
      return c.bitmap.get();
    }
  }
  HDC source = pictures.source.get(), target = pictures.target.get();
  uint32_t* bits = nullptr;
  common::GdiObject<HBITMAP> face(MakeDib(width, height, &bits));
  if (!source || !target || !face.get()) return nullptr;
  std::fill_n(bits, size_t(width) * size_t(height), 0u);  // nothing beneath the pieces
  HGDIOBJ old_target = SelectObject(target, face.get());
  HGDIOBJ old_source = SelectObject(source, grid.bitmap);
  DrawGrid(target, source, grid, {0, 0, width, height});
  SelectObject(source, old_source);
  SelectObject(target, old_target);
  if (pictures.composed.size() >= kMaxComposed) pictures.composed.clear();
  pictures.composed.push_back({part, grid.frame, width, height, dpi, std::move(face)});
  return pictures.composed.back().bitmap.get();
}

}  // namespace

void Load(const std::wstring& she_path, const skin::Skin& skin) {
  Pictures& pictures = ThePictures();
  for (auto& part : pictures.parts) part.reset();
  pictures.composed.clear();
  if (skin.version < 2) return;
  bool any = false;
  for (const auto& image : skin.images) any |= image.has_value();
  if (!any) return;
  const PictureFolder folder(she_path);
  if (!folder.ok()) return;

  // Every file is read and checked now, in the order of the parts, so the
  // budget is spent in that order whatever is drawn first; a file named
  // by several keys is read, counted and decoded once.
  uint64_t budget = skin::kMaxSkinPictureBytes;
  std::vector<std::pair<std::string, std::shared_ptr<Decoded>>> files;
  for (size_t i = 0; i < skin::kImagePartCount; i++) {
    if (!skin.images[i]) continue;
    const skin::ImageLayout& layout = *skin.images[i];
    const std::string name = LowerAscii(layout.file);
    auto known = std::find_if(files.begin(), files.end(),
                              [&name](const auto& file) { return file.first == name; });
    if (known != files.end()) {
      const skin::PngInfo& info = known->second->info;
      if (skin::ImageFits(layout, info.width, info.height)) {
        pictures.parts[i] = Part{layout, known->second};
      }
      continue;
    }
    auto picture = std::make_shared<Decoded>();
    if (folder.Read(layout.file, &picture->file) != skin::PictureVerdict::Used ||
        skin::JudgePicture(layout, picture->file.data(), picture->file.size(), &budget,
                           &picture->info, nullptr) != skin::PictureVerdict::Used) {
      continue;
    }
    files.emplace_back(name, picture);
    pictures.parts[i] = Part{layout, std::move(picture)};
  }
}

void SetAdjustment(const skin::Adjustment& adjustment) {
  Pictures& pictures = ThePictures();
  pictures.adjustment = adjustment;
  pictures.composed.clear();
}

bool Has(skin::ImagePart part) { return Ready(ThePictures(), part) != nullptr; }

int Frames(skin::ImagePart part) {
  const auto& slot = ThePictures().parts[size_t(part)];
  return slot && Has(part) ? slot->layout.frames : 0;
}

bool Draw(HDC dc, skin::ImagePart part, int frame, const RECT& rc) {
  Pictures& pictures = ThePictures();
  Decoded* picture = Ready(pictures, part);
  if (!picture) return false;
  const skin::ImageLayout& layout = pictures.parts[size_t(part)]->layout;
  if (frame < 0 || frame >= layout.frames) frame = 0;
  HBITMAP bitmap =
      KeepsColours(part, frame) ? picture->original.get() : Prepare(*picture, pictures.adjustment);
  HDC source = pictures.source.get();
  if (!bitmap || !source) return false;

  const Grid grid = {bitmap, &layout, picture->info.width, picture->info.height, frame};
  const int width = rc.right - rc.left, height = rc.bottom - rc.top;
  if (width > 0 && height > 0 && int64_t(width) * height <= kMaxComposedPixels) {
    if (HBITMAP face = ComposedFace(pictures, part, grid, width, height)) {
      HGDIOBJ old = SelectObject(source, face);
      Blend(dc, source, rc, 0, 0, width, height);
      SelectObject(source, old);
      return true;
    }
  }
  HGDIOBJ old = SelectObject(source, bitmap);
  DrawGrid(dc, source, grid, rc);
  SelectObject(source, old);
  return true;
}

}  // namespace dulib::pictures
