#include "skin/she_file.h"

#include <array>
#include <cstdint>
#include <optional>
#include <set>
#include <string>

namespace skin {

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";
constexpr std::string_view kVersionKey = "she";
constexpr size_t kMaxNameSize = 100;

std::string_view Trim(std::string_view s) {
  size_t begin = 0;
  while (begin < s.size() && (s[begin] == ' ' || s[begin] == '\t')) begin++;
  size_t end = s.size();
  while (end > begin && (s[end - 1] == ' ' || s[end - 1] == '\t')) end--;
  return s.substr(begin, end - begin);
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// "#RRGGBB", nothing else: one spelling keeps the files easy to compare.
std::optional<Rgb> ParseColor(std::string_view value) {
  if (value.size() != 7 || value[0] != '#') return std::nullopt;
  int digits[6];
  for (int i = 0; i < 6; i++) {
    digits[i] = HexDigit(value[i + 1]);
    if (digits[i] < 0) return std::nullopt;
  }
  return Rgb{static_cast<uint8_t>(digits[0] * 16 + digits[1]),
             static_cast<uint8_t>(digits[2] * 16 + digits[3]),
             static_cast<uint8_t>(digits[4] * 16 + digits[5])};
}

// A whole number of pixels within [low, high]: digits only, no sign;
// leading zeros are allowed, as an author may line numbers up.
std::optional<int> ParseSize(std::string_view value, int low, int high) {
  if (value.empty()) return std::nullopt;
  int n = 0;
  for (char c : value) {
    if (c < '0' || c > '9') return std::nullopt;
    // Past high the number is out of range whatever follows; stopping
    // there keeps any number of digits from overflowing.
    if (n <= high) n = n * 10 + (c - '0');
  }
  if (n < low || n > high) return std::nullopt;
  return n;
}

// Keys match whatever their case: "Face" is "face".
std::string LowerAscii(std::string_view s) {
  std::string lower(s);
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return lower;
}

constexpr std::string_view kImageKeys[kImagePartCount] = {
    "image_caption",     "image_caption_close", "image_caption_max",    "image_caption_restore",
    "image_caption_min", "image_menubar",       "image_menu_highlight", "image_button",
    "image_check",       "image_radio",         "image_scroll_track",   "image_scroll_thumb"};

std::optional<ImagePart> FindImagePart(std::string_view key) {
  for (size_t i = 0; i < kImagePartCount; i++) {
    if (kImageKeys[i] == key) return static_cast<ImagePart>(i);
  }
  return std::nullopt;
}

// Cuts `s` at the first `sep`: returns what is before it, keeps the rest.
std::string_view Cut(std::string_view* s, char sep) {
  size_t at = s->find(sep);
  std::string_view head = s->substr(0, at);
  s->remove_prefix(at == std::string_view::npos ? s->size() : at + 1);
  return head;
}

// "<file>, <frames>, <left> <top> <right> <bottom>[, tile]"
std::optional<ImageLayout> ParseImage(std::string_view value) {
  ImageLayout layout;
  std::string_view rest = value;
  std::string_view file = Trim(Cut(&rest, ','));
  std::string_view frames = Trim(Cut(&rest, ','));
  std::string_view margins = Trim(Cut(&rest, ','));
  std::string_view mode = Trim(rest);
  if (value.find(',') == std::string_view::npos || !IsImageFileName(file)) return std::nullopt;
  layout.file = std::string(file);
  std::optional<int> count = ParseSize(frames, 1, kMaxImageFrames);
  if (!count) return std::nullopt;
  layout.frames = *count;
  int* sides[] = {&layout.left, &layout.top, &layout.right, &layout.bottom};
  for (int* side : sides) {
    while (!margins.empty() && (margins[0] == ' ' || margins[0] == '\t')) margins.remove_prefix(1);
    size_t end = margins.find_first_of(" \t");
    std::optional<int> n = ParseSize(margins.substr(0, end), 0, kMaxImageMargin);
    if (!n) return std::nullopt;
    *side = *n;
    margins.remove_prefix(end == std::string_view::npos ? margins.size() : end);
  }
  if (!Trim(margins).empty()) return std::nullopt;
  // Three fields, or four with "tile" last; a comma with nothing after it
  // is a fault like any other stray text.
  size_t commas = 0;
  for (char c : value) commas += c == ',';
  if (commas == 3) {
    if (LowerAscii(mode) != "tile") return std::nullopt;
    layout.tile = true;
  } else if (commas != 2) {
    return std::nullopt;
  }
  return layout;
}

bool IsComment(std::string_view line) { return line.empty() || line[0] == '#' || line[0] == ';'; }

std::optional<Role> FindRole(std::string_view key) {
  for (size_t i = 0; i < kRoleCount; i++) {
    Role role = static_cast<Role>(i);
    if (RoleKey(role) == key) return role;
  }
  return std::nullopt;
}

// Well-formed UTF-8 (no overlong forms, surrogates or values above
// U+10FFFF) holding no control character (U+0000-001F, U+007F-009F).
bool IsPrintableUtf8(std::string_view s) {
  size_t i = 0;
  while (i < s.size()) {
    const auto lead = static_cast<unsigned char>(s[i]);
    size_t extra = 0;
    uint32_t code = lead, least = 0;
    if (lead >= 0xF0 && lead <= 0xF7) {
      extra = 3;
      code = lead & 0x07;
      least = 0x10000;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      extra = 2;
      code = lead & 0x0F;
      least = 0x800;
    } else if (lead >= 0xC0 && lead <= 0xDF) {
      extra = 1;
      code = lead & 0x1F;
      least = 0x80;
    } else if (lead >= 0x80) {
      return false;  // a continuation byte without its lead, or 0xF8-0xFF
    }
    if (s.size() - i - 1 < extra) return false;
    for (size_t k = 1; k <= extra; k++) {
      const auto next = static_cast<unsigned char>(s[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      code = code << 6 | (next & 0x3F);
    }
    if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
    if (code < 0x20 || (code >= 0x7F && code <= 0x9F)) return false;
    i += 1 + extra;
  }
  return true;
}

// Collects the keys of one file; turned into a Skin only when complete.
class Reader {
 public:
  bool Line(int number, std::string_view line);
  // `all`: every missing key is a fault of its own, not just the first.
  bool Finish(Skin* out, bool all, DeriveReport* derived);
  // Whether the lines after a fault can still be read as this skin's.
  bool CanGoOn() const { return version_ != 0; }
  ParseError error;  // the first fault
  std::vector<ParseError> faults;
  std::array<int, kRoleCount> colour_lines{};
  std::array<int, kImagePartCount> image_lines{};

 private:
  bool Fail(int number, std::string message) {
    if (faults.empty()) error = {number, message};
    faults.push_back({number, std::move(message)});
    return false;
  }

  bool Size(int number, std::string_view key, std::string_view value, int low, int high,
            std::optional<int>* out);

  int version_ = 0;             // 0 until the first entry
  std::set<std::string> seen_;  // every key so far, known or not, in lower case
  std::optional<std::string> name_;
  std::optional<int> caption_height_;
  std::optional<int> border_width_;
  std::optional<int> corner_radius_;
  std::array<bool, kRoleCount> have_{};
  Palette palette_;
  std::array<std::optional<ImageLayout>, kImagePartCount> images_;
};

bool Reader::Line(int number, std::string_view raw) {
  std::string_view line = Trim(raw);
  if (IsComment(line)) return true;

  size_t eq = line.find('=');
  if (eq == std::string_view::npos) return Fail(number, "expected key = value");
  const std::string key = LowerAscii(Trim(line.substr(0, eq)));
  std::string_view value = Trim(line.substr(eq + 1));

  if (!version_) {
    if (key != kVersionKey) return Fail(number, "the first entry must be 'she = 1' or 'she = 2'");
    if (value != "1" && value != "2") return Fail(number, "unknown format version");
    version_ = value[0] - '0';
    seen_.insert(key);
    return true;
  }
  if (key.empty()) return Fail(number, "no key before '='");
  // Also a key this version does not know: which of two values a later
  // engine would take cannot be told.
  if (!seen_.insert(key).second) return Fail(number, "'" + key + "' given twice");

  if (key == "name") {
    if (value.empty() || value.size() > kMaxNameSize || !IsPrintableUtf8(value)) {
      return Fail(number, "bad name");
    }
    name_ = std::string(value);
    return true;
  }

  if (key == "caption_height") {
    return Size(number, key, value, kMinCaptionHeight, kMaxCaptionHeight, &caption_height_);
  }
  if (key == "border_width") {
    return Size(number, key, value, kMinBorderWidth, kMaxBorderWidth, &border_width_);
  }
  if (key == "corner_radius") {
    return Size(number, key, value, 0, kMaxCornerRadius, &corner_radius_);
  }

  // Version 1 knows no pictures: it ignores their keys like any other
  // key of a later version.
  if (std::optional<ImagePart> part = FindImagePart(key); part && version_ >= 2) {
    std::optional<ImageLayout> layout = ParseImage(value);
    if (!layout) {
      return Fail(number,
                  "'" + key + "' must be 'file.png, frames, left top right bottom[, tile]'");
    }
    images_[static_cast<size_t>(*part)] = std::move(layout);
    image_lines[static_cast<size_t>(*part)] = number;
    return true;
  }

  std::optional<Role> role = FindRole(key);
  if (!role) return true;  // a key of a later version: not ours to judge
  size_t index = static_cast<size_t>(*role);
  std::optional<Rgb> color = ParseColor(value);
  if (!color) return Fail(number, "'" + key + "' must be #RRGGBB");
  palette_.colors[index] = *color;
  have_[index] = true;
  colour_lines[index] = number;
  return true;
}

bool Reader::Size(int number, std::string_view key, std::string_view value, int low, int high,
                  std::optional<int>* out) {
  *out = ParseSize(value, low, high);
  if (!*out) {
    return Fail(number, std::string(key) + " must be a whole number from " + std::to_string(low) +
                            " to " + std::to_string(high));
  }
  return true;
}

bool Reader::Finish(Skin* out, bool all, DeriveReport* derived) {
  if (!version_) return Fail(0, "not a skin file: 'she = 1' missing");
  // A key given with a bad value has had its fault on its line already.
  bool ok = faults.empty();
  if (!name_ && !seen_.count("name")) ok = Fail(0, "'name' missing");
  for (size_t i = 0; i < kRequiredRoleCount && (ok || all); i++) {
    const std::string key(RoleKey(static_cast<Role>(i)));
    if (!have_[i] && !seen_.count(key)) ok = Fail(0, key + " missing");
  }
  if (!ok) return false;
  out->name = *name_;
  out->palette = palette_;
  DeriveMissing(&out->palette, have_, derived);
  out->metrics = Metrics{};
  if (caption_height_) out->metrics.caption_height = *caption_height_;
  if (border_width_) out->metrics.border_width = *border_width_;
  if (corner_radius_) out->metrics.corner_radius = *corner_radius_;
  out->metrics.given = caption_height_ || border_width_ || corner_radius_;
  out->version = version_;
  out->images = images_;
  return true;
}

}  // namespace

std::string_view ImageKey(ImagePart part) { return kImageKeys[static_cast<size_t>(part)]; }

bool IsImageFileName(std::string_view name) {
  if (name.empty() || name.size() > kMaxImageFileName || name[0] == '.') return false;
  for (char c : name) {
    bool ok = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
              c == '_' || c == '-' || c == '.';
    if (!ok) return false;
  }
  if (name.size() <= 4 || LowerAscii(name.substr(name.size() - 4)) != ".png") return false;
  // Windows opens a device for these names, whatever the extension.
  std::string stem = LowerAscii(name.substr(0, name.find('.')));
  if (stem == "con" || stem == "prn" || stem == "aux" || stem == "nul") return false;
  if (stem.size() == 4 && (stem.compare(0, 3, "com") == 0 || stem.compare(0, 3, "lpt") == 0) &&
      stem[3] >= '0' && stem[3] <= '9') {
    return false;
  }
  return true;
}

bool ImageFits(const ImageLayout& layout, int width, int height) {
  if (width <= 0 || height <= 0 || layout.frames < 1 || height % layout.frames != 0) return false;
  int frame = height / layout.frames;
  return layout.left + layout.right < width && layout.top + layout.bottom < frame;
}

Skin DefaultSkin() {
  Skin skin;
  skin.name = "Morvanta";
  Palette& p = skin.palette;
  p[Role::Window] = {0xFB, 0xFC, 0xFE};
  p[Role::WindowText] = {0x1E, 0x29, 0x3B};
  p[Role::Face] = {0xE4, 0xE9, 0xF0};
  p[Role::FaceText] = {0x1F, 0x2A, 0x3A};
  p[Role::Menu] = {0xEE, 0xF1, 0xF6};
  p[Role::Border] = {0x7A, 0x8B, 0xA3};
  DeriveMissing(&p, {});  // the six above count as given
  return skin;
}

bool ParseSkin(std::string_view text, Skin* out, ParseError* error, SkinReport* report) {
  Reader reader;
  bool ok = true;
  if (text.size() > kMaxSkinFileSize) {
    ok = false;
    reader.faults.push_back(reader.error = {0, "file too large"});
  } else if (text.find('\0') != std::string_view::npos) {
    ok = false;
    reader.faults.push_back(reader.error = {0, "not a text file"});
  }
  if (ok && text.substr(0, kBom.size()) == kBom) text.remove_prefix(kBom.size());

  // The engine stops at the first fault; a report reads on for the others.
  bool reading = ok;
  int number = 0;
  while (reading && !text.empty()) {
    size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (!reader.Line(++number, line)) {
      ok = false;
      reading = report && reader.CanGoOn();
    }
  }

  Skin skin;
  if (ok || (report && reader.CanGoOn())) {
    ok = reader.Finish(&skin, report != nullptr, report ? &report->derived : nullptr) && ok;
  }
  if (report) {
    report->faults = reader.faults;
    report->colour_lines = reader.colour_lines;
    report->image_lines = reader.image_lines;
  }
  if (!ok) {
    if (error) *error = reader.error;
    return false;
  }
  *out = std::move(skin);
  return true;
}

}  // namespace skin
