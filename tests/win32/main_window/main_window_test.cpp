// The main window as the user gets it: size, place, caption, the browser
// filling the client area, and log.txt after every resize.
#include <gtest/gtest.h>

#include "main_window/frmMain.h"
#include "support/wine_test.h"
#include "toolkit/app.h"
#include "toolkit/form.h"

using namespace wine_test;

namespace {

RECT WindowRectOf(HWND h) {
  RECT r = {};
  GetWindowRect(h, &r);
  return r;
}

std::string LogText() { return ReadBytes(InApp(L"log.txt")); }

std::string ExpectedLog(HWND h) {
  RECT r = WindowRectOf(h);
  return std::to_string((r.bottom - r.top) * 15) + "|" + std::to_string((r.right - r.left) * 15) +
         "\r\nH/W\r\n";
}

// Records the outer size the main window has at the moment it is first
// shown, and where its child window (the browser) is then, in client
// coordinates, next to the client area.
SIZE gSizeWhenShown = {-1, -1};
RECT gChildWhenShown = {}, gClientWhenShown = {};
LRESULT CALLBACK WatchShow(int code, WPARAM wp, LPARAM lp) {
  auto* msg = reinterpret_cast<CWPRETSTRUCT*>(lp);
  wchar_t cls[32] = {};
  GetClassNameW(msg->hwnd, cls, 32);
  if (code == HC_ACTION && msg->message == WM_SHOWWINDOW && msg->wParam &&
      std::wstring(cls) == toolkit::kFormClass && gSizeWhenShown.cx < 0) {
    RECT r = WindowRectOf(msg->hwnd);
    gSizeWhenShown = {r.right - r.left, r.bottom - r.top};
    if (HWND child = GetWindow(msg->hwnd, GW_CHILD)) {
      gChildWhenShown = WindowRectOf(child);
      MapWindowPoints(nullptr, msg->hwnd, reinterpret_cast<POINT*>(&gChildWhenShown), 2);
    }
    GetClientRect(msg->hwnd, &gClientWhenShown);
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}

class MainWindowTest : public testing::Test {
 protected:
  void SetUp() override {
    DeleteFileW(InApp(L"log.txt").c_str());
    DeleteFileW(InApp(L"config.ini").c_str());
    ClearEngineTrace();
  }
  void Start() {
    form = toolkit::CreateForm<FrmMain>();
    form->Show();
    Pump(100);
  }
  void TearDown() override {
    if (form && form->IsLoaded()) form->Unload();
    form.reset();
    Pump(50);
  }
  std::unique_ptr<FrmMain> form;
};

TEST_F(MainWindowTest, StartsAt1040x750CentredWithCaptionAndLogsItsSize) {
  HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROCRET, WatchShow, nullptr, GetCurrentThreadId());
  Start();
  UnhookWindowsHookEx(hook);
  HWND h = form->Hwnd();

  RECT r = WindowRectOf(h);
  EXPECT_EQ(1040, r.right - r.left);
  EXPECT_EQ(750, r.bottom - r.top);
  EXPECT_EQ((GetSystemMetrics(SM_CXSCREEN) - 1040) / 2, r.left);
  EXPECT_EQ((GetSystemMetrics(SM_CYSCREEN) - 750) / 2, r.top);
  // Never shown at its created size: the start-up size comes first.
  EXPECT_EQ(1040, gSizeWhenShown.cx);
  EXPECT_EQ(750, gSizeWhenShown.cy);
  // Nor with the browser anywhere but over the whole client area: it is
  // placed before anything is painted.
  EXPECT_TRUE(EqualRect(&gClientWhenShown, &gChildWhenShown))
      << gChildWhenShown.left << "," << gChildWhenShown.top << " " << gChildWhenShown.right << "x"
      << gChildWhenShown.bottom << " in " << gClientWhenShown.right << "x"
      << gClientWhenShown.bottom;

  wchar_t caption[128] = {};
  GetWindowTextW(h, caption, 128);
  EXPECT_EQ(L"Morvanta\u00B72014 - WWW.MORVANTA.TV", std::wstring(caption));
  EXPECT_NE(0, SendMessageW(h, WM_GETICON, ICON_BIG, 0));
  EXPECT_NE(0, SendMessageW(h, WM_GETICON, ICON_SMALL, 0));
  LONG style = GetWindowLongW(h, GWL_STYLE);
  EXPECT_TRUE(style & WS_THICKFRAME);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_TRUE(style & WS_MAXIMIZEBOX);

  EXPECT_EQ("11250|15600\r\nH/W\r\n", LogText());
  EXPECT_EQ(18u, LogText().size());
}

TEST_F(MainWindowTest, BrowserControlFillsTheClientArea) {
  Start();
  ASSERT_NE(nullptr, form->Web_V1()) << "the WebBrowser control was not hosted";
  HWND browser = form->BrowserWindow();
  ASSERT_NE(nullptr, browser);
  RECT client = {}, placed = {};
  GetClientRect(form->Hwnd(), &client);
  GetWindowRect(browser, &placed);
  MapWindowPoints(nullptr, form->Hwnd(), reinterpret_cast<POINT*>(&placed), 2);
  EXPECT_EQ(0, placed.left);
  EXPECT_EQ(0, placed.top);
  EXPECT_EQ(client.right, placed.right);
  EXPECT_EQ(client.bottom, placed.bottom);

  SetWindowPos(form->Hwnd(), nullptr, 0, 0, 700, 500, SWP_NOMOVE | SWP_NOZORDER);
  Pump(50);
  GetClientRect(form->Hwnd(), &client);
  GetWindowRect(browser, &placed);
  MapWindowPoints(nullptr, form->Hwnd(), reinterpret_cast<POINT*>(&placed), 2);
  EXPECT_EQ(client.right, placed.right - placed.left);
  EXPECT_EQ(client.bottom, placed.bottom - placed.top);
  EXPECT_EQ("7500|10500\r\nH/W\r\n", LogText());
}

TEST_F(MainWindowTest, SkinEngineIsAttachedFirst) {
  Start();
  auto trace = EngineTrace();
  ASSERT_FALSE(trace.empty());
  EXPECT_EQ("SkinH_Attach", trace.front());
}

TEST_F(MainWindowTest, MinimisingLeavesTheLogAloneAndRestoringRewritesIt) {
  Start();
  HWND h = form->Hwnd();
  WriteBytes(InApp(L"log.txt"), "marker");
  ShowWindow(h, SW_MINIMIZE);
  Pump(50);
  EXPECT_EQ(1, form->WindowState());
  EXPECT_EQ("marker", LogText());

  ShowWindow(h, SW_RESTORE);
  Pump(50);
  EXPECT_EQ(0, form->WindowState());
  EXPECT_EQ("11250|15600\r\nH/W\r\n", LogText());
}

TEST_F(MainWindowTest, MaximisingLogsTheMaximisedSizeAndRefrmsizeThenChangesNothing) {
  Start();
  HWND h = form->Hwnd();
  ShowWindow(h, SW_MAXIMIZE);
  Pump(50);
  ASSERT_EQ(2, form->WindowState());
  EXPECT_EQ(ExpectedLog(h), LogText());

  RECT before = WindowRectOf(h);
  form->Refrmsize(300, 200);
  RECT after = WindowRectOf(h);
  EXPECT_TRUE(EqualRect(&before, &after));
  EXPECT_EQ(2, form->WindowState());
}

TEST_F(MainWindowTest, RefrmsizeCentresEvenWhenLargerThanTheScreen) {
  Start();
  const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
  // The system caps a window a little beyond the screen size; the centring
  // uses the size the window really took, and nothing is clamped.
  form->Refrmsize(sw + 200, sh + 100);
  RECT r = WindowRectOf(form->Hwnd());
  const int width = r.right - r.left, height = r.bottom - r.top;
  ASSERT_GT(width, sw);
  ASSERT_GT(height, sh);
  EXPECT_EQ((sw - width) / 2, r.left);
  EXPECT_EQ((sh - height) / 2, r.top);
  EXPECT_LT(r.left, 0);
  EXPECT_LT(r.top, 0);
}

TEST_F(MainWindowTest, RefrmsizeOverflowIsAnErrorNotAWrongSize) {
  Start();
  RECT before = WindowRectOf(form->Hwnd());
  EXPECT_THROW(form->Refrmsize(200000000, 750), std::overflow_error);
  RECT after = WindowRectOf(form->Hwnd());
  EXPECT_TRUE(EqualRect(&before, &after));
}

// A height too large fails after the width was given, as each step of
// Refrmsize runs in turn; the place is left as it was.
TEST_F(MainWindowTest, RefrmsizeHeightOverflowFailsAfterTheWidth) {
  Start();
  RECT before = WindowRectOf(form->Hwnd());
  EXPECT_THROW(form->Refrmsize(800, 200000000), std::overflow_error);
  RECT after = WindowRectOf(form->Hwnd());
  EXPECT_EQ(800, after.right - after.left);
  EXPECT_EQ(before.bottom - before.top, after.bottom - after.top);
  EXPECT_EQ(before.left, after.left);
  EXPECT_EQ(before.top, after.top);
}

TEST_F(MainWindowTest, UnwritableLogIsSkippedQuietlyAndTheBrowserStillFills) {
  CreateDirectoryW(InApp(L"log.txt").c_str(), nullptr);
  Start();
  SetWindowPos(form->Hwnd(), nullptr, 0, 0, 640, 480, SWP_NOMOVE | SWP_NOZORDER);
  Pump(50);
  RECT client = {}, placed = {};
  GetClientRect(form->Hwnd(), &client);
  GetWindowRect(form->BrowserWindow(), &placed);
  EXPECT_EQ(client.right, placed.right - placed.left);
  RemoveDirectoryW(InApp(L"log.txt").c_str());

  // The next resize tries again and succeeds.
  SetWindowPos(form->Hwnd(), nullptr, 0, 0, 660, 480, SWP_NOMOVE | SWP_NOZORDER);
  Pump(50);
  EXPECT_EQ("7200|9900\r\nH/W\r\n", LogText());
}

TEST_F(MainWindowTest, AReadOnlyLogIsLeftAloneAsWindowsWould) {
  const std::wstring log = InApp(L"log.txt");
  WriteBytes(log, "marker");
  ASSERT_TRUE(SetFileAttributesW(log.c_str(), FILE_ATTRIBUTE_READONLY));
  Start();
  SetWindowPos(form->Hwnd(), nullptr, 0, 0, 640, 480, SWP_NOMOVE | SWP_NOZORDER);
  Pump(50);
  EXPECT_EQ("marker", LogText());
  EXPECT_EQ(static_cast<DWORD>(FILE_ATTRIBUTE_READONLY),
            GetFileAttributesW(log.c_str()) & ~FILE_ATTRIBUTE_ARCHIVE);

  // Once the mark is gone the next resize writes the log again.
  SetFileAttributesW(log.c_str(), FILE_ATTRIBUTE_NORMAL);
  SetWindowPos(form->Hwnd(), nullptr, 0, 0, 660, 480, SWP_NOMOVE | SWP_NOZORDER);
  Pump(50);
  EXPECT_EQ("7200|9900\r\nH/W\r\n", LogText());
}

TEST_F(MainWindowTest, ClosingTheMainWindowUnloadsIt) {
  Start();
  EXPECT_EQ(1, toolkit::LoadedFormCount());
  SendMessageW(form->Hwnd(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(form->IsLoaded());
  EXPECT_EQ(0, toolkit::LoadedFormCount());
}

}  // namespace
