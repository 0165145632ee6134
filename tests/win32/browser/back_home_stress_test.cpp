// Back and Home given again and again right after start, while the other
// core is kept busy: by the keys, as the user gives them, and as commands
// queued before the control has settled and as the window closes. The
// program survives every start, never hands the focus to the control's
// window while that is being destroyed, and still requests its home page.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

#include "internet_settings.h"
#include "local_http_server.h"
#include "main_window/frmMain.h"
#include "support/menu_reader.h"
#include "support/wine_test.h"

using namespace wine_test;

namespace {

// Keeps a core busy for as long as it lives.
class BusyCore {
 public:
  BusyCore()
      : thread_([this] {
          volatile unsigned long spin = 0;
          while (!stop_) ++spin;
        }) {}
  ~BusyCore() {
    stop_ = true;
    thread_.join();
  }

 private:
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

// Key presses as the keyboard gives them: Alt+N opens the first menu, then
// a letter chooses an item of it.
void ChooseByKeys(WORD letter) {
  INPUT keys[6] = {};
  const WORD order[6] = {VK_MENU, 'N', 'N', VK_MENU, letter, letter};
  for (int i = 0; i < 6; ++i) {
    keys[i].type = INPUT_KEYBOARD;
    keys[i].ki.wVk = order[i];
    if (i == 2 || i == 3 || i == 5) keys[i].ki.dwFlags = KEYEVENTF_KEYUP;
  }
  SendInput(6, keys, sizeof(INPUT));
}

// Watches the focus while a window closes: the focus must never be given to
// a window whose destruction has begun.
class FocusWatch {
 public:
  FocusWatch() : hook_(SetWindowsHookExW(WH_CBT, Watch, nullptr, GetCurrentThreadId())) {}
  ~FocusWatch() { UnhookWindowsHookEx(hook_); }
  FocusWatch(const FocusWatch&) = delete;
  FocusWatch& operator=(const FocusWatch&) = delete;
  static int intoDying;

 private:
  static LRESULT CALLBACK Watch(int code, WPARAM wp, LPARAM lp) {
    const auto hwnd = reinterpret_cast<HWND>(wp);
    if (code == HCBT_DESTROYWND) dying_.push_back(hwnd);
    if (code == HCBT_SETFOCUS && std::find(dying_.begin(), dying_.end(), hwnd) != dying_.end())
      ++intoDying;
    return CallNextHookEx(nullptr, code, wp, lp);
  }
  static std::vector<HWND> dying_;
  HHOOK hook_;
};
int FocusWatch::intoDying = 0;
std::vector<HWND> FocusWatch::dying_;

int HomeRequests(browser_test::LocalHttpServer& server) {
  int count = 0;
  for (const std::string& line : server.RequestLines())
    if (line.find("/tv/cbox.html") != std::string::npos) ++count;
  return count;
}

TEST(BackAndHome, RightAfterStartAgainAndAgainWithTheMachineBusy) {
  browser_test::LocalHttpServer server;
  ASSERT_NE(0, server.Port());
  // The home page's host is reached through a proxy on 127.0.0.1: the
  // local server answers for it.
  const std::string port = std::to_string(server.Port());
  browser_test::ScopedProxySetting proxy(L"127.0.0.1:" + std::wstring(port.begin(), port.end()));
  BusyCore busy;

  constexpr int kStarts = 30;
  constexpr DWORD kBudgetMs = 45000;
  const DWORD start = GetTickCount();
  int starts = 0;
  for (; starts < kStarts && GetTickCount() - start < kBudgetMs; ++starts) {
    SCOPED_TRACE(starts);
    auto form = toolkit::CreateForm<FrmMain>();
    form->Show();
    const HWND window = form->Hwnd();
    ASSERT_NE(nullptr, form->Web_V1());
    const UINT back = FindMenuItem(window, L"返回(&B)").id;
    const UINT home = FindMenuItem(window, L"主页(&H)").id;
    ASSERT_NE(0u, back);
    ASSERT_NE(0u, home);

    // Queued before the first event is handled, while the start-up
    // navigation is under way.
    for (int i = 0; i < 5; ++i) {
      PostMessageW(window, WM_COMMAND, MAKEWPARAM(back, 0), 0);
      PostMessageW(window, WM_COMMAND, MAKEWPARAM(home, 0), 0);
    }
    ChooseByKeys('B');
    ChooseByKeys('H');
    ChooseByKeys('B');
    Pump(150);
    for (int i = 0; i < 5; ++i) {
      SendMessageW(window, WM_COMMAND, MAKEWPARAM(back, 0), 0);
      SendMessageW(window, WM_COMMAND, MAKEWPARAM(home, 0), 0);
      Pump(10);
    }
    // Arriving as the window closes, and after it has gone.
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(back, 0), 0);
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(home, 0), 0);
    {
      FocusWatch watch;
      SendMessageW(window, WM_CLOSE, 0, 0);
    }
    EXPECT_EQ(0, FocusWatch::intoDying) << "focus given to a window being destroyed";
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(back, 0), 0);
    EXPECT_FALSE(form->IsLoaded());
    form.reset();
    Pump(30);
  }
  EXPECT_GE(starts, 5) << "too few starts in the time given";

  // Still sound: a new start requests its home page.
  auto form = toolkit::CreateForm<FrmMain>();
  form->Show();
  EXPECT_TRUE(PumpUntil([&] { return HomeRequests(server) > starts; }, 20000))
      << "home page requests: " << HomeRequests(server) << " after " << starts << " starts";
  form->Unload();
}

}  // namespace
