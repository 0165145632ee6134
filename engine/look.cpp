#include "look.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "common/win_handles.h"
#include "pictures.h"
#include "skin/states.h"

namespace dulib::look {

namespace {

using skin::Role;

// The face of the program's dialogs (toolkit/font.cpp), whose names
// Chinese Windows lists first; the engine's texts take it where the
// system has it, so that a menu or a caption sits well beside the dialog.
constexpr const wchar_t* kSongFaces[] = {L"宋体", L"SimSun"};

// Sizes in pixels at 96 DPI, scaled with the display.
constexpr int kSeparatorInset = 4;  // a separator stops short of the menu's sides
constexpr int kMenuCheckSize = 10;
constexpr int kTickStroke = 2;
constexpr int kMenuArrowSize = 4;
constexpr int kCaptionGlyphSize = 10;
constexpr int kListRowPadding = 4;  // a list row is the font's height and this

struct Fonts {
  common::Font caption;
  common::Font menu;
  // Solid twins of the controls' fonts, made on first use.
  std::vector<std::pair<LOGFONTW, common::Font>> solid;
};

struct Brushes {
  std::vector<std::pair<COLORREF, common::Brush>> now;
  std::vector<std::pair<COLORREF, common::Brush>> before;
};

struct Look {
  Brushes brushes;
  skin::Palette palette;
  skin::StateColors states{};
  Fonts fonts;
  bool fonts_made = false;
};

// The engine's state on its one thread; lives as long as the process,
// like the rest of it.
Look& TheLook() {
  static auto* look = new Look;
  return *look;
}

COLORREF Of(Role role) { return draw::Ref(TheLook().palette[role]); }
COLORREF Of(skin::Rgb c) { return draw::Ref(c); }

int CALLBACK NoteFace(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

const wchar_t* SongFace() {
  common::ClientDc dc(nullptr);
  for (const wchar_t* face : kSongFaces) {
    LOGFONTW wanted = {};
    wanted.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(wanted.lfFaceName, face, LF_FACESIZE);
    bool found = false;
    EnumFontFamiliesExW(dc.get(), &wanted, NoteFace, reinterpret_cast<LPARAM>(&found), 0);
    if (found) return face;
  }
  return nullptr;
}

// The system's font for a place, in the dialog's face where there is one,
// at the system's size. Solid strokes where they would be thinned:
// always under Wine, whose greyscale smoothing fades one-pixel strokes of
// dark text on light fills to about 2.5:1; and for the Song face, which
// Windows draws from its bitmaps at these sizes, as in the dialog. On
// Windows any other face keeps the user's smoothing (ClearType).
LOGFONTW Engine(LOGFONTW lf, const wchar_t* song) {
  if (song) {
    lstrcpynW(lf.lfFaceName, song, LF_FACESIZE);
    // The Song face has no bold strokes at this size: made up, they run
    // into each other. The title stands out by its band, not its weight.
    lf.lfWeight = FW_NORMAL;
  }
  if (song || draw::UnderWine()) lf.lfQuality = NONANTIALIASED_QUALITY;
  return lf;
}

void MakeFonts() {
  Look& look = TheLook();
  NONCLIENTMETRICSW metrics = {};
  metrics.cbSize = sizeof metrics;
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  // Under Wine the Song face is a large outline font standing in for the
  // system's, and loading it for the menu bar cost 4 MiB and 20 ms at
  // every start; there the system's faces are drawn in solid strokes.
  const wchar_t* song = draw::UnderWine() ? nullptr : SongFace();
  look.fonts.caption = common::Font(Engine(metrics.lfCaptionFont, song));
  look.fonts.menu = common::Font(Engine(metrics.lfMenuFont, song));
  look.fonts_made = true;
}

bool Active(States s) { return !(s & kInactive); }
bool Lit(States s) { return (s & kHighlighted) != 0; }

COLORREF Band(States s) {
  const Look& l = TheLook();
  return Active(s) ? Of(Role::CaptionActive) : Of(l.states.caption_inactive);
}

COLORREF CaptionInk(States s) {
  return Active(s) ? Of(Role::CaptionActiveText) : Of(TheLook().states.caption_inactive_text);
}

// The colour before a disabled state fades it.
COLORREF Ink(Part part, States s) {
  const skin::StateColors& st = TheLook().states;
  switch (part) {
    case Part::CaptionBand:
      return CaptionInk(s);
    case Part::CaptionClose:
      if (s & (kHover | kPressed)) return Of(skin::kCloseGlyph);
      return CaptionInk(s);
    case Part::CaptionMaximize:
    case Part::CaptionRestore:
    case Part::CaptionMinimize:
      return CaptionInk(s);  // the glyph keeps its colour on hover
    case Part::FrameEdge:
    case Part::MenuEdge:
      return Of(st.edge);
    case Part::MenuBar:
    case Part::MenuBarItem:
    case Part::MenuItem:
    case Part::MenuCheck:
    case Part::MenuArrow:
      return Of(Lit(s) ? Role::MenuHighlightText : Role::MenuText);
    case Part::MenuSeparator:
      return Of(st.separator);
    case Part::PushButton:
      return Of(Role::ButtonText);
    case Part::CheckBox:
    case Part::RadioButton:
      return Of(Role::CheckMark);
    case Part::Surface:
    case Part::CheckLabel:
    case Part::GroupBox:
      return Of(Role::FaceText);
    case Part::EditEdge:
      return Of(Role::Border);
    case Part::Edit:
    case Part::ListItem:
      return Of(Lit(s) ? Role::SelectionText : Role::WindowText);
    case Part::ScrollTrack:
    case Part::ScrollThumb:
      return Of(st.scroll_thumb);
    case Part::ScrollArrowUp:
    case Part::ScrollArrowDown:
      return Of((s & kPressed) ? st.scroll_track : st.scroll_thumb);
  }
  return Of(Role::FaceText);
}

void DrawCheckBox(HDC dc, Part part, States s, const RECT& box) {
  COLORREF back = Back(part, s), mark = TextColor(part, s);
  int size = box.right - box.left;
  if (part == Part::RadioButton) {
    common::Pen pen(PS_SOLID, 1, Of(Role::ButtonBorder));
    common::Brush fill(back);
    common::Selected p(dc, pen.get());
    common::Selected b(dc, fill.get());
    Ellipse(dc, box.left, box.top, box.right, box.bottom);
    if (s & kChecked) {
      RECT dot = box;
      InflateRect(&dot, -size * 4 / 13, -size * 4 / 13);
      common::Pen outline(PS_SOLID, 1, mark);
      common::Brush inside(mark);
      common::Selected m(dc, outline.get());
      common::Selected mb(dc, inside.get());
      Ellipse(dc, dot.left, dot.top, dot.right, dot.bottom);
    }
    return;
  }
  draw::Frame(dc, box, Of(Role::ButtonBorder));
  RECT in = box;
  InflateRect(&in, -1, -1);
  draw::Fill(dc, in, back);
  if (s & kChecked) {
    RECT tick = in;
    InflateRect(&tick, -size / 8, -size / 8);
    draw::Tick(dc, tick, mark, size >= 16 ? 2 : 1);
  } else if (s & kMixed) {
    InflateRect(&in, -size * 3 / 13, -size * 3 / 13);
    draw::Fill(dc, in, mark);
  }
}

void DrawPushButton(HDC dc, States s, const RECT& rc) {
  COLORREF border = Of(Role::ButtonBorder);
  draw::Fill(dc, rc, border);
  RECT r = rc;
  InflateRect(&r, -1, -1);
  // The default button, the one Enter presses, has a double outline.
  if (s & kDefault) InflateRect(&r, -1, -1);
  draw::Fill(dc, r, Back(Part::PushButton, s));
}

}  // namespace

void Rebuild(const skin::Palette& palette) {
  Look& look = TheLook();
  look.palette = palette;
  look.states = skin::DesignStates(palette);
  look.brushes.before = std::move(look.brushes.now);
  look.brushes.now.clear();
}

void SettingsChanged() {
  draw::Refresh();
  // The solid twins stay: labels hold them, and a twin is made from its
  // font's description alone.
  MakeFonts();
}

COLORREF Back(Part part, States s) {
  const skin::StateColors& st = TheLook().states;
  switch (part) {
    case Part::CaptionBand:
    case Part::FrameEdge:
      return Band(s);
    case Part::CaptionClose:
      if (s & kPressed) return Of(st.close_pressed);
      if (s & kHover) return Of(st.close_hover);
      return Band(s);
    case Part::CaptionMaximize:
    case Part::CaptionRestore:
    case Part::CaptionMinimize:
      if (s & kPressed) return Of(st.caption_pressed[Active(s)]);
      if (s & kHover) return Of(st.caption_hover[Active(s)]);
      return Band(s);
    case Part::MenuBar:
    case Part::MenuEdge:
    case Part::MenuSeparator:
      return Of(Role::Menu);
    case Part::MenuBarItem:
    case Part::MenuItem:
    case Part::MenuCheck:
    case Part::MenuArrow:
      return Of(Lit(s) ? Role::MenuHighlight : Role::Menu);
    case Part::PushButton:
      if (s & kPressed) return Of(st.button_pressed);
      if ((s & kHover) && !(s & kDisabled)) return Of(st.button_hover);
      return Of(Role::ButtonFace);
    case Part::CheckBox:
    case Part::RadioButton:
      if (s & kDisabled) return Of(Role::Face);
      if (s & kPressed) return Of(st.button_pressed);
      if (s & kHover) return Of(st.button_hover);
      return Of(Role::Window);
    case Part::Surface:
    case Part::CheckLabel:
    case Part::GroupBox:
      return Of(Role::Face);
    case Part::EditEdge:
      return Of((s & kDisabled) ? Role::Face : Role::Window);
    case Part::Edit:
      if (Lit(s)) return Of(Role::Selection);
      return Of((s & kDisabled) ? Role::Face : Role::Window);
    case Part::ListItem:
      return Of(Lit(s) ? Role::Selection : Role::Window);
    case Part::ScrollTrack:
      return Of(st.scroll_track);
    case Part::ScrollThumb:
      return Of((s & kPressed) ? st.scroll_thumb_pressed : st.scroll_thumb);
    case Part::ScrollArrowUp:
    case Part::ScrollArrowDown:
      return Of((s & kPressed) ? st.scroll_thumb : st.scroll_track);
  }
  return Of(Role::Face);
}

HBRUSH Brush(Part part, States s) {
  COLORREF color = Back(part, s);
  auto& now = TheLook().brushes.now;
  for (auto& [known, brush] : now) {
    if (known == color) return brush.get();
  }
  now.emplace_back(color, common::Brush(color));
  return now.back().second.get();
}

COLORREF TextColor(Part part, States s) {
  COLORREF ink = Ink(part, s);
  if (!(s & kDisabled)) return ink;
  COLORREF back =
      part == Part::CheckBox || part == Part::RadioButton ? Of(Role::Face) : Back(part, s);
  return draw::Ref(skin::Faded(draw::Rgb(ink), draw::Rgb(back)));
}

HFONT Font(Part part) {
  Look& look = TheLook();
  if (!look.fonts_made) MakeFonts();
  if (part == Part::CaptionBand) return look.fonts.caption.get();
  if (part == Part::MenuBarItem || part == Part::MenuItem) return look.fonts.menu.get();
  return nullptr;
}

HFONT Solid(HFONT font) {
  if (!font || !draw::UnderWine()) return font;
  LOGFONTW lf = {};
  if (GetObjectW(font, sizeof lf, &lf) != sizeof lf) return font;
  if (lf.lfQuality == NONANTIALIASED_QUALITY) return font;
  lf.lfQuality = NONANTIALIASED_QUALITY;
  auto& solid = TheLook().fonts.solid;
  for (auto& [known, twin] : solid) {
    if (std::memcmp(&known, &lf, sizeof lf) == 0) return twin.get();
  }
  if (solid.size() >= 16) return font;  // a program making fonts without end
  solid.emplace_back(lf, common::Font(lf));
  return solid.back().second.get() ? solid.back().second.get() : font;
}

namespace {

bool IsCaptionButton(Part part) {
  return part == Part::CaptionClose || part == Part::CaptionMaximize ||
         part == Part::CaptionRestore || part == Part::CaptionMinimize;
}

void DrawCaptionGlyph(HDC dc, Part part, States s, const RECT& rc) {
  static constexpr draw::Glyph kGlyphs[] = {draw::Glyph::Close, draw::Glyph::Maximize,
                                            draw::Glyph::Restore, draw::Glyph::Minimize};
  int index = static_cast<int>(part) - static_cast<int>(Part::CaptionClose);
  POINT centre = {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
  draw::CaptionGlyph(dc, centre, CaptionGlyphSize(), kGlyphs[index], TextColor(part, s));
}

// A skin's picture for a part in a state: which one, and its frame
// (0-based, in the order of docs/skin-format.md).
struct Picture {
  skin::ImagePart image;
  int frame = 0;
};

// normal, hover, pressed, then the fourth frame for `last`.
int ButtonFrame(States s, States last) {
  if (s & last) return 3;
  if (s & kPressed) return 2;
  if (s & kHover) return 1;
  return 0;
}

bool PictureOf(Part part, States s, const RECT& rc, Picture* out) {
  using skin::ImagePart;
  switch (part) {
    case Part::CaptionBand:
      // The title band across the top of the window; the side and bottom
      // borders stay in the band's colour.
      if (rc.top != 0 || rc.left != 0) return false;
      *out = {ImagePart::Caption, Active(s) ? 0 : 1};
      break;
    case Part::CaptionClose:
    case Part::CaptionMaximize:
    case Part::CaptionRestore:
    case Part::CaptionMinimize: {
      static constexpr ImagePart kButtons[] = {ImagePart::CaptionClose, ImagePart::CaptionMaximize,
                                               ImagePart::CaptionRestore,
                                               ImagePart::CaptionMinimize};
      int index = static_cast<int>(part) - static_cast<int>(Part::CaptionClose);
      int frame = (s & kPressed) ? 2 : (s & kHover) ? 1 : Active(s) ? 0 : 3;
      *out = {kButtons[index], frame};
      break;
    }
    case Part::MenuBar:
      *out = {ImagePart::MenuBar, 0};
      break;
    case Part::MenuBarItem:
      *out = {Lit(s) ? ImagePart::MenuHighlight : ImagePart::MenuBar, 0};
      break;
    case Part::MenuItem:
      if (!Lit(s)) return false;
      *out = {ImagePart::MenuHighlight, 0};
      break;
    case Part::PushButton: {
      int frame = ButtonFrame(s, kDisabled);
      if (frame == 0 && (s & (kDefault | kFocused))) frame = 4;
      *out = {ImagePart::Button, frame};
      break;
    }
    case Part::CheckBox:
    case Part::RadioButton:
      *out = {part == Part::CheckBox ? ImagePart::Check : ImagePart::Radio,
              ButtonFrame(s, kDisabled) + ((s & (kChecked | kMixed)) ? 4 : 0)};
      break;
    case Part::ScrollTrack:
      *out = {ImagePart::ScrollTrack, 0};
      break;
    case Part::ScrollThumb:
      *out = {ImagePart::ScrollThumb, ButtonFrame(s, 0)};
      break;
    default:
      return false;
  }
  return pictures::Has(out->image);
}

void DrawColours(HDC dc, Part part, States s, const RECT& rc);

}  // namespace

// A part with a picture: its colours beneath (a picture may be partly
// transparent), the picture over them, and a caption button's glyph on top.
void Draw(HDC dc, Part part, States s, const RECT& rc) {
  Picture picture;
  if (!PictureOf(part, s, rc, &picture)) {
    DrawColours(dc, part, s, rc);
    return;
  }
  // A caption button's picture lies on the band, drawn whole just before
  // it: a round or glassy button keeps the band around it in every state.
  if (!IsCaptionButton(part)) DrawColours(dc, part, s, rc);
  pictures::Draw(dc, picture.image, picture.frame, rc);
  if (IsCaptionButton(part)) DrawCaptionGlyph(dc, part, s, rc);
}

namespace {

void DrawColours(HDC dc, Part part, States s, const RECT& rc) {
  COLORREF back = Back(part, s);
  switch (part) {
    case Part::CaptionClose:
    case Part::CaptionMaximize:
    case Part::CaptionRestore:
    case Part::CaptionMinimize:
      if (s & (kHover | kPressed)) draw::Fill(dc, rc, back);
      DrawCaptionGlyph(dc, part, s, rc);
      return;
    case Part::FrameEdge:
      draw::Frame(dc, rc, TextColor(part, s));
      return;
    case Part::MenuEdge:
      draw::Fill(dc, rc, back);
      draw::Frame(dc, rc, TextColor(part, s));
      return;
    case Part::MenuSeparator: {
      draw::Fill(dc, rc, back);
      int y = (rc.top + rc.bottom) / 2;
      draw::Box(dc, rc.left + draw::Scaled(kSeparatorInset), y,
                rc.right - draw::Scaled(kSeparatorInset), y + draw::Hairline(), TextColor(part, s));
      return;
    }
    case Part::MenuCheck: {
      int size = draw::Scaled(kMenuCheckSize);
      RECT box = {(rc.left + rc.right - size) / 2, (rc.top + rc.bottom - size) / 2, 0, 0};
      box.right = box.left + size;
      box.bottom = box.top + size;
      draw::Tick(dc, box, TextColor(part, s), draw::Scaled(kTickStroke));
      return;
    }
    case Part::MenuArrow:
      draw::DrawArrow(dc, rc, draw::Arrow::Right, draw::Scaled(kMenuArrowSize), TextColor(part, s));
      return;
    case Part::PushButton:
      DrawPushButton(dc, s, rc);
      return;
    case Part::CheckBox:
    case Part::RadioButton:
      DrawCheckBox(dc, part, s, rc);
      return;
    case Part::GroupBox:
      draw::Frame(dc, rc, Of(Role::Border));
      return;
    case Part::EditEdge: {
      draw::Frame(dc, rc, Of(Role::Border));
      RECT in = rc;
      InflateRect(&in, -1, -1);
      draw::Frame(dc, in, back);
      return;
    }
    case Part::ScrollArrowUp:
    case Part::ScrollArrowDown: {
      draw::Fill(dc, rc, back);
      int w = rc.right - rc.left, h = rc.bottom - rc.top;
      int half = std::max(2, std::min(w, h) / 4);
      draw::DrawArrow(dc, rc, part == Part::ScrollArrowUp ? draw::Arrow::Up : draw::Arrow::Down,
                      half, TextColor(part, s));
      return;
    }
    default:
      draw::Fill(dc, rc, back);
      return;
  }
}

RECT Ring(const RECT& text) {
  RECT ring = text;
  InflateRect(&ring, 2, 2);
  return ring;
}

}  // namespace

void DrawFocus(HDC dc, Part part, States s, const RECT& text) {
  draw::DottedFrame(dc, Ring(text), TextColor(part, s));
}

RECT FocusInside(const RECT& text) {
  RECT inside = draw::DottedBounds(Ring(text));
  InflateRect(&inside, -1, -1);
  return inside;
}

// Rounded down, unlike Scaled: at 120 DPI the glyph is 12 pixels, not 13.
int CaptionGlyphSize() { return kCaptionGlyphSize * draw::Dpi() / 96; }

int ListItemHeight(int font_height) {
  int height = font_height + draw::Scaled(kListRowPadding);
  // The ring lies on the row's edge and gives up its last row where the
  // height is even (DottedBounds): then one more row keeps it clear.
  RECT inside = FocusInside({2, 2, 3, height - 2});
  return inside.bottom - inside.top >= font_height + 2 ? height : height + 1;
}

}  // namespace dulib::look
