// Helpers for the tests that run the program's code under Wine: files in
// the application folder, the recording skin engine's trace, waiting for
// events, and answering message boxes as a user would.
#pragma once

#include <windows.h>

#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace wine_test {

std::wstring AppFolder();
std::wstring InApp(const std::wstring& relative);  // AppFolder() + "\" + relative

std::string ReadBytes(const std::wstring& path);  // empty when missing
void WriteBytes(const std::wstring& path, const std::string& bytes);
void RemoveTree(const std::wstring& path);  // file or folder, quietly
std::string Utf8(const std::wstring& text);
std::string Gbk(const std::wstring& text);  // bytes in code page 936

// The recording skin engine's calls, one line each ("SkinH_AdjustHSV|30|0|0").
std::vector<std::string> EngineTrace();
void ClearEngineTrace();

// Handles events until `done` holds or the time is up; returns done().
bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 5000);
// Handles events for a while.
void Pump(int ms);

// A message box as the user saw it.
struct SeenMessageBox {
  std::wstring title, text;
  bool hasOk = false, hasYes = false, hasNo = false, hasCancel = false;
  int defaultButton = 0;
  HICON icon = nullptr;
  bool onTop = false;  // a click at its centre would have reached it
};

// Watches this process for message boxes from another thread and presses
// `answer` (IDOK, IDYES, IDNO) in each, recording what it saw.
class MessageBoxAnswerer {
 public:
  explicit MessageBoxAnswerer(int answer);
  ~MessageBoxAnswerer();
  std::vector<SeenMessageBox> Seen();

 private:
  void Watch();
  int answer_;
  bool stop_ = false;
  std::mutex mutex_;
  std::vector<SeenMessageBox> seen_;
  std::thread thread_;
};

}  // namespace wine_test
