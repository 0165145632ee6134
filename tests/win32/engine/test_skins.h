// Skin files that the engine tests write themselves, with every colour
// given, so that each colour a test expects on the screen is stated here
// and not worked out by the engine's own code. No colour is grey (a hue
// shift moves every one) and no two are alike, within a skin or across
// the two, so a part drawn in the wrong role's colour shows.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "support/screen.h"
#include "support/wine_test.h"

namespace engine_test {

// In the order of the file's keys.
// clang-format off
enum Key { window, window_text, face, face_text, menu, border, caption_active,
           caption_active_text, caption_inactive, caption_inactive_text, button_face,
           button_text, button_hover, button_pressed, button_border, selection, selection_text,
           menu_text, menu_highlight, menu_highlight_text, scroll_track, scroll_thumb,
           check_mark, kKeyCount };
inline const char* const kKeyNames[kKeyCount] = {"window", "window_text", "face", "face_text",
    "menu", "border", "caption_active", "caption_active_text", "caption_inactive",
    "caption_inactive_text", "button_face", "button_text", "button_hover", "button_pressed",
    "button_border", "selection", "selection_text", "menu_text", "menu_highlight",
    "menu_highlight_text", "scroll_track", "scroll_thumb", "check_mark"};
// clang-format on

inline COLORREF FromHex(uint32_t rgb) { return RGB(rgb >> 16, (rgb >> 8) & 0xFF, rgb & 0xFF); }

struct TestSkin {
  const wchar_t* name;      // the file is Skin\<name>.she
  uint32_t rgb[kKeyCount];  // 0xRRGGBB, as written in the file
  COLORREF operator[](Key k) const { return FromHex(rgb[k]); }
  std::wstring File() const { return L"Skin\\" + std::wstring(name) + L".she"; }
};

// clang-format off
inline const TestSkin kLight = {L"Light", {
    0xF4FAE8, 0x0B2E59, 0xE8D8F4, 0x5A0F2E, 0xD6F0F8, 0x1E7A5A, 0x8A1C6C, 0xFFF2B8,
    0xB8C8E8, 0x3A2A08, 0xF8E4D0, 0x143C14, 0xF0C8A0, 0xD89868, 0x6A2A8A, 0x2050C0,
    0xFFF0F8, 0x402060, 0xC03020, 0xF0FFE0, 0xC8E0B0, 0x4A6AA8, 0xD02080}};
inline const TestSkin kDark = {L"Dark", {
    0x101C2C, 0xE0F4FF, 0x2C1A30, 0xF8E0C0, 0x1A3020, 0xC08030, 0x305878, 0xFFE0F0,
    0x483828, 0xC0E0A0, 0x3A2450, 0xF0F0A8, 0x54306C, 0x6C3C88, 0xA0C0E0, 0xE07050,
    0x0C1808, 0xB0F0D0, 0x60B0F0, 0x200810, 0x2A3C58, 0x9080D0, 0x70F060}};
// clang-format on

inline std::string SkinText(const TestSkin& s) {
  std::string text = "she = 1\nname = test\n";
  for (int k = 0; k < kKeyCount; k++) text += kKeyNames[k] + (" = " + Hex(s[Key(k)])) + "\n";
  return text;
}

// Writes the skin into the application folder; its path there.
inline std::wstring WriteSkin(const TestSkin& s) {
  CreateDirectoryW(wine_test::InApp(L"Skin").c_str(), nullptr);
  std::wstring path = wine_test::InApp(s.File());
  wine_test::WriteBytes(path, SkinText(s));
  return path;
}

// A hue turned by +120 degrees: red becomes green, green blue, blue red,
// so every colour's channels move one place along.
inline COLORREF HueTurned120(COLORREF c) { return RGB(GetBValue(c), GetRValue(c), GetGValue(c)); }

// A plain captioned window of the test's own, shown, active and painted.
inline HWND MakeShownWindow(int x, int y, int width, int height, const wchar_t* title) {
  static const bool registered = [] {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = L"EngineTestWindow";
    return RegisterClassW(&wc) != 0;
  }();
  (void)registered;
  HWND hwnd = CreateWindowExW(0, L"EngineTestWindow", title, WS_OVERLAPPEDWINDOW, x, y, width,
                              height, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  ShowWindow(hwnd, SW_SHOWNORMAL);
  UpdateWindow(hwnd);
  SetForegroundWindow(hwnd);
  wine_test::PumpUntil([hwnd] { return GetForegroundWindow() == hwnd; }, 2000);
  wine_test::Pump(300);
  return hwnd;
}

}  // namespace engine_test

#define EXPECT_COLOR(actual, expected) \
  EXPECT_EQ(engine_test::Hex(actual), engine_test::Hex(expected))
