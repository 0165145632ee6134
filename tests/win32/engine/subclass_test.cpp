// The engine's window subclassing on real windows: the order in which the
// procedures see a message, a procedure leaving from inside its own
// message, giving the window back, and windows of the ANSI kind.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "subclass.h"

namespace {

namespace subclass = dulib::subclass;

// What the procedures saw, in order: one letter per procedure.
std::string g_seen;

LRESULT CALLBACK Marker(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR letter) {
  if (msg == WM_USER) g_seen += static_cast<char>(letter);
  return subclass::CallNext(hwnd, msg, wp, lp);
}

// Takes itself out while handling WM_USER, then passes the message on.
LRESULT CALLBACK Leaver(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR) {
  if (msg == WM_USER) {
    g_seen += 'L';
    subclass::Remove(hwnd, Leaver, id);
  }
  return subclass::CallNext(hwnd, msg, wp, lp);
}

// Takes the marker with id 1 out while handling WM_USER.
LRESULT CALLBACK Remover(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
  if (msg == WM_USER) {
    g_seen += 'R';
    subclass::Remove(hwnd, Marker, 1);
  }
  return subclass::CallNext(hwnd, msg, wp, lp);
}

// Sends itself a second message from inside the first.
LRESULT CALLBACK Nester(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
  if (msg == WM_USER && wp == 0) {
    g_seen += '(';
    SendMessageW(hwnd, WM_USER, 1, 0);
    g_seen += ')';
  }
  return subclass::CallNext(hwnd, msg, wp, lp);
}

LRESULT CALLBACK Own(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_USER) {
    g_seen += 'W';
    return 42;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

LRESULT CALLBACK Foreign(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_USER) g_seen += 'F';
  return CallWindowProcW(reinterpret_cast<WNDPROC>(GetPropW(hwnd, L"next")), hwnd, msg, wp, lp);
}

class SubclassTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = Own;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"SubclassTestWindow";
    RegisterClassW(&wc);
    hwnd_ = CreateWindowW(L"SubclassTestWindow", L"", WS_OVERLAPPED, 0, 0, 50, 50, nullptr, nullptr,
                          wc.hInstance, nullptr);
    ASSERT_TRUE(hwnd_);
    g_seen.clear();
  }
  void TearDown() override {
    if (IsWindow(hwnd_)) DestroyWindow(hwnd_);
  }
  std::string Send(WPARAM wp = 0) {
    g_seen.clear();
    EXPECT_EQ(42, SendMessageW(hwnd_, WM_USER, wp, 0));
    return g_seen;
  }
  WNDPROC Proc() const { return reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hwnd_, GWLP_WNDPROC)); }

  HWND hwnd_ = nullptr;
};

TEST_F(SubclassTest, NewestFirstThenTheWindowsOwn) {
  ASSERT_TRUE(subclass::Set(hwnd_, Marker, 1, 'A'));
  ASSERT_TRUE(subclass::Set(hwnd_, Marker, 2, 'B'));
  EXPECT_EQ("BAW", Send());
  // Setting again changes the data, not the order.
  ASSERT_TRUE(subclass::Set(hwnd_, Marker, 1, 'C'));
  EXPECT_EQ("BCW", Send());
  DWORD_PTR data = 0;
  EXPECT_TRUE(subclass::Get(hwnd_, Marker, 2, &data));
  EXPECT_EQ(DWORD_PTR('B'), data);
  EXPECT_FALSE(subclass::Get(hwnd_, Marker, 3, &data));
}

TEST_F(SubclassTest, LeavingInsideAMessageStillPassesItOn) {
  ASSERT_TRUE(subclass::Set(hwnd_, Marker, 1, 'A'));
  ASSERT_TRUE(subclass::Set(hwnd_, Leaver, 2, 0));
  ASSERT_TRUE(subclass::Set(hwnd_, Marker, 3, 'B'));
  EXPECT_EQ("BLAW", Send());
  EXPECT_EQ("BAW", Send());
  EXPECT_FALSE(subclass::Get(hwnd_, Leaver, 2, nullptr));
}

TEST_F(SubclassTest, OneTakenOutInsideAMessageIsSkippedAtOnce) {
  ASSERT_TRUE(subclass::Set(hwnd_, Marker, 1, 'A'));
  ASSERT_TRUE(subclass::Set(hwnd_, Remover, 2, 0));
  EXPECT_EQ("RW", Send());
}

TEST_F(SubclassTest, ANestedMessageGoesThroughTheWholeChain) {
  ASSERT_TRUE(subclass::Set(hwnd_, Marker, 1, 'A'));
  ASSERT_TRUE(subclass::Set(hwnd_, Nester, 2, 0));
  // The outer message continues below the nester after the inner one.
  EXPECT_EQ("(AW)AW", Send());
}

TEST_F(SubclassTest, TheLastRemovalGivesTheWindowItsProcedureBack) {
  ASSERT_TRUE(subclass::Set(hwnd_, Marker, 1, 'A'));
  EXPECT_NE(Own, Proc());
  subclass::Remove(hwnd_, Marker, 1);
  EXPECT_EQ(Own, Proc());
  EXPECT_EQ("W", Send());
}

TEST_F(SubclassTest, ASubclassPutOverOursKeepsWorkingAfterOursLeaves) {
  ASSERT_TRUE(subclass::Set(hwnd_, Marker, 1, 'A'));
  SetPropW(hwnd_, L"next", reinterpret_cast<HANDLE>(Proc()));
  SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Foreign));
  EXPECT_EQ("FAW", Send());
  subclass::Remove(hwnd_, Marker, 1);
  EXPECT_EQ(Foreign, Proc());
  EXPECT_EQ("FW", Send());
  // And ours can come back under it.
  ASSERT_TRUE(subclass::Set(hwnd_, Marker, 1, 'A'));
  EXPECT_EQ("FAW", Send());
  RemovePropW(hwnd_, L"next");
}

// Another library on the same window through comctl32's chain. Over the
// engine's, as the creation hook makes it: each side can leave in any
// order and the other keeps working.
LRESULT CALLBACK Comctl(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR letter) {
  if (msg == WM_USER) g_seen += static_cast<char>(letter);
  return DefSubclassProc(hwnd, msg, wp, lp);
}

TEST_F(SubclassTest, LivesWithComctl32sChainOverIt) {
  ASSERT_TRUE(subclass::Set(hwnd_, Marker, 1, 'A'));
  ASSERT_TRUE(SetWindowSubclass(hwnd_, Comctl, 1, 'x'));
  EXPECT_EQ("xAW", Send());
  subclass::Remove(hwnd_, Marker, 1);
  EXPECT_EQ("xW", Send());
  ASSERT_TRUE(subclass::Set(hwnd_, Marker, 1, 'A'));
  EXPECT_EQ("xAW", Send());
  RemoveWindowSubclass(hwnd_, Comctl, 1);
  EXPECT_EQ("AW", Send());
  subclass::Remove(hwnd_, Marker, 1);
  EXPECT_EQ(Own, Proc());
}

// Under the engine's, as for a window subclassed before the engine came:
// Wine's comctl32, leaving last, puts back the procedure it found, which
// cuts the engine's out; subclassing again brings it back.
TEST_F(SubclassTest, ComesBackOverAComctl32ChainThatCutItOut) {
  ASSERT_TRUE(SetWindowSubclass(hwnd_, Comctl, 1, 'x'));
  ASSERT_TRUE(subclass::Set(hwnd_, Marker, 1, 'A'));
  EXPECT_EQ("AxW", Send());
  RemoveWindowSubclass(hwnd_, Comctl, 1);
  const std::string after = Send();
  EXPECT_TRUE(after == "AW" || after == "W") << after;
  ASSERT_TRUE(subclass::Set(hwnd_, Marker, 2, 'B'));
  EXPECT_EQ("BAW", Send());
}

TEST_F(SubclassTest, ADestroyedWindowLeavesNothingBehind) {
  ASSERT_TRUE(subclass::Set(hwnd_, Marker, 1, 'A'));
  DestroyWindow(hwnd_);
  EXPECT_FALSE(subclass::Get(hwnd_, Marker, 1, nullptr));
  EXPECT_FALSE(subclass::Set(hwnd_, Marker, 1, 'A'));
}

// A window of an ANSI class stays one, and its own procedure keeps getting
// texts in the ANSI code page through the chain.
std::string g_ansi_text;

LRESULT CALLBACK OwnAnsi(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_SETTEXT) g_ansi_text = reinterpret_cast<const char*>(lp);
  return DefWindowProcA(hwnd, msg, wp, lp);
}

TEST(SubclassAnsiTest, AnAnsiWindowKeepsItsCharacterSet) {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = OwnAnsi;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "SubclassTestAnsi";
  RegisterClassA(&wc);
  HWND hwnd = CreateWindowA("SubclassTestAnsi", "", WS_POPUP, 0, 0, 80, 20, nullptr, nullptr,
                            wc.hInstance, nullptr);
  ASSERT_TRUE(hwnd);
  ASSERT_FALSE(IsWindowUnicode(hwnd));
  ASSERT_TRUE(subclass::Set(hwnd, Marker, 1, 'A'));
  EXPECT_FALSE(IsWindowUnicode(hwnd));
  SetWindowTextW(hwnd, L"\u9752\u82B1");
  EXPECT_EQ("\xC7\xE0\xBB\xA8", g_ansi_text);  // 青花 in code page 936
  subclass::Remove(hwnd, Marker, 1);
  EXPECT_EQ(OwnAnsi, reinterpret_cast<WNDPROC>(GetWindowLongPtrA(hwnd, GWLP_WNDPROC)));
  DestroyWindow(hwnd);
}

}  // namespace
