// What skincheck prints for small broken files: each expected line is
// written out here, worked out from the file and the rules in
// docs/skin-format.md, not taken from the checker.
#include "skincheck/check.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

namespace {

using skincheck::CheckSkin;
using skincheck::Result;
using skincheck::Verdict;

// The six required colours of 青花: a skin that loads as written.
const std::string kSix =
    "face = #E9F0F8\n"
    "face_text = #122A4E\n"
    "window = #FFFFFF\n"
    "window_text = #0F1F3D\n"
    "menu = #DCE7F4\n"
    "border = #375C8D\n";
const std::string kV1 = "she = 1\nname = T\n" + kSix;  // lines 1-8
const std::string kV2 = "she = 2\nname = T\n" + kSix;

// A sound 2 x 3 RGBA PNG, 71 bytes.
const uint8_t kPngBytes[] = {
    0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a, 0x00, 0x00, 0x00, 0x0d, 0x49, 0x48, 0x44,
    0x52, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x03, 0x08, 0x06, 0x00, 0x00, 0x00, 0xb9,
    0xea, 0xde, 0x81, 0x00, 0x00, 0x00, 0x0e, 0x49, 0x44, 0x41, 0x54, 0x78, 0xda, 0x63, 0x70,
    0x84, 0x02, 0x06, 0x0c, 0x06, 0x00, 0x52, 0x5f, 0x06, 0x19, 0x46, 0x14, 0x96, 0x08, 0x00,
    0x00, 0x00, 0x00, 0x49, 0x45, 0x4e, 0x44, 0xae, 0x42, 0x60, 0x82,
};
const std::string kPng(reinterpret_cast<const char*>(kPngBytes), sizeof kPngBytes);

// The skin's folder: names to bytes; "link.png" stands for a file the
// folder holds but that is no plain file.
Result Check(const std::string& text, std::map<std::string, std::string> folder = {}) {
  return CheckSkin("t.she", text, [folder](std::string_view name, std::vector<uint8_t>* bytes) {
    if (name == "link.png") return skin::PictureVerdict::NotPlainFile;
    auto found = folder.find(std::string(name));
    if (found == folder.end()) return skin::PictureVerdict::Missing;
    bytes->assign(found->second.begin(), found->second.end());
    return skin::PictureVerdict::Used;
  });
}

bool Has(const Result& result, const std::string& line) {
  return std::find(result.lines.begin(), result.lines.end(), line) != result.lines.end();
}

std::string Joined(const Result& result) {
  std::string all;
  for (const std::string& line : result.lines) all += line + "\n";
  return all;
}

struct Case {
  std::string text;
  std::vector<std::string> lines;  // the findings, in this order
  std::string verdict;
};

TEST(SkinCheck, EachBrokenFileGetsItsLines) {
  const std::vector<Case> cases = {
      {"she = 1\nname = T\nface = #E9F0F\nface_text = #122A4E\nwindow = #FFFFFF\n"
       "window = #FFFFFF\nmenu = #DCE7F4\nborder = #375C8D\n",
       {"t.she:3: 'face' must be #RRGGBB", "t.she:6: 'window' given twice",
        "t.she: window_text missing"},
       "t.she: refused"},
      {"she = 3\nname = T\nface = #E9F0F\n", {"t.she:1: unknown format version"}, "t.she: refused"},
      {"; nothing\n", {"t.she: not a skin file: 'she = 1' missing"}, "t.she: refused"},
      {kV1 + "caption_active #18345B\ncaption_height = 60\n",
       {"t.she:9: expected key = value",
        "t.she:10: caption_height must be a whole number from 18 to 48"},
       "t.she: refused"},
      {"she = 1\n\nname = \x01\n",
       {"t.she:3: bad name", "t.she: window missing", "t.she: window_text missing",
        "t.she: face missing", "t.she: face_text missing", "t.she: menu missing",
        "t.she: border missing"},
       "t.she: refused"},
      {kV1 + std::string(64 * 1024, ' '), {"t.she: file too large"}, "t.she: refused"},
      {kV1 + std::string("x = \0\n", 6), {"t.she: not a text file"}, "t.she: refused"},
      {kV2 + "image_button = ../b.png, 1, 0 0 0 0\n",
       {"t.she:9: 'image_button' must be 'file.png, frames, left top right bottom[, tile]'"},
       "t.she: refused"},
  };
  for (const Case& c : cases) {
    const Result result = Check(c.text);
    std::vector<std::string> want = c.lines;
    want.push_back(c.verdict);
    EXPECT_EQ(result.lines, want) << c.text.substr(0, 200);
    EXPECT_EQ(result.verdict, Verdict::Refused);
  }
}

TEST(SkinCheck, WrittenColoursTheStateRulesMoveAreCountedAsChanges) {
  const std::vector<Case> cases = {
      // #DCDCDC is 1.01:1 off #DDDDDD; the rule moves the rest colour
      // toward the text until 1.25:1.
      {kV1 + "button_face = #DDDDDD\nbutton_text = #000000\nbutton_hover = #DCDCDC\n",
       {"t.she:11: button_hover #DCDCDC drawn #C6C6C6: push button hover 1.2:1 off "
        "button_face"},
       "t.she: loads with 1 change"},
      // #202020 is 1.3:1 off black: walked toward mid grey until 3:1 off both.
      // #FAFAFA is 1.04:1 off white: the list colour moved toward its text.
      {"she = 1\nname = T\nface = #E9F0F8\nface_text = #122A4E\nwindow = #FFFFFF\n"
       "window_text = #0F1F3D\nmenu = #DCE7F4\nborder = #202020\nscroll_track = #FAFAFA\n",
       {"t.she:8: border #202020 drawn #5B5B5B: window edge 3:1 off black and off white",
        "t.she:9: scroll_track #FAFAFA drawn #DBDDE2: scroll channel 1.3:1 off window"},
       "t.she: loads with 2 changes"},
  };
  for (const Case& c : cases) {
    const Result result = Check(c.text);
    // The findings first, in the order of the file; the verdict last.
    for (size_t i = 0; i < c.lines.size(); i++) {
      ASSERT_LT(i, result.lines.size());
      EXPECT_EQ(result.lines[i], c.lines[i]) << Joined(result);
    }
    EXPECT_EQ(result.lines.back(), c.verdict);
    EXPECT_EQ(result.verdict, Verdict::LoadsChanged);
  }
}

TEST(SkinCheck, PicturesTheEngineWillNotUse) {
  std::string damaged = kPng;
  damaged.back() ^= 1;  // the end chunk's CRC
  const std::string text = kV2 +
                           "image_caption = p.png, 1, 0 0 0 0\n"        // 9: used
                           "image_button = p.png, 2, 0 0 0 0\n"         // 10: 3 rows, 2 frames
                           "image_check = p.png, 3, 1 0 1 0\n"          // 11: 2 wide, 1 + 1
                           "image_radio = gone.png, 1, 0 0 0 0\n"       // 12
                           "image_menubar = link.png, 1, 0 0 0 0\n"     // 13
                           "image_scroll_track = d.png, 1, 0 0 0 0\n";  // 14
  const Result result = Check(text, {{"p.png", kPng}, {"d.png", damaged}});
  const std::vector<std::string> want = {
      "t.she:10: image_button: p.png not used: its height is not a whole number of frames",
      "t.she:11: image_check: p.png not used: its margins leave no centre",
      "t.she:12: image_radio: gone.png not used: missing",
      "t.she:13: image_menubar: link.png not used: not a plain file in the skin's folder",
      "t.she:14: image_scroll_track: d.png not used: damaged (a chunk's CRC does not match)",
  };
  ASSERT_GE(result.lines.size(), want.size());
  EXPECT_EQ(std::vector<std::string>(result.lines.begin(), result.lines.begin() + want.size()),
            want)
      << Joined(result);
  EXPECT_EQ(result.lines.back(), "t.she: loads with 5 changes");
  EXPECT_EQ(result.verdict, Verdict::LoadsChanged);
}

// Every colour given, all grey but a blue selection under white text:
// greys keep their contrast at every hue, the blue turns yellow at 180.
TEST(SkinCheck, TheWorstHueOfEachRule) {
  const std::string text =
      "she = 1\nname = T\n"
      "window = #FFFFFF\nwindow_text = #000000\nface = #F0F0F0\nface_text = #000000\n"
      "menu = #F0F0F0\nborder = #606060\ncaption_active = #404040\n"
      "caption_active_text = #FFFFFF\ncaption_inactive = #C0C0C0\n"
      "caption_inactive_text = #000000\nbutton_face = #E0E0E0\nbutton_text = #000000\n"
      "button_hover = #C8C8C8\nbutton_pressed = #A8A8A8\nbutton_border = #606060\n"
      "selection = #0000FF\nselection_text = #FFFFFF\nmenu_text = #000000\n"
      "menu_highlight = #404040\nmenu_highlight_text = #FFFFFF\nscroll_track = #D0D0D0\n"
      "scroll_thumb = #707070\ncheck_mark = #000000\n";
  const Result result = Check(text);
  const std::vector<std::string> want = {
      "t.she: worst hue for text 7:1: +180, selection_text on selection 1.07:1, below the rule",
      "t.she: worst hue for lines 3:1: 0, scroll_thumb against scroll_track 3.21:1",
      "t.she: state steps: every written colour kept at every hue",
      "t.she: loads",
  };
  EXPECT_EQ(result.lines, want);
  EXPECT_EQ(result.verdict, Verdict::Loads);
}

TEST(SkinCheck, ADerivedColourMovedIsToldButIsNoChange) {
  // The six of 青花 and nothing else: the derived scroll thumb, 60 % of
  // the way from face to border, is darkened to stand 3:1 off the channel
  // at every hue; the file never wrote it.
  const Result result = Check(kV1);
  EXPECT_TRUE(std::any_of(result.lines.begin(), result.lines.end(), [](const std::string& l) {
    return l.rfind("t.she: scroll_thumb (not in the file, from #7E97B8) drawn #", 0) == 0 &&
           l.find(": lines 3:1 against scroll_track") != std::string::npos;
  })) << Joined(result);
  EXPECT_EQ(result.lines.back(), "t.she: loads");
  EXPECT_EQ(result.verdict, Verdict::Loads);
}

TEST(SkinCheck, ExitCodes) {
  EXPECT_EQ(skincheck::ExitCode(Verdict::Loads), 0);
  EXPECT_EQ(skincheck::ExitCode(Verdict::LoadsChanged), 1);
  EXPECT_EQ(skincheck::ExitCode(Verdict::Refused), 2);
}

}  // namespace
