// The real program, started and looked at from outside, for the garish
// measurement and for the documentation's screenshots.
#pragma once

#include <windows.h>

#include <algorithm>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "support/wine_test.h"

namespace garish {

inline RECT RectOf(HWND hwnd) {
  RECT r = {};
  GetWindowRect(hwnd, &r);
  return r;
}

// ---- the program, seen from outside ------------------------------------------

struct Found {
  DWORD pid;
  std::function<bool(HWND)> match;
  HWND hwnd = nullptr;
};

inline std::wstring ClassOf(HWND hwnd) {
  wchar_t cls[64] = {};
  GetClassNameW(hwnd, cls, 64);
  return cls;
}

inline std::wstring TextOf(HWND hwnd) {
  wchar_t text[256] = {};
  GetWindowTextW(hwnd, text, 256);
  return text;
}

inline BOOL CALLBACK MatchTopLevel(HWND hwnd, LPARAM lp) {
  auto* f = reinterpret_cast<Found*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid == f->pid && IsWindowVisible(hwnd) && f->match(hwnd)) {
    f->hwnd = hwnd;
    return FALSE;
  }
  return TRUE;
}

inline HWND FindTopLevel(DWORD pid, std::function<bool(HWND)> match, int timeout_ms = 5000) {
  Found found{pid, std::move(match)};
  DWORD start = GetTickCount();
  do {
    EnumWindows(MatchTopLevel, reinterpret_cast<LPARAM>(&found));
    if (found.hwnd || timeout_ms == 0) break;
    Sleep(20);
  } while (GetTickCount() - start < DWORD(timeout_ms));
  return found.hwnd;
}

struct ChildSearch {
  std::function<bool(HWND)> match;
  HWND hwnd = nullptr;
};

inline BOOL CALLBACK MatchChild(HWND hwnd, LPARAM lp) {
  auto* a = reinterpret_cast<ChildSearch*>(lp);
  if (!a->match(hwnd)) return TRUE;
  a->hwnd = hwnd;
  return FALSE;
}

inline HWND FindChild(HWND parent, std::function<bool(HWND)> match) {
  ChildSearch search{std::move(match)};
  EnumChildWindows(parent, MatchChild, reinterpret_cast<LPARAM>(&search));
  return search.hwnd;
}

// The program's commands, as its menu sends them.
inline constexpr WORD kKeepOnTopCommand = 104;
inline constexpr WORD kChangeSkinCommand = 105;

inline const wchar_t kMainTitle[] = L"Morvanta\u00b72014 - WWW.MORVANTA.TV";
inline const wchar_t kDialogTitle[] = L"Morvanta\u00b72014 \u66f4\u6362\u4e3b\u9898";  // 更换主题

struct Figure {
  std::wstring skin, window, state;
  double share;
};

class Program {
 public:
  Program(const std::wstring& folder) : folder_(folder) {
    STARTUPINFOW si = {sizeof si};
    std::wstring exe = folder + L"\\Morvanta.exe";
    std::wstring command = L"\"" + exe + L"\"";
    started_ = CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                              folder.c_str(), &si, &pi_);
    if (started_) {
      main_ = FindTopLevel(
          pi_.dwProcessId, [](HWND h) { return TextOf(h) == kMainTitle; }, 30000);
    }
  }
  ~Program() {
    if (!started_) return;
    // The program runs until its last form is closed: the dialog too.
    if (HWND dialog = Dialog(0)) PostMessageW(dialog, WM_CLOSE, 0, 0);
    if (IsWindow(main_)) PostMessageW(main_, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(pi_.hProcess, 10000) != WAIT_OBJECT_0)
      TerminateProcess(pi_.hProcess, 1);
    CloseHandle(pi_.hThread);
    CloseHandle(pi_.hProcess);
  }

  DWORD pid() const { return pi_.dwProcessId; }
  HWND main() const { return main_; }

  // Waits until the program has handled everything sent to it so far.
  void Sync() const {
    DWORD_PTR result;
    SendMessageTimeoutW(main_, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result);
  }

  HWND Dialog(int timeout_ms = 5000) const {
    return FindTopLevel(
        pi_.dwProcessId, [](HWND h) { return TextOf(h) == kDialogTitle; }, timeout_ms);
  }

  // A message box: a dialog whose text sits in the static 0xFFFF.
  HWND MessageBoxWindow(int timeout_ms = 5000) const {
    return FindTopLevel(
        pi_.dwProcessId,
        [](HWND h) { return ClassOf(h) == L"#32770" && GetDlgItem(h, 0xFFFF) != nullptr; },
        timeout_ms);
  }

  HWND DropDown(int timeout_ms = 5000) const {
    return FindTopLevel(
        pi_.dwProcessId, [](HWND h) { return ClassOf(h) == L"#32768"; }, timeout_ms);
  }

  // Escape twice, as a user leaves a menu and then the menu bar; true once
  // no drop-down is open any more.
  bool CloseMenus() const {
    PostMessageW(main_, WM_KEYDOWN, VK_ESCAPE, 0);
    PostMessageW(main_, WM_KEYDOWN, VK_ESCAPE, 0);
    for (int n = 0; n < 100 && DropDown(0); n++) Sleep(20);
    return !DropDown(0);
  }

 private:
  std::wstring folder_;
  PROCESS_INFORMATION pi_ = {};
  bool started_ = false;
  HWND main_ = nullptr;
};

// The shipped skins' names, from the copies in the test folder's "shipped".
inline std::vector<std::wstring> ShippedSkins() {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW(wine_test::InApp(L"shipped\\*.she").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    std::wstring n = data.cFileName;
    names.push_back(n.substr(0, n.size() - 4));
  } while (FindNextFileW(find, &data));
  FindClose(find);
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace garish
