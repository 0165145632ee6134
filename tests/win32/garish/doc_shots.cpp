// Not a test: takes the documentation's pictures with the real program,
// engine and shipped skins (scripts/doc-shots.sh runs it in the ordinary
// prefix). Per skin, the main window with the skin dialog over it and the
// dialog alone, as <folder>\<skin>.ppm and <folder>\<skin>-dialog.ppm, at
// the hue given as the second argument (stored as SkinHue) or none. The
// extra skins that make the list scroll are set aside meanwhile.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "support/program.h"
#include "support/screen.h"
#include "support/wine_test.h"

using namespace wine_test;  // the program seen from outside, files in its folder
using engine_test::Shot;

namespace {

std::vector<std::wstring> Extras() {
  std::vector<std::wstring> extras;
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW(InApp(L"app\\Skin\\zz-extra-*.she").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return extras;
  do extras.push_back(InApp(L"app\\Skin\\") + data.cFileName);
  while (FindNextFileW(find, &data));
  FindClose(find);
  return extras;
}

bool Shoot(const std::wstring& skin, const std::wstring& folder, const std::string& hue) {
  wine_test::WriteBytes(InApp(L"app\\config.ini"),
                        "[Options]\r\nSkinName=" + Gbk(skin) + "\r\n" +
                            (hue.empty() ? "" : "SkinHue=" + hue + "\r\n"));
  Program program(InApp(L"app"));
  HWND main = program.main();
  if (!main) return false;
  PostMessageW(main, WM_COMMAND, kChangeSkinCommand, 0);
  HWND dialog = program.Dialog();
  if (!dialog) return false;
  HWND list = FindChild(dialog, [](HWND h) { return ClassOf(h) == L"ListBox"; });
  int at = int(SendMessageW(list, LB_FINDSTRINGEXACT, WPARAM(-1), LPARAM(skin.c_str())));
  SendMessageW(list, LB_SETCURSEL, at, 0);  // shown selected, as after a click on it
  RECT m = RectOf(main), d = RectOf(dialog);
  SetWindowPos(dialog, nullptr, m.right - (d.right - d.left) - 60, m.top + 120, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER);
  SetForegroundWindow(dialog);
  program.Sync();
  return Shot::Settled(m).SavePpm(folder + L"\\" + skin + L".ppm") &&
         Shot::Settled(RectOf(dialog)).SavePpm(folder + L"\\" + skin + L"-dialog.ppm");
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: doc_shots <folder for the pictures> [hue]\n");
    return 2;
  }
  std::vector<std::wstring> extras = Extras();
  for (const auto& e : extras) MoveFileW(e.c_str(), (e + L".aside").c_str());
  int failed = 0;
  for (const std::wstring& skin : ShippedSkins()) {
    if (!Shoot(skin, argv[1], argc > 2 ? wine_test::Utf8(argv[2]) : "")) {
      std::fprintf(stderr, "no picture of skin %s\n", wine_test::Utf8(skin).c_str());
      failed++;
    }
  }
  for (const auto& e : extras) MoveFileW((e + L".aside").c_str(), e.c_str());
  return failed ? 1 : 0;
}
