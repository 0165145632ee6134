// Shows one sample skin on a main window and a dialog laid out like the
// program's, then waits, so that the screen can be photographed:
//   skin_showcase.exe <skin base name> [hue] [seconds]
// The skin is read from the Skin folder beside this program.
#include <windows.h>

#include <cstdlib>
#include <string>

#include "skins/SkinH.h"
#include "support/screen.h"

namespace {

std::wstring Folder() {
  wchar_t path[MAX_PATH];
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring p = path;
  return p.substr(0, p.rfind(L'\\'));
}

HWND MainWindow() {
  WNDCLASSW wc = {};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = L"ShowcaseMain";
  RegisterClassW(&wc);

  HMENU bar = CreateMenu();
  const wchar_t* items[] = {L"\u540e\u9000(&B)", L"\u5237\u65b0(&R)", L"\u4e3b\u9875(&H)",
                            L"\u7a97\u53e3\u7f6e\u9876(&T)", L"\u66f4\u6362\u4e3b\u9898(&S)"};
  for (int i = 0; i < 5; i++) AppendMenuW(bar, MF_STRING, 100 + i, items[i]);
  HWND hwnd = CreateWindowExW(0, L"ShowcaseMain", L"Morvanta\u00b72014", WS_OVERLAPPEDWINDOW, 20,
                              20, 640, 420, nullptr, bar, wc.hInstance, nullptr);
  HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  HWND label = CreateWindowExW(0, L"Static", L"\u5730\u5740 Address:", WS_CHILD | WS_VISIBLE, 12,
                               16, 90, 20, hwnd, nullptr, nullptr, nullptr);
  HWND edit =
      CreateWindowExW(WS_EX_CLIENTEDGE, L"Edit", L"http://tv.example/", WS_CHILD | WS_VISIBLE, 104,
                      12, 300, 24, hwnd, nullptr, nullptr, nullptr);
  HWND text = CreateWindowExW(WS_EX_CLIENTEDGE, L"Edit",
                              L"\u7535\u89c6\u76f4\u64ad \u2014 online TV\r\n"
                              L"The quick brown fox jumps over the lazy dog.",
                              WS_CHILD | WS_VISIBLE | ES_MULTILINE, 12, 48, 600, 290, hwnd, nullptr,
                              nullptr, nullptr);
  for (HWND h : {label, edit, text}) SendMessageW(h, WM_SETFONT, WPARAM(font), TRUE);
  ShowWindow(hwnd, SW_SHOW);
  return hwnd;
}

// The dialog manager does all the work for these dialogs.
INT_PTR CALLBACK NoDialogProc(HWND, UINT, WPARAM, LPARAM) { return 0; }

HWND SkinDialog() {
  engine_test::DialogTemplate t(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | WS_VISIBLE,
                                228, 142, L"Morvanta\u00b72014 \u66f4\u6362\u4e3b\u9898");
  t.Add(0x0080, BS_GROUPBOX, 8, 4, 105, 134, 1, L"\u76ae\u80a4\u5217\u8868");
  t.Add(0x0083, WS_BORDER | LBS_NOTIFY | WS_VSCROLL, 16, 16, 89, 118, 100, L"");
  t.Add(0x0080, BS_GROUPBOX, 118, 4, 104, 134, 2, L"\u76ae\u80a4\u9009\u9879");
  t.Add(0x0082, SS_LEFT, 128, 24, 30, 12, 3, L"\u8272\u8c03:");
  t.Add(0x0081, WS_BORDER | ES_AUTOHSCROLL, 158, 22, 36, 14, 4, L"30");
  t.Add(0x0082, SS_LEFT, 196, 24, 26, 12, 5, L"-180/180");
  t.Add(0x0082, SS_LEFT, 124, 48, 32, 12, 6, L"\u900f\u660e\u5ea6:");
  t.Add(0x0081, WS_BORDER | ES_AUTOHSCROLL, 158, 46, 36, 14, 7, L"");
  t.Add(0x0082, SS_LEFT, 196, 48, 24, 12, 8, L"0/255");
  t.Add(0x0080, BS_AUTOCHECKBOX, 128, 72, 92, 20, 9,
        L"\u4e00\u952e\u542f\u7528 Aero \uff08\u7a97\u4f53\u900f\u660e\uff09");
  t.Add(0x0080, BS_PUSHBUTTON, 124, 116, 44, 16, 10, L"\u5173\u95ed(&X)");
  t.Add(0x0080, BS_PUSHBUTTON, 172, 116, 44, 16, 11, L"\u4fdd\u5b58(&S)");
  HWND dialog =
      CreateDialogIndirectParamW(GetModuleHandleW(nullptr), t.get(), nullptr, NoDialogProc, 0);
  SetWindowPos(dialog, HWND_TOP, 700, 120, 0, 0, SWP_NOSIZE);
  HWND list = GetDlgItem(dialog, 100);
  const wchar_t* names[] = {L"Graphite", L"Jade", L"Sand", L"\u6731\u7802", L"\u9752\u82b1"};
  for (const wchar_t* n : names) SendMessageW(list, LB_ADDSTRING, 0, LPARAM(n));
  SendMessageW(list, LB_SETCURSEL, 4, 0);
  return dialog;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 2;
  int hue = argc > 2 ? _wtoi(argv[2]) : 0;
  int seconds = argc > 3 ? _wtoi(argv[3]) : 10;

  if (!SkinH::SkinH_Attach()) return 3;
  if (!SkinH::SkinH_AttachEx(Folder() + L"\\Skin\\" + argv[1] + L".she", L"")) return 4;
  SkinH::SkinH_AdjustHSV(int16_t(hue), 0, 0);
  MainWindow();
  SkinDialog();

  DWORD end = GetTickCount() + seconds * 1000;
  while (GetTickCount() < end) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    Sleep(20);
  }
  return 0;
}
