// The look measurement: does each shipped skin read as designed? The real
// Morvanta.exe with the real dulib.dll is worked like a user would (real
// pointer moves and button presses, keys), and every text, state and line
// is read from screenshots with the WCAG contrast formula (pixels.h). The
// pass marks are stated below; a skin that misses one is named with the
// rule in the failure.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "look/pixels.h"
#include "support/hands.h"
#include "support/program.h"
#include "support/wine_test.h"

namespace {

using namespace look;
using namespace wine_test;

// The pass marks.
constexpr double kText = 4.5;              // median stroke against its background
constexpr double kDisabledText = 3.0;      // a disabled item's strokes
constexpr double kCaptionHoverLow = 1.25;  // caption button hover against the band
constexpr double kCaptionHoverHigh = 2.5;
constexpr double kCaptionPressed = 1.15;  // pressed against hover
constexpr double kButtonHover = 1.2;      // push button hover against rest
constexpr double kButtonPressed = 1.4;    // push button pressed against rest
constexpr double kLine = 3.0;             // separators, edges, the scroll thumb
constexpr double kTrack = 1.3;            // the scroll track against the list
constexpr double kInactiveBand = 1.3;     // inactive title band against the body
constexpr int kFocusClear = 1;            // clear pixels between focus rectangle and text
// Directions and ceilings: which way a state goes, and how far at most.
constexpr double kPressedFurther = 1.1;       // pressed's contrast to the band over hover's
constexpr double kDimmedShare = 0.6;          // disabled text's contrast over the enabled text's
constexpr double kBandsApart = 2.0;           // an inactive title told by its band alone
constexpr double kInactiveTitleShare = 0.65;  // else its text's contrast over the active's
constexpr double kSameInk = 1.1;              // two inks that are one colour
constexpr double kInactiveVsActive = 1.2;     // an inactive window's parts against the active's

struct Figure {
  std::string skin;
  int dpi;
  std::string rule;
  double value, low, high;
  bool Passes() const { return value >= low && value <= high; }
};

std::string Describe(const Figure& f) {
  char text[256];
  if (f.high < 1e9)
    snprintf(text, sizeof text, "%s at %d DPI, %s: %.2f, wanted %.2f to %.2f", f.skin.c_str(),
             f.dpi, f.rule.c_str(), f.value, f.low, f.high);
  else
    snprintf(text, sizeof text, "%s at %d DPI, %s: %.2f, wanted at least %.2f", f.skin.c_str(),
             f.dpi, f.rule.c_str(), f.value, f.low);
  return text;
}

int EnvInt(const char* name, int fallback) {
  const char* v = getenv(name);
  return v && *v ? atoi(v) : fallback;
}

int ScreenDpi() {
  HDC screen = GetDC(nullptr);
  int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi;
}

// ---- a user's hands ---------------------------------------------------------

// A short pause: each state is then waited for on the screen.
constexpr int kLookPauseMs = 60;
using engine_test::Mouse;

// The pointer out of the way, in the screen's corner.
void Park() {
  Mouse(0, {GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1}, kLookPauseMs);
}

// The ink of a text: its strokes' most common colour (a title's picture
// may have lines darker or lighter than the text).
COLORREF TextInk(const Picture& p) {
  std::map<COLORREF, int> counts;
  for (POINT at : Strokes(p)) counts[p.At(at.x, at.y)]++;
  auto most = std::max_element(counts.begin(), counts.end(),
                               [](auto& a, auto& b) { return a.second < b.second; });
  return most == counts.end() ? Mode(p) : most->first;
}

// The ink of a caption button's glyph: of the colours that a few pixels
// have, the one standing furthest off the cell's own. (A one-line glyph
// fills most of its row, which stroke reading takes for the background;
// a plaque's rim is quieter than the glyph.)
constexpr int kInkPixels = 4;
COLORREF GlyphInk(const Picture& p) {
  const COLORREF back = Mode(p);
  COLORREF ink = back;
  for (COLORREF c : p.pixels) {
    if (Contrast(c, back) <= Contrast(ink, back)) continue;
    if (std::count(p.pixels.begin(), p.pixels.end(), c) >= kInkPixels) ink = c;
  }
  return ink;
}

POINT Centre(const RECT& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

RECT Inset(RECT r, int by) {
  InflateRect(&r, -by, -by);
  return r;
}

RECT ClientOnScreen(HWND hwnd) {
  RECT r = {};
  GetClientRect(hwnd, &r);
  MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

LRESULT HitTest(HWND hwnd, int x, int y) {
  DWORD_PTR r = HTNOWHERE;
  SendMessageTimeoutW(hwnd, WM_NCHITTEST, 0, MAKELPARAM(x, y), SMTO_NORMAL, 2000, &r);
  return LRESULT(r);
}

// A window's title bar, found the way the pointer finds it: by hit-testing.
struct TitleBar {
  RECT band = {};  // the caption rows, across the title's text
  RECT minimise = {}, maximise = {}, close = {};
  RECT menu_bar = {};  // the menu bar's rows, when the window has one
};

TitleBar FindTitleBar(HWND hwnd) {
  RECT w = RectOf(hwnd), c = ClientOnScreen(hwnd);
  TitleBar t;
  // Down the middle: the caption's rows, then the menu bar's.
  for (int y = w.top, x = (w.left + w.right) / 2; y < c.top; y++) {
    LRESULT hit = HitTest(hwnd, x, y);
    RECT row = {w.left, y, w.right, y + 1};
    if (hit == HTCAPTION) UnionRect(&t.band, &t.band, &row);
    if (hit == HTMENU) UnionRect(&t.menu_bar, &t.menu_bar, &row);
  }
  // Across the caption's middle: the title's place and the buttons.
  RECT title = {};
  for (int x = w.left, y = (t.band.top + t.band.bottom) / 2; x < w.right; x++) {
    LRESULT hit = HitTest(hwnd, x, y);
    RECT column = {x, t.band.top, x + 1, t.band.bottom};
    RECT* cell = hit == HTCAPTION     ? &title
                 : hit == HTMINBUTTON ? &t.minimise
                 : hit == HTMAXBUTTON ? &t.maximise
                 : hit == HTCLOSE     ? &t.close
                                      : nullptr;
    if (cell) UnionRect(cell, cell, &column);
  }
  // The icon's picture reaches a little past where it is hit.
  t.band = {title.left + MulDiv(4, ScreenDpi(), 96), title.top, title.right, title.bottom};
  return t;
}

// A white window of this test's own at the bottom of the screen's windows:
// a white desktop behind the program's.
HWND ShowWhiteDesktop() {
  static const ATOM cls = [] {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hbrBackground = CreateSolidBrush(RGB(255, 255, 255));
    wc.lpszClassName = L"LookTestWhiteDesktop";
    return RegisterClassW(&wc);
  }();
  HWND white = CreateWindowExW(WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW, MAKEINTATOM(cls), L"", WS_POPUP,
                               0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                               nullptr, nullptr, nullptr, nullptr);
  ShowWindow(white, SW_SHOWNOACTIVATE);
  SetWindowPos(white, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  Pump(200);
  return white;
}

// ---- the measurement ----------------------------------------------------------

class LookTest : public testing::Test {
 protected:
  void SetUp() override {
    dpi_ = EnvInt("LOOK_DPI", 96);
    ASSERT_EQ(ScreenDpi(), dpi_) << "the prefix does not show its DPI";
  }

  int Scaled(int px) const { return MulDiv(px, dpi_, 96); }

  // With LOOK_KEEP set, each crop measured is kept as a picture in the
  // application folder, to be looked at by eye.
  const Picture& Keep(const std::string& name, const Picture& p) {
    if (getenv("LOOK_KEEP")) {
      std::string file = skin_ + "-" + std::to_string(dpi_) + "-" + name + ".ppm";
      for (char& c : file)
        if (c == ' ' || c == '(' || c == ')') c = '_';
      wchar_t wide[MAX_PATH] = {};
      MultiByteToWideChar(CP_UTF8, 0, file.c_str(), -1, wide, MAX_PATH);
      Save(p, InApp(std::wstring(L"app\\") + wide).c_str());
    }
    return p;
  }

  void Check(const std::string& rule, double value, double low, double high = 1e10) {
    figures_.push_back({skin_, dpi_, rule, value, low, high});
  }

  // Every text line of the crop that has strokes enough to be text.
  std::vector<TextLine> Lines(const Picture& p) {
    std::vector<TextLine> lines;
    for (const TextLine& l : TextLines(p))
      if (l.strokes >= 6) lines.push_back(l);
    return lines;
  }
  // The weakest line of a kind of text; its contrast.
  double CheckText(const std::string& kind, const std::vector<TextLine>& lines,
                   double mark = kText) {
    double weakest = lines.empty() ? 0 : 1e9;
    for (const TextLine& l : lines) weakest = std::min(weakest, l.median);
    Check(kind + ": median stroke contrast", weakest, mark);
    return weakest;
  }
  double CheckText(const std::string& kind, const Picture& p) {
    return CheckText(kind, Lines(Keep(kind, p)));
  }
  // A dimmed text's contrast is at most a share of its enabled twin's.
  void CheckDimmed(const std::string& kind, double dimmed, double full, double share) {
    Check(kind + ": share of the undimmed text's contrast", full > 0 ? dimmed / full : 1, 0, share);
  }

  // A push button at rest, under the pointer and held down; let go away
  // from it, so that nothing is clicked.
  void CheckPushButton(const std::string& name, HWND button, POINT away) {
    RECT r = Inset(RectOf(button), Scaled(3));
    COLORREF rest = Mode(Look(r));
    Mouse(0, Centre(r), kLookPauseMs);
    COLORREF hover = Mode(Keep(name + " hover", LookOnceChanged(r, rest)));
    Mouse(MOUSEEVENTF_LEFTDOWN, Centre(r), kLookPauseMs);
    COLORREF pressed = Mode(Keep(name + " pressed", LookOnceChanged(r, hover)));
    Mouse(0, away, kLookPauseMs);
    Mouse(MOUSEEVENTF_LEFTUP, away, kLookPauseMs);
    Check(name + " hover against rest", Contrast(hover, rest), kButtonHover);
    Check(name + " pressed against rest", Contrast(pressed, rest), kButtonPressed);
  }

  // A caption button under the pointer and held down, let go away from it.
  // Close may turn red rather than take a quiet step: its glyph must then
  // read on the red.
  void CheckCaptionButton(const std::string& name, const RECT& cell, COLORREF band, POINT away) {
    if (IsRectEmpty(&cell)) return Check(name + " button found", 0, 1);
    Mouse(0, Centre(cell), kLookPauseMs);
    Picture hovered = Keep(name + " hover", LookOnceChanged(cell, band));
    COLORREF hover = Mode(hovered);
    Mouse(MOUSEEVENTF_LEFTDOWN, Centre(cell), kLookPauseMs);
    COLORREF pressed = Mode(Keep(name + " pressed", LookOnceChanged(cell, hover)));
    Mouse(0, away, kLookPauseMs);
    Mouse(MOUSEEVENTF_LEFTUP, away, kLookPauseMs);
    if (name == "close")
      CheckText("caption button glyph on hover (close)", Lines(hovered));
    else
      Check("caption button hover (" + name + ") against the band", Contrast(hover, band),
            kCaptionHoverLow, kCaptionHoverHigh);
    Check("caption button pressed (" + name + ") against hover", Contrast(pressed, hover),
          kCaptionPressed);
    // Red is a colour of its own; the quiet buttons the engine draws deepen
    // as they go down (a skin's pictures may show a press their own way).
    if (name != "close" && !picture_buttons_)
      Check("caption button pressed (" + name + ") further from the band than hover",
            Contrast(pressed, band) / Contrast(hover, band), kPressedFurther);
  }

  // A one-pixel row of the screen against the row beside it (`side` -1
  // above, +1 below): an edge against what it sits on.
  void CheckEdge(const std::string& name, RECT row, int side) {
    COLORREF edge = Mode(Look(row));
    OffsetRect(&row, 0, side);
    Check(name, Contrast(edge, Mode(Look(row))), kLine);
  }

  // Tabs until `control` has the focus; false when it never gets it.
  bool TabTo(HWND dialog, HWND control) {
    for (int n = 0; n < 12 && FocusOf(dialog) != control; n++) {
      HWND before = FocusOf(dialog);
      PressKey(VK_TAB);
      for (int t = 0; t < 100 && FocusOf(dialog) == before; t++) Sleep(20);
    }
    return FocusOf(dialog) == control;
  }

  // The control's focus rectangle, shown by Tab and gone after the next Tab.
  void CheckFocus(const std::string& name, HWND dialog, HWND control, RECT crop) {
    if (!TabTo(dialog, control)) return Check(name + " takes the focus", 0, 1);
    Picture focused = Keep(name + " focused", Look(crop));
    PressKey(VK_TAB);
    for (int t = 0; t < 100 && FocusOf(dialog) == control; t++) Sleep(20);
    Picture unfocused = Keep(name + " unfocused", Look(crop));
    Check(name + " focus rectangle clear of the text (px)", FocusClearance(focused, unfocused),
          kFocusClear);
  }

  void MeasureMainWindow(Program& program);
  void MeasureInactiveTitle(HWND main);
  void MeasureListScrollBar(HWND list, COLORREF list_colour);
  void MeasureMenus(Program& program);
  void MeasureDialog(Program& program, HWND dialog);
  void MeasureNotice(Program& program);
  void MeasureSkin(const std::wstring& skin);

  std::vector<Figure> Failures() const {
    std::vector<Figure> f;
    for (const Figure& x : figures_)
      if (!x.Passes()) f.push_back(x);
    return f;
  }

  void Print() const {
    std::string last;
    for (const Figure& f : figures_) {
      if (f.skin != last) printf("---- %s at %d DPI\n", f.skin.c_str(), f.dpi);
      last = f.skin;
      printf("  %-4s %-62s %6.2f\n", f.Passes() ? "ok" : "FAIL", f.rule.c_str(), f.value);
    }
  }

  int dpi_ = 96;
  std::string skin_;
  // Of the active main window and the first menu, for the inactive and
  // disabled texts to be measured against.
  double active_title_ = 0, lit_items_ = 0;
  COLORREF active_band_ = 0;
  COLORREF active_rest_[2] = {};  // minimise and maximise at rest
  bool picture_buttons_ = false;  // the skin gives its caption buttons pictures
  std::vector<Figure> figures_;
};

void LookTest::MeasureMainWindow(Program& program) {
  HWND main = program.main();
  TitleBar title = FindTitleBar(main);
  Picture band = Look(title.band);
  COLORREF band_colour = active_band_ = Mode(band);
  active_title_ = CheckText("active caption", band);
  CheckText("menu bar", Look(title.menu_bar));
  active_rest_[0] = Mode(Look(Inset(title.minimise, Scaled(2))));
  active_rest_[1] = Mode(Look(Inset(title.maximise, Scaled(2))));
  // Pressed buttons are let go over the title's text, which does nothing.
  POINT away = {title.band.left + 4, (title.band.top + title.band.bottom) / 2};
  CheckCaptionButton("maximise", title.maximise, band_colour, away);
  CheckCaptionButton("minimise", title.minimise, band_colour, away);
  CheckCaptionButton("close", title.close, band_colour, away);
  Park();

  // The window's left and right edges against the desktop beside them:
  // Xvfb's black, then a white window of this test behind the program's.
  for (const char* desktop : {"black", "white"}) {
    HWND white = desktop[0] == 'w' ? ShowWhiteDesktop() : nullptr;
    SetWindowPos(main, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    program.Sync();
    RECT w = RectOf(main);
    for (int side = 0; side < 2; side++) {
      int x = side ? w.right - 1 : w.left;
      int outside = side ? w.right : w.left - 1;
      COLORREF edge = Mode(Look({x, title.menu_bar.bottom, x + 1, w.bottom}));
      COLORREF beside = Mode(Look({outside, title.menu_bar.bottom, outside + 1, w.bottom}));
      Check(std::string("window edge (") + (side ? "right" : "left") + ") against a " + desktop +
                " desktop",
            Contrast(edge, beside), kLine);
    }
    if (white) DestroyWindow(white);
  }
}

void LookTest::MeasureMenus(Program& program) {
  HWND main = program.main();
  // The first menu from the keyboard (Alt+N): its first item highlighted,
  // then a separator between each two items.
  PostMessageW(main, WM_SYSCOMMAND, SC_KEYMENU, 'n');
  HWND drop = program.DropDown();
  if (!drop) return Check("the menu opens", 0, 1);
  RECT r = RectOf(drop);
  Picture menu = Look(r);
  std::vector<TextLine> lines = Lines(menu);
  Keep("menu", menu);
  COLORREF face = Mode(menu);
  std::vector<TextLine> plain, lit;
  for (const TextLine& l : lines) (l.background == face ? plain : lit).push_back(l);
  Check("menu lines found (3)", double(lines.size()), 3, 3);
  CheckText("menu items", plain);
  lit_items_ = CheckText("highlighted menu item", lit);
  std::vector<Rule> rules = Rules(menu);
  double weakest = rules.size() == 2 ? 1e9 : 1;
  for (const Rule& rule : rules) weakest = std::min(weakest, rule.contrast);
  Check("menu separators (2) against the menu", weakest, kLine);
  // Its bottom edge against what lies beneath it.
  CheckEdge("menu's bottom edge against what lies beneath",
            {r.left, r.bottom - 1, r.right, r.bottom}, +1);
  if (!program.CloseMenus()) return Check("the menu closes", 0, 1);

  // The system menu (Alt+Space) of a restored window: its first item,
  // Restore, is disabled; highlighted at first, then after Down not.
  PostMessageW(main, WM_SYSCOMMAND, SC_KEYMENU, ' ');
  drop = program.DropDown();
  if (!drop) return Check("the system menu opens", 0, 1);
  r = RectOf(drop);
  for (int step = 0; step < 2; step++) {
    if (step) {
      PostMessageW(main, WM_KEYDOWN, VK_DOWN, 0);
      program.Sync();
    }
    Picture sys = Keep("system menu " + std::to_string(step), Look(r));
    lines = Lines(sys);
    if (lines.empty()) return Check("system menu text found", 0, 1);
    bool highlighted = lines[0].background != Mode(sys);
    Check(step ? "system menu: Restore not highlighted after Down"
               : "system menu: Restore highlighted at first",
          highlighted == !step, 1);
    double disabled = CheckText(step ? "disabled menu item" : "highlighted disabled menu item",
                                {lines[0]}, kDisabledText);
    if (!step) CheckDimmed("highlighted disabled menu item", disabled, lit_items_, kDimmedShare);
    // The items below Restore and the highlighted Move.
    if (step)
      CheckDimmed("disabled menu item", disabled,
                  CheckText("system menu items", {lines.begin() + 2, lines.end()}), kDimmedShare);
  }
  if (!program.CloseMenus()) return Check("the system menu closes", 0, 1);
}

void LookTest::MeasureDialog(Program& program, HWND dialog) {
  HWND main = program.main();
  MeasureInactiveTitle(main);

  auto is = [](const wchar_t* cls) { return [cls](HWND h) { return ClassOf(h) == cls; }; };
  HWND list = FindChild(dialog, is(L"ListBox"));
  HWND check = FindChild(dialog, [](HWND h) {
    return ClassOf(h) == L"Button" && (GetWindowLongW(h, GWL_STYLE) & 0xF) == BS_AUTOCHECKBOX;
  });
  HWND close = FindChild(dialog, [](HWND h) { return TextOf(h) == L"\u5173\u95ed(&X)"; });
  HWND save = FindChild(dialog, [](HWND h) { return TextOf(h) == L"\u4fdd\u5b58(&S)"; });
  if (!list || !check || !close || !save) return Check("the dialog's controls found", 0, 1);

  // Labels: every static control with a text.
  std::vector<TextLine> labels;
  for (HWND c = FindChild(dialog, is(L"Static")); c; c = GetWindow(c, GW_HWNDNEXT)) {
    if (ClassOf(c) != L"Static" || TextOf(c).empty() || !IsWindowVisible(c)) continue;
    for (const TextLine& l : Lines(Look(RectOf(c)))) labels.push_back(l);
  }
  CheckText("labels", labels);
  CheckText("check box", Look(RectOf(check)));
  CheckText("push buttons (Close)", Look(Inset(RectOf(close), Scaled(3))));
  CheckText("push buttons (Save)", Look(Inset(RectOf(save), Scaled(3))));

  // The list from its top: text, then the scroll bar beside it.
  SendMessageW(list, LB_SETTOPINDEX, 0, 0);
  RECT inside = ClientOnScreen(list), outer = RectOf(list);
  Picture items = Look(inside);
  CheckText("list items", items);
  CheckEdge("list's top edge against the face", {outer.left, outer.top, outer.right, outer.top + 1},
            -1);
  RECT hue = RectOf(FindChild(dialog, is(L"Edit")));
  CheckEdge("edit box's top edge against the face", {hue.left, hue.top, hue.right, hue.top + 1},
            -1);
  COLORREF list_colour = Mode(items);
  int edge = inside.left - outer.left;
  int bar_width = outer.right - edge - inside.right;
  if (bar_width <= 0) return Check("the list has a scroll bar", 0, 1);
  int x = inside.right + bar_width / 2;
  Picture channel = Look({x, inside.top + bar_width + 1, x + 1, inside.bottom - bar_width - 1});
  // Scrolled to the top, the thumb sits at the channel's top and the
  // track shows at its bottom; the thumb is the longest run of another colour.
  COLORREF track = channel.pixels.empty() ? list_colour : channel.pixels.back();
  COLORREF thumb = track;
  int longest = 0;
  for (int y = 0, run = 0; y < channel.height; y++) {
    run = y && channel.At(0, y) == channel.At(0, y - 1) ? run + 1 : 1;
    if (channel.At(0, y) != track && run > longest) {
      longest = run;
      thumb = channel.At(0, y);
    }
  }
  Check("scroll track against the list", Contrast(track, list_colour), kTrack);
  Check("scroll thumb against the track", Contrast(thumb, track), kLine);
  MeasureListScrollBar(list, list_colour);

  POINT away = {outer.left + 2, RectOf(dialog).bottom - Scaled(4)};
  CheckPushButton("push button (Save)", save, away);
  Park();

  CheckFocus("list", dialog, list, inside);
  CheckFocus("check box", dialog, check, RectOf(check));
  CheckFocus("push button (Close)", dialog, close, RectOf(close));

  // Behind the main window the dialog keeps a title band of its own.
  SetForegroundWindow(main);
  program.Sync();
  TitleBar title = FindTitleBar(dialog);
  Picture band = Look(title.band);
  CheckText("inactive caption (dialog)", band);
  Check("inactive title band against the body",
        Contrast(Mode(band), Mode(Look(ClientOnScreen(dialog)))), kInactiveBand);
}

// The main window behind the dialog. Its title reads inactive: by its
// band, standing apart from the active one, or else by its text, dimmed
// against the active title's. Its minimise and maximise glyphs are drawn
// in the title's own colour.
void LookTest::MeasureInactiveTitle(HWND main) {
  TitleBar title = FindTitleBar(main);
  Picture band = Look(title.band);
  double text = CheckText("inactive caption (main window)", band);
  double bands = Contrast(Mode(band), active_band_);
  if (bands >= kBandsApart)
    Check("inactive title band against the active band", bands, kBandsApart);
  else
    CheckDimmed("inactive caption, bands alike", text, active_title_, kInactiveTitleShare);
  // Each button at rest in the inactive window's own look (its band, or
  // its picture's inactive frame), not the active window's.
  COLORREF ink = TextInk(band);
  const char* names[] = {"minimise", "maximise"};
  RECT cells[] = {title.minimise, title.maximise};
  for (int i = 0; i < 2; i++) {
    std::string name = std::string("inactive ") + names[i];
    Picture cell = Keep(name, Look(Inset(cells[i], Scaled(2))));
    Check(name + " glyph against the inactive title's colour", Contrast(GlyphInk(cell), ink), 1,
          kSameInk);
    Check(name + " at rest against the active one at rest", Contrast(Mode(cell), active_rest_[i]),
          kInactiveVsActive);
  }
}

// Down the bar's middle, from the list's inner bottom edge up: no row in
// the list's own colour, which showed where the bar stopped short.
void LookTest::MeasureListScrollBar(HWND list, COLORREF list_colour) {
  RECT inside = ClientOnScreen(list), outer = RectOf(list);
  int edge = inside.left - outer.left;
  Picture whole = Keep("list", Look(outer));
  int x = (inside.right + outer.right - edge) / 2 - outer.left;
  int bottom = whole.height - edge - 1;  // the row above the frame's bottom edge
  int gap = 0;
  while (gap <= bottom - (inside.top - outer.top) && whole.At(x, bottom - gap) == list_colour)
    gap++;
  Check("list scroll bar short of the list's bottom (px)", gap, 0, 0);
}

void LookTest::MeasureNotice(Program& program) {
  HWND main = program.main();
  SetForegroundWindow(main);
  for (int round = 0; round < 2; round++) {  // on top, then back
    PostMessageW(main, WM_COMMAND, kKeepOnTopCommand, 0);
    HWND notice = program.MessageBoxWindow();
    if (!notice) return Check("the notice shows", 0, 1);
    if (round == 0) {
      HWND ok = GetDlgItem(notice, IDOK);
      CheckText("message text", Look(RectOf(GetDlgItem(notice, 0xFFFF))));
      if (!ok) return Check("the notice's OK button found", 0, 1);
      CheckText("push buttons (OK)", Look(Inset(RectOf(ok), Scaled(3))));
      RECT n = RectOf(notice);
      CheckPushButton("push button (OK)", ok, {n.left + Scaled(8), n.bottom - Scaled(6)});
      Park();
    }
    PostMessageW(notice, WM_COMMAND, IDOK, 0);
    for (int n = 0; n < 100 && program.MessageBoxWindow(0); n++) Sleep(20);
  }
}

// One run of the program with the skin: the main window active, its
// menus, the skin dialog in front of it and behind it, the notice.
void LookTest::MeasureSkin(const std::wstring& skin) {
  skin_ = Utf8(skin);
  picture_buttons_ = ReadBytes(InApp(L"app\\Skin\\" + skin + L".she")).find("image_caption_max") !=
                     std::string::npos;
  WriteBytes(InApp(L"app\\config.ini"), "[Options]\r\nSkinName=" + Gbk(skin) + "\r\n");
  Program program(InApp(L"app"));
  HWND main = program.main();
  if (!main) return Check("the main window shows", 0, 1);
  // Side by side on the screen: the main window left, the dialog right.
  SetWindowPos(main, nullptr, 8, 8, Scaled(800), Scaled(600), SWP_NOZORDER);
  SetForegroundWindow(main);
  program.Sync();
  MeasureMainWindow(program);
  MeasureMenus(program);

  PostMessageW(main, WM_COMMAND, kChangeSkinCommand, 0);
  HWND dialog = program.Dialog();
  if (!dialog) return Check("the skin dialog shows", 0, 1);
  RECT d = RectOf(dialog);
  SetWindowPos(dialog, nullptr, GetSystemMetrics(SM_CXSCREEN) - (d.right - d.left) - 8, 8, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER);
  program.Sync();
  MeasureDialog(program, dialog);
  MeasureNotice(program);
}

std::vector<std::wstring> SkinsToMeasure() {
  std::vector<std::wstring> names;
  if (const wchar_t* list = _wgetenv(L"LOOK_SKINS")) {  // names, comma-separated
    std::wstring all = std::wstring(list) + L",";
    for (size_t at = 0, comma; (comma = all.find(L',', at)) != std::wstring::npos; at = comma + 1)
      names.push_back(std::wstring(all.begin() + at, all.begin() + comma));
    return names;
  }
  return ShippedSkins();
}

// The formula against figures published with WCAG 2: black on white is
// 21:1, #767676 on white the lightest grey that makes 4.5:1.
TEST(LookContrast, MatchesPublishedFigures) {
  EXPECT_NEAR(Contrast(RGB(0, 0, 0), RGB(255, 255, 255)), 21.0, 1e-9);
  EXPECT_NEAR(Contrast(RGB(0x76, 0x76, 0x76), RGB(255, 255, 255)), 4.54, 0.01);
  EXPECT_NEAR(Contrast(RGB(0x77, 0x77, 0x77), RGB(255, 255, 255)), 4.48, 0.01);
  EXPECT_NEAR(Contrast(RGB(255, 0, 0), RGB(255, 255, 255)), 4.0, 0.01);
  EXPECT_DOUBLE_EQ(Contrast(RGB(10, 20, 30), RGB(10, 20, 30)), 1.0);
}

// The crop readings on a picture made here, whose figures are known: on
// white, a line of black strokes, a grey rule, a highlighted line, and a
// dotted rectangle that comes with the focus.
TEST(LookPixels, ReadLinesRulesAndFocusOfAKnownPicture) {
  const COLORREF white = RGB(255, 255, 255);
  Picture p;
  p.width = 60;
  p.height = 40;
  p.pixels.assign(60 * 40, white);
  auto put = [&](int x, int y, COLORREF c) { p.pixels[size_t(y) * p.width + x] = c; };
  for (int y = 4; y < 10; y++)
    for (int x = 20; x < 30; x += 2) put(x, y, RGB(0, 0, 0));      // strokes
  for (int x = 2; x < 58; x++) put(x, 14, RGB(0x88, 0x88, 0x88));  // a rule
  // A highlighted line: white strokes on a band that stops 2 px short of
  // either side.
  for (int y = 18; y < 28; y++)
    for (int x = 2; x < 58; x++) put(x, y, RGB(0x1E, 0x5B, 0x43));
  for (int y = 20; y < 26; y++)
    for (int x = 20; x < 30; x += 3) put(x, y, white);
  std::vector<TextLine> lines = TextLines(p);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].top, 4);
  EXPECT_EQ(lines[0].bottom, 10);
  EXPECT_EQ(lines[0].strokes, 30);
  EXPECT_NEAR(lines[0].median, 21.0, 1e-9);
  EXPECT_EQ(lines[1].top, 20);
  EXPECT_EQ(lines[1].strokes, 24);  // the white margins are left out
  EXPECT_NEAR(lines[1].median, 7.98, 0.01);
  std::vector<Rule> rules = Rules(p);
  ASSERT_EQ(rules.size(), 1u);
  EXPECT_EQ(rules[0].top, 14);
  EXPECT_NEAR(rules[0].contrast, Contrast(RGB(0x88, 0x88, 0x88), white), 1e-9);

  // A dotted rectangle two rows above the first line's strokes, and on
  // its first stroke's column at the left.
  Picture focused = p;
  for (int x = 20; x < 40; x += 2) focused.pixels[size_t(2) * p.width + x] = RGB(0, 0, 0);
  for (int x = 20; x < 40; x += 2) focused.pixels[size_t(12) * p.width + x] = RGB(0, 0, 0);
  for (int y = 2; y < 13; y += 2) focused.pixels[size_t(y) * p.width + 39] = RGB(0, 0, 0);
  EXPECT_EQ(FocusClearance(focused, p), 1);
  for (int y = 2; y < 13; y += 2) focused.pixels[size_t(y) * p.width + 19] = RGB(0, 0, 0);
  EXPECT_EQ(FocusClearance(focused, p), 0);
  EXPECT_EQ(FocusClearance(p, p), -1);
}

// A glossy highlight drawn from a picture stretched with the DPI: a lighter
// and a darker half, each shaded top to bottom, every row a shade darker.
// Its text is still one line, read against each row's shade, with the
// white margins beside the band left out.
TEST(LookPixels, ReadOneLineOnABandShadedTopToBottom) {
  const COLORREF white = RGB(255, 255, 255);
  Picture p;
  p.width = 60;
  p.height = 40;
  p.pixels.assign(60 * 40, white);
  auto put = [&](int x, int y, COLORREF c) { p.pixels[size_t(y) * p.width + x] = c; };
  for (int y = 8; y < 20; y++)
    for (int x = 2; x < 58; x++) put(x, y, RGB(70 - (y - 8), 110 - (y - 8), 160 - 2 * (y - 8)));
  for (int y = 20; y < 32; y++)
    for (int x = 2; x < 58; x++) put(x, y, RGB(40 - (y - 20), 80 - (y - 20), 120 - 2 * (y - 20)));
  for (int y = 12; y < 27; y++)
    for (int x = 20; x < 30; x += 3) put(x, y, white);
  std::vector<TextLine> lines = TextLines(p);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].top, 12);
  EXPECT_EQ(lines[0].bottom, 27);
  EXPECT_EQ(lines[0].strokes, 4 * 15);
  // Between white on the band's lightest and darkest rows of text.
  EXPECT_GT(lines[0].median, Contrast(white, RGB(66, 106, 152)));
  EXPECT_LT(lines[0].median, Contrast(white, RGB(34, 74, 108)));
}

TEST_F(LookTest, EveryShippedSkinReadsAsDesigned) {
  std::vector<std::wstring> skins = SkinsToMeasure();
  ASSERT_FALSE(skins.empty());
  for (const std::wstring& skin : skins) MeasureSkin(skin);
  Print();
  for (const Figure& f : Failures()) ADD_FAILURE() << Describe(f);
}

// The measurement itself: a skin whose title text and caption buttons
// hover are the title band's own colour must be reported by its name and
// those rules.
TEST_F(LookTest, ASkinWithAnInvisibleTitleIsReported) {
  if (getenv("LOOK_SKINS")) GTEST_SKIP() << "measured in the full run";
  WriteBytes(InApp(L"app\\Skin\\Broken.she"),
             "she = 1\r\nname = Broken\r\n"
             "face = #E3F1EA\r\nface_text = #123F2E\r\nwindow = #FAFFFC\r\n"
             "window_text = #0E2E22\r\nmenu = #D3EADF\r\nborder = #3E7D63\r\n"
             "caption_active = #1A4F3B\r\ncaption_active_text = #1A4F3B\r\n"
             "button_hover = #1A4F3B\r\n");
  MeasureSkin(L"Broken");
  DeleteFileW(InApp(L"app\\Skin\\Broken.she").c_str());
  Print();
  std::string reported;
  for (const Figure& f : Failures()) reported += Describe(f) + "\n";
  EXPECT_NE(reported.find("Broken at 96 DPI, active caption: median stroke contrast: "),
            std::string::npos)
      << reported;
  EXPECT_NE(reported.find("Broken at 96 DPI, caption button hover (maximise) against the band: "),
            std::string::npos)
      << reported;
}

}  // namespace
