// A user's hands on the mouse and keyboard, for the tests that
// work real windows.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <thread>
#include <utility>

#include "support/wine_test.h"

namespace engine_test {

// ---- a user's hands -----------------------------------------------------------
// The platform's move loop and menu loop are modal: while they run, the
// test's own thread is inside them. So the user's actions (and the looks
// taken meanwhile) run on a second thread while this one handles events.

inline void Act(const std::function<void()>& user) {
  std::atomic<bool> done{false};
  std::thread hands([&] {
    user();
    done = true;
  });
  wine_test::PumpUntil([&] { return done.load(); }, 20000);
  hands.join();
  wine_test::Pump(100);
}

// The pointer to `at` (screen pixels) with `flags` done there, then a
// pause for the windows to follow; `wheel_clicks` notches toward the user
// with MOUSEEVENTF_WHEEL. Windows of the test's own thread need their
// events pumped: those tests pass a pause of 0 and pump themselves.
constexpr int kMousePauseMs = 200;
inline void Mouse(DWORD flags, POINT at, int pause_ms = kMousePauseMs, int wheel_clicks = 0) {
  SetCursorPos(at.x, at.y);
  INPUT in = {};
  in.type = INPUT_MOUSE;
  in.mi.dx = MulDiv(at.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
  in.mi.dy = MulDiv(at.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
  in.mi.mouseData = DWORD(-WHEEL_DELTA * wheel_clicks);
  in.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
  SendInput(1, &in, sizeof in);
  if (pause_ms > 0) Sleep(pause_ms);
}
inline void MoveTo(POINT at) { Mouse(0, at); }
inline void Down(POINT at) { Mouse(MOUSEEVENTF_LEFTDOWN, at); }
inline void Up(POINT at) { Mouse(MOUSEEVENTF_LEFTUP, at); }
inline void Click(POINT at) {
  Down(at);
  Up(at);
}
inline void RightClick(POINT at) {
  Mouse(MOUSEEVENTF_RIGHTDOWN, at);
  Mouse(MOUSEEVENTF_RIGHTUP, at);
}

inline void Keys(std::initializer_list<std::pair<WORD, bool>> strokes) {  // key, down
  for (auto [key, down] : strokes) {
    INPUT in = {};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = key;
    in.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    SendInput(1, &in, sizeof in);
    Sleep(60);
  }
  Sleep(300);
}
inline void Press(WORD key) { Keys({{key, true}, {key, false}}); }
inline void AltPlus(WORD key) {
  Keys({{VK_MENU, true}, {key, true}, {key, false}, {VK_MENU, false}});
}

}  // namespace engine_test
