#include "support/wine_test.h"

#include <shellapi.h>

#include "toolkit/app.h"

namespace wine_test {

std::wstring AppFolder() { return toolkit::AppPath(); }
std::wstring InApp(const std::wstring& relative) { return AppFolder() + L"\\" + relative; }

std::string ReadBytes(const std::wstring& path) {
  HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return {};
  std::string data;
  char buffer[4096];
  DWORD n = 0;
  while (ReadFile(f, buffer, sizeof buffer, &n, nullptr) && n > 0) data.append(buffer, n);
  CloseHandle(f);
  return data;
}

void WriteBytes(const std::wstring& path, const std::string& bytes) {
  HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return;
  DWORD n = 0;
  WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr);
  CloseHandle(f);
}

void RemoveTree(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return;
  SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    DeleteFileW(path.c_str());
    return;
  }
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW((path + L"\\*").c_str(), &data);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = data.cFileName;
      if (name != L"." && name != L"..") RemoveTree(path + L"\\" + name);
    } while (FindNextFileW(find, &data));
    FindClose(find);
  }
  RemoveDirectoryW(path.c_str());
}

static std::string Convert(const std::wstring& text, UINT codePage) {
  if (text.empty()) return {};
  const int n = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()),
                                    nullptr, 0, nullptr, nullptr);
  std::string out(n, '\0');
  WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(), n,
                      nullptr, nullptr);
  return out;
}

std::string Utf8(const std::wstring& text) { return Convert(text, CP_UTF8); }
std::string Gbk(const std::wstring& text) { return Convert(text, 936); }

std::vector<std::string> EngineTrace() {
  std::vector<std::string> lines;
  const std::string data = ReadBytes(InApp(L"dulib_trace.txt"));
  size_t start = 0;
  while (start < data.size()) {
    size_t end = data.find("\r\n", start);
    if (end == std::string::npos) end = data.size();
    lines.push_back(data.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

void ClearEngineTrace() { DeleteFileW(InApp(L"dulib_trace.txt").c_str()); }

bool PumpUntil(const std::function<bool()>& done, int timeoutMs) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > static_cast<DWORD>(timeoutMs)) return done();
    toolkit::DoEvents();
    Sleep(10);
  }
  return true;
}

void Pump(int ms) {
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < static_cast<DWORD>(ms)) {
    toolkit::DoEvents();
    Sleep(10);
  }
}

MessageBoxAnswerer::MessageBoxAnswerer(int answer)
    : answer_(answer), thread_([this] { Watch(); }) {}

MessageBoxAnswerer::~MessageBoxAnswerer() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stop_ = true;
  }
  thread_.join();
}

std::vector<SeenMessageBox> MessageBoxAnswerer::Seen() {
  std::lock_guard<std::mutex> lock(mutex_);
  return seen_;
}

static std::wstring TextOf(HWND hwnd) {
  wchar_t buffer[1024] = {};
  GetWindowTextW(hwnd, buffer, 1024);
  return buffer;
}

// The icon of a message box: the one static control with the SS_ICON style.
static HICON IconOf(HWND box) {
  for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    if ((GetWindowLongW(c, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
      return reinterpret_cast<HICON>(SendMessageW(c, STM_GETICON, 0, 0));
  }
  return nullptr;
}

// The button drawn as the default one.
static int DefaultButtonOf(HWND box) {
  for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    if ((GetWindowLongW(c, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON) return GetDlgCtrlID(c);
  }
  return 0;
}

// Whether a click at the box's centre would reach it, once it has settled:
// a box may show a moment before it is brought to the top.
static bool IsOnTopAtCentre(HWND box) {
  for (int i = 0; i < 50; ++i) {
    RECT r = {};
    GetWindowRect(box, &r);
    const POINT centre = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    if (GetAncestor(WindowFromPoint(centre), GA_ROOT) == box) return true;
    Sleep(10);
  }
  return false;
}

// A message box of this process: a dialog with its text in the static 0xFFFF.
static BOOL CALLBACK CollectMessageBox(HWND hwnd, LPARAM boxes) {
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  wchar_t cls[64] = {};
  GetClassNameW(hwnd, cls, 64);
  if (pid == GetCurrentProcessId() && std::wstring(cls) == L"#32770" && IsWindowVisible(hwnd) &&
      GetDlgItem(hwnd, 0xFFFF))
    reinterpret_cast<std::vector<HWND>*>(boxes)->push_back(hwnd);
  return TRUE;
}

void MessageBoxAnswerer::Watch() {
  for (;;) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (stop_) return;
    }
    std::vector<HWND> boxes;
    EnumWindows(CollectMessageBox, reinterpret_cast<LPARAM>(&boxes));
    for (HWND box : boxes) {
      SeenMessageBox seen;
      seen.title = TextOf(box);
      seen.text = TextOf(GetDlgItem(box, 0xFFFF));
      seen.hasOk = GetDlgItem(box, IDOK) != nullptr;
      seen.hasYes = GetDlgItem(box, IDYES) != nullptr;
      seen.hasNo = GetDlgItem(box, IDNO) != nullptr;
      seen.hasCancel = GetDlgItem(box, IDCANCEL) != nullptr && !seen.hasOk;
      seen.defaultButton = DefaultButtonOf(box);
      seen.icon = IconOf(box);
      seen.onTop = IsOnTopAtCentre(box);
      {
        std::lock_guard<std::mutex> lock(mutex_);
        seen_.push_back(seen);
      }
      PostMessageW(box, WM_COMMAND, MAKEWPARAM(answer_, BN_CLICKED),
                   reinterpret_cast<LPARAM>(GetDlgItem(box, answer_)));
      // Let the box close before looking again.
      for (int i = 0; i < 200 && IsWindow(box) && IsWindowVisible(box); ++i) Sleep(10);
    }
    Sleep(20);
  }
}

}  // namespace wine_test
