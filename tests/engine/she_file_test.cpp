#include "skin/she_file.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace skin {
namespace {

const char kGood[] =
    "; a comment\n"
    "she = 1\n"
    "name = 青花\n"
    "face = #E9F0F8\n"
    "face_text = #16325c\n"
    "window = #FFFFFF\n"
    "window_text = #0F1F3D\n"
    "menu = #DCE7F4\n"
    "border = #2E5B9A\n";

std::string Replace(std::string text, const std::string& from, const std::string& to) {
  size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  return text.replace(at, from.size(), to);
}

// A skin that no test input equals, to see whether a refused file left it.
Skin Sentinel() {
  Skin s;
  s.name = "sentinel";
  for (auto& c : s.palette.colors) c = {1, 2, 3};
  return s;
}

TEST(ParseSkinTest, ReadsEveryKey) {
  Skin skin;
  ParseError error;
  ASSERT_TRUE(ParseSkin(kGood, &skin, &error)) << error.line << ": " << error.message;
  EXPECT_EQ(skin.name, "青花");
  EXPECT_EQ(skin.palette[Role::Face], (Rgb{0xE9, 0xF0, 0xF8}));
  EXPECT_EQ(skin.palette[Role::FaceText], (Rgb{0x16, 0x32, 0x5C}));
  EXPECT_EQ(skin.palette[Role::Window], (Rgb{0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(skin.palette[Role::WindowText], (Rgb{0x0F, 0x1F, 0x3D}));
  EXPECT_EQ(skin.palette[Role::Menu], (Rgb{0xDC, 0xE7, 0xF4}));
  EXPECT_EQ(skin.palette[Role::Border], (Rgb{0x2E, 0x5B, 0x9A}));
}

TEST(ParseSkinTest, ToleratesLayoutVariations) {
  std::string text = kGood;
  Skin plain;
  ASSERT_TRUE(ParseSkin(text, &plain, nullptr));

  std::string crlf;
  for (char c : text) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  std::vector<std::string> variants = {
      "\xEF\xBB\xBF" + text,                                          // UTF-8 byte order mark
      crlf,                                                           // Windows line ends
      Replace(text, "menu = #DCE7F4\n", "\t menu\t=\t#DCE7F4 \t\n"),  // blanks and tabs
      Replace(text, "border = #2E5B9A\n", "border = #2E5B9A"),        // no final line end
      Replace(text, "menu =", "\n# comment\n\nmenu ="),               // comments, blank lines
      text + "caption = #000000\nfuture_key = anything\n",            // keys of later versions
      text + "image_caption_active = caption.png\n",                  // reserved for images
  };
  for (const std::string& v : variants) {
    Skin skin;
    ParseError error;
    EXPECT_TRUE(ParseSkin(v, &skin, &error)) << v << "\n" << error.message;
    EXPECT_EQ(skin.name, plain.name);
    EXPECT_EQ(skin.palette, plain.palette);
  }
}

struct BadCase {
  std::string text;
  int line;          // expected line of the error, 0 for the whole file
  const char* says;  // part of the expected message
};

TEST(ParseSkinTest, RefusesBadFilesAndKeepsTheSkin) {
  std::string good = kGood;
  std::vector<BadCase> cases = {
      {"", 0, "missing"},
      {"; only a comment\n", 0, "missing"},
      {"name = x\n", 1, "she = 1"},
      {"she = 3\n", 1, "version"},
      {"she=1\nshe=1\n", 2, "twice"},
      {Replace(good, "menu = #DCE7F4", "menu #DCE7F4"), 8, "key = value"},
      {Replace(good, "menu = #DCE7F4", "menu = #DCE7F"), 8, "#RRGGBB"},
      {Replace(good, "menu = #DCE7F4", "menu = #DCE7F44"), 8, "#RRGGBB"},
      {Replace(good, "menu = #DCE7F4", "menu = DCE7F4"), 8, "#RRGGBB"},
      {Replace(good, "menu = #DCE7F4", "menu = #DCG7F4"), 8, "#RRGGBB"},
      {Replace(good, "menu = #DCE7F4", "menu = # DCE7F"), 8, "#RRGGBB"},
      {Replace(good, "menu = #DCE7F4", "menu ="), 8, "#RRGGBB"},
      {Replace(good, "menu = #DCE7F4", "menu = 220,231,244"), 8, "#RRGGBB"},
      {good + "face = #000000\n", 10, "twice"},
      {good + "name = again\n", 10, "twice"},
      {Replace(good, "name = 青花", "name ="), 3, "name"},
      {Replace(good, "name = 青花",
               "name = a\x01"
               "b"),
       3, "name"},
      {Replace(good, "name = 青花", "name = " + std::string(101, 'n')), 3, "name"},
      {Replace(good, "window = #FFFFFF", std::string("window = #FF\0FFF", 16)), 0, "text"},
      {good + std::string(kMaxSkinFileSize, ' '), 0, "large"},
  };
  for (const BadCase& c : cases) {
    Skin skin = Sentinel();
    ParseError error;
    EXPECT_FALSE(ParseSkin(c.text, &skin, &error)) << c.text;
    EXPECT_EQ(error.line, c.line) << c.text;
    EXPECT_NE(error.message.find(c.says), std::string::npos) << c.text << "\n" << error.message;
    EXPECT_EQ(skin.name, "sentinel");
    EXPECT_EQ(skin.palette, Sentinel().palette);
  }
}

TEST(ParseSkinTest, EveryKeyIsRequired) {
  const char* keys[] = {"name", "face", "face_text", "window", "window_text", "menu", "border"};
  for (const char* key : keys) {
    std::istringstream in(kGood);
    std::string text, line;
    while (std::getline(in, line)) {
      if (line.rfind(std::string(key) + " =", 0) != 0) text += line + "\n";
    }
    ParseError error;
    Skin skin = Sentinel();
    EXPECT_FALSE(ParseSkin(text, &skin, &error)) << key;
    EXPECT_EQ(error.message,
              std::string(key) == "name" ? "'name' missing" : std::string(key) + " missing");
  }
}

TEST(ParseSkinTest, OptionalColoursAreReadAndCheckedLikeTheRequiredOnes) {
  Skin skin;
  ASSERT_TRUE(ParseSkin(std::string(kGood) + "caption_active = #102030\nscroll_thumb=#A0b0C0\n",
                        &skin, nullptr));
  EXPECT_EQ(skin.palette[Role::CaptionActive], (Rgb{0x10, 0x20, 0x30}));
  EXPECT_EQ(skin.palette[Role::ScrollThumb], (Rgb{0xA0, 0xB0, 0xC0}));

  for (std::string bad : {"caption_active = #10203\n", "check_mark = red\n",
                          "selection = #000000\nselection = #000000\n"}) {
    Skin kept = Sentinel();
    EXPECT_FALSE(ParseSkin(kGood + bad, &kept, nullptr)) << bad;
    EXPECT_EQ(kept.palette, Sentinel().palette);
  }
}

TEST(ParseSkinTest, AnOldSixColourFileGetsTheDefaultFrame) {
  Skin skin;
  skin.metrics = {40, 9};
  ASSERT_TRUE(ParseSkin(kGood, &skin, nullptr));
  EXPECT_EQ(skin.metrics.caption_height, 26);
  EXPECT_EQ(skin.metrics.border_width, 4);
}

TEST(ParseSkinTest, FrameSizesAtAndBeyondTheirLimits) {
  struct {
    std::string line;
    bool ok;
    int caption, border;
  } cases[] = {
      {"caption_height = 18", true, 18, 4},
      {"caption_height = 48", true, 48, 4},
      {"caption_height = 17", false, 0, 0},
      {"caption_height = 49", false, 0, 0},
      {"border_width = 1", true, 26, 1},
      {"border_width = 12", true, 26, 12},
      {"border_width = 0", false, 0, 0},
      {"border_width = 13", false, 0, 0},
      {"border_width = 007", true, 26, 7},
      {"border_width = -4", false, 0, 0},
      {"border_width = +4", false, 0, 0},
      {"border_width = 4px", false, 0, 0},
      {"border_width = 4.0", false, 0, 0},
      {"border_width = 0x4", false, 0, 0},
      {"border_width =", false, 0, 0},
      {"caption_height = 4294967322", false, 0, 0},
      {"caption_height = 30\ncaption_height = 30", false, 0, 0},
  };
  for (const auto& c : cases) {
    Skin skin = Sentinel();
    ParseError error;
    bool ok = ParseSkin(kGood + c.line + "\n", &skin, &error);
    EXPECT_EQ(ok, c.ok) << c.line;
    if (ok) {
      EXPECT_EQ(skin.metrics.caption_height, c.caption) << c.line;
      EXPECT_EQ(skin.metrics.border_width, c.border) << c.line;
    } else {
      EXPECT_GE(error.line, 10) << c.line;
      EXPECT_EQ(skin.name, "sentinel");
    }
  }
}

TEST(ParseSkinTest, CornerRadiusAtAndBeyondItsLimits) {
  struct {
    std::string line;
    bool ok;
    int radius;
  } cases[] = {
      {"corner_radius = 0", true, 0},   {"corner_radius = 16", true, 16},
      {"corner_radius = 8", true, 8},   {"corner_radius = 17", false, 0},
      {"corner_radius = -1", false, 0}, {"corner_radius = 4px", false, 0},
      {"corner_radius =", false, 0},    {"corner_radius = 2\ncorner_radius = 2", false, 0},
  };
  for (const auto& c : cases) {
    Skin skin = Sentinel();
    ParseError error;
    bool ok = ParseSkin(kGood + c.line + "\n", &skin, &error);
    EXPECT_EQ(ok, c.ok) << c.line;
    if (ok) {
      EXPECT_EQ(skin.metrics.corner_radius, c.radius) << c.line;
    } else {
      EXPECT_GE(error.line, 10) << c.line;
      EXPECT_EQ(skin.name, "sentinel");
    }
  }
}

// A file without any frame size leaves the frame to the platform; any one
// of the three keys alone, even at the default's value, hands it to the
// engine.
TEST(ParseSkinTest, FrameSizesAreGivenByAnyOfTheirKeys) {
  Skin skin = Sentinel();
  skin.metrics.given = true;
  ASSERT_TRUE(ParseSkin(kGood, &skin, nullptr));
  EXPECT_FALSE(skin.metrics.given);
  EXPECT_EQ(skin.metrics.corner_radius, 0);
  for (std::string line : {"caption_height = 26", "border_width = 4", "corner_radius = 0"}) {
    Skin one = Sentinel();
    ASSERT_TRUE(ParseSkin(kGood + line + "\n", &one, nullptr)) << line;
    EXPECT_TRUE(one.metrics.given) << line;
  }
  // A later file without them gives the frame back.
  ASSERT_TRUE(ParseSkin(kGood, &skin, nullptr));
  EXPECT_FALSE(skin.metrics.given);
}

// What a skin author may write, and what the parser answers. Lines are
// added after kGood's nine, so a fault is reported on line 10 or 11.
struct AuthorCase {
  std::string added;
  bool ok;
  int line;          // of the error, when refused
  const char* says;  // part of the error message, when refused
};

void ExpectAnswers(const std::vector<AuthorCase>& cases) {
  for (const AuthorCase& c : cases) {
    Skin skin = Sentinel();
    ParseError error;
    const bool ok = ParseSkin(kGood + c.added, &skin, &error);
    EXPECT_EQ(ok, c.ok) << c.added << "\n" << error.message;
    if (ok || c.ok) continue;
    EXPECT_EQ(error.line, c.line) << c.added;
    EXPECT_NE(error.message.find(c.says), std::string::npos) << c.added << "\n" << error.message;
    EXPECT_EQ(skin.name, "sentinel");
  }
}

TEST(ParseSkinTest, AnyKeyGivenTwiceIsRefusedKnownOrNot) {
  ExpectAnswers({
      {"future_key = a\n", true, 0, ""},
      {"future_key = a\nfuture_key = a\n", false, 11, "'future_key' given twice"},
      {"future_key = a\nfuture_key = b\n", false, 11, "twice"},
      {"image_caption_active = a.png\nimage_caption_active = b.png\n", false, 11, "twice"},
      {"future_key = a\nfuture_key_2 = a\n", true, 0, ""},
      {"border_width = 4\nborder_width = 4\n", false, 11, "twice"},
      {"she = 1\n", false, 10, "'she' given twice"},
  });
}

TEST(ParseSkinTest, ALineWithoutAKeyIsRefused) {
  ExpectAnswers({
      {"= #FFFFFF\n", false, 10, "no key"},
      {"=\n", false, 10, "no key"},
      {" \t = anything\n", false, 10, "no key"},
  });
  Skin skin = Sentinel();
  ParseError error;
  EXPECT_FALSE(ParseSkin("= 1\n" + std::string(kGood), &skin, &error));
  EXPECT_EQ(error.line, 1);
}

TEST(ParseSkinTest, KeysMatchWhateverTheirCase) {
  Skin skin;
  ParseError error;
  std::string text = Replace(kGood, "she = 1", "SHE = 1");
  text = Replace(text, "name =", "Name =");
  text = Replace(text, "face = #E9F0F8", "FACE = #010203");
  text += "Caption_Active = #102030\nBORDER_width = 9\n";
  ASSERT_TRUE(ParseSkin(text, &skin, &error)) << error.line << ": " << error.message;
  EXPECT_EQ(skin.name, "青花");
  EXPECT_EQ(skin.palette[Role::Face], (Rgb{0x01, 0x02, 0x03}));
  EXPECT_EQ(skin.palette[Role::CaptionActive], (Rgb{0x10, 0x20, 0x30}));
  EXPECT_EQ(skin.metrics.border_width, 9);

  // Two spellings of one key are the same key given twice.
  ExpectAnswers({
      {"Face = #000000\n", false, 10, "'face' given twice"},
      {"NAME = other\n", false, 10, "twice"},
      {"Future_Key = a\nfuture_key = a\n", false, 11, "twice"},
  });
}

TEST(ParseSkinTest, SizesMayHaveLeadingZeros) {
  Skin skin;
  ASSERT_TRUE(ParseSkin(std::string(kGood) + "caption_height = 00026\nborder_width = " +
                            std::string(40, '0') + "12\n",
                        &skin, nullptr));
  EXPECT_EQ(skin.metrics.caption_height, 26);
  EXPECT_EQ(skin.metrics.border_width, 12);
  ExpectAnswers({
      {"caption_height = 00000000049\n", false, 10, "18 to 48"},
      {"caption_height = 00000000017\n", false, 10, "18 to 48"},
      {"border_width = 99999999999999999999999999\n", false, 10, "1 to 12"},
      {"border_width = 00000\n", false, 10, "1 to 12"},
  });
}

TEST(ParseSkinTest, ANameMustBeUtf8WithoutControlCharacters) {
  struct {
    std::string name;
    bool ok;
  } cases[] = {
      {"Plain", true},
      {"\xE9\x9D\x92\xE8\x8A\xB1", true},  // 青花
      {"\xF0\x9D\x84\x9E", true},          // U+1D11E, four bytes
      {"a b", true},
      {"\xE9\x9D", false},              // cut off in the middle of a character
      {"\xE9\x9D\x92\xE8\x8A", false},  // the same at the end
      {"\xB1", false},                  // a continuation byte alone
      {"caf\xE9", false},               // Latin-1
      {"\xC0\xAF", false},              // '/' in two bytes (overlong)
      {"\xE0\x80\xAF", false},          // '/' in three bytes (overlong)
      {"\xED\xA0\x80", false},          // a UTF-16 surrogate
      {"\xF4\x90\x80\x80", false},      // above U+10FFFF
      {"\xFF", false},
      {"a\xC2\x85z", false},  // U+0085, a control character
      {"a\x7Fz", false},
      {"a\tz", false},
  };
  for (const auto& c : cases) {
    Skin skin = Sentinel();
    ParseError error;
    const bool ok = ParseSkin(Replace(kGood, "name = 青花", "name = " + c.name), &skin, &error);
    EXPECT_EQ(ok, c.ok) << c.name;
    if (ok) EXPECT_EQ(skin.name, c.name);
    if (!ok) {
      EXPECT_EQ(error.line, 3) << c.name;
      EXPECT_EQ(error.message, "bad name") << c.name;
      EXPECT_EQ(skin.name, "sentinel");
    }
  }
}

TEST(ParseSkinTest, LargestAllowedFileIsRead) {
  std::string text = kGood;
  text += std::string(kMaxSkinFileSize - text.size(), '\n');
  Skin skin;
  EXPECT_TRUE(ParseSkin(text, &skin, nullptr));
}

TEST(DefaultSkinTest, IsComplete) {
  Skin skin = DefaultSkin();
  EXPECT_FALSE(skin.name.empty());
  EXPECT_GE(ContrastRatio(skin.palette[Role::FaceText], skin.palette[Role::Face]), 7.0);
  EXPECT_GE(ContrastRatio(skin.palette[Role::WindowText], skin.palette[Role::Window]), 7.0);
  EXPECT_GE(ContrastRatio(skin.palette[Role::CaptionActiveText], skin.palette[Role::CaptionActive]),
            7.0);
  EXPECT_GE(ContrastRatio(skin.palette[Role::ButtonText], skin.palette[Role::ButtonPressed]), 7.0);
  EXPECT_EQ(skin.metrics.caption_height, 26);
}

// The shipped skins: each must be read by the parser and stay readable,
// also after any hue shift the skin dialog can apply.
std::vector<std::filesystem::path> SampleSkins() {
  std::vector<std::filesystem::path> files;
  for (const auto& entry : std::filesystem::directory_iterator(SAMPLE_SKIN_DIR)) {
    if (entry.path().extension() == ".she") files.push_back(entry.path());
  }
  return files;
}

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(SampleSkinsTest, AtLeastEightThreeDarkAndOneWithAChineseName) {
  auto files = SampleSkins();
  EXPECT_GE(files.size(), 8u);
  int dark = 0;
  for (const auto& f : files) {
    Skin skin;
    ASSERT_TRUE(ParseSkin(ReadFile(f), &skin, nullptr)) << f;
    // Dark: light text on the surfaces, which are darker than mid-grey.
    dark += ContrastRatio(skin.palette[Role::Face], {0, 0, 0}) < 4.58 &&
            ContrastRatio(skin.palette[Role::Window], {0, 0, 0}) < 4.58;
  }
  EXPECT_GE(dark, 3);
  bool chinese = false;
  for (const auto& f : files) {
    for (unsigned char c : f.stem().string()) chinese |= c >= 0x80;
  }
  EXPECT_TRUE(chinese);
}

// Every text on its background at 7:1 and every line or control outline
// at 3:1 against what surrounds it (WCAG), at every whole hue.
TEST(SampleSkinsTest, ParseAndKeepTextReadableUnderEveryHue) {
  struct Pair {
    Role front, back;
    double ratio;
  } pairs[] = {
      {Role::FaceText, Role::Face, 7},
      {Role::WindowText, Role::Window, 7},
      {Role::MenuText, Role::Menu, 7},
      {Role::CaptionActiveText, Role::CaptionActive, 7},
      {Role::CaptionInactiveText, Role::CaptionInactive, 7},
      {Role::ButtonText, Role::ButtonFace, 7},
      {Role::ButtonText, Role::ButtonHover, 7},
      {Role::ButtonText, Role::ButtonPressed, 7},
      {Role::SelectionText, Role::Selection, 7},
      {Role::MenuHighlightText, Role::MenuHighlight, 7},
      {Role::Border, Role::Window, 3},  // edit and list box edges
      {Role::Border, Role::Face, 3},    // frames, and edges seen from the dialog
      {Role::Border, Role::Menu, 3},    // menu separators and the drop-down's edge
      {Role::ButtonBorder, Role::Face, 3},
      {Role::ButtonBorder, Role::ButtonFace, 3},
      {Role::ScrollThumb, Role::ScrollTrack, 3},
      {Role::CheckMark, Role::Window, 3},  // the tick, in its box at rest, hovered, pressed
      {Role::CheckMark, Role::ButtonHover, 3},
      {Role::CheckMark, Role::ButtonPressed, 3},
      {Role::Border, Role::ScrollTrack, 3},  // the thumb while dragged
      {Role::Selection, Role::Window, 3},    // which list item is selected
      {Role::MenuHighlight, Role::Menu, 3},  // which menu item is highlighted
  };
  for (const auto& file : SampleSkins()) {
    SCOPED_TRACE(file.filename().string());
    Skin skin;
    ParseError error;
    ASSERT_TRUE(ParseSkin(ReadFile(file), &skin, &error)) << error.line << ": " << error.message;
    EXPECT_EQ(skin.name, file.stem().string());
    for (int hue = -180; hue <= 180; hue++) {
      Palette p = AdjustPalette(skin.palette, {hue, 0, 0});
      for (const Pair& pair : pairs) {
        ASSERT_GE(ContrastRatio(p[pair.front], p[pair.back]), pair.ratio)
            << RoleKey(pair.front) << " on " << RoleKey(pair.back) << ", hue " << hue;
      }
    }
  }
}

}  // namespace
}  // namespace skin
