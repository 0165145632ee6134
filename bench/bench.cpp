// Measures Morvanta.exe against the bare baseline browser window and prints
// the figures with their ratios:
//   start-up   process start to main window shown, median of 20 runs
//   resize     2,000 SetWindowPos resizes, median cost per resize, with the
//              full skin engine attached
//   preview    selecting a skin in the skin dialog's list until every window
//              of the program is repainted, median of 40 selections
//   memory     peak working set after start-up
//   size       Morvanta.exe and dulib.dll on disk
// The times are taken twice: on the machine as it is, and with one core
// kept busy by a loop of the benchmark's own.
// Usage: bench.exe <folder with Morvanta.exe and dulib.dll> <baseline.exe>
// With BENCH_SKIN set to the name of a skin that the folder's config.ini
// stores (scripts/bench.sh writes it), every start attaches that skin, and
// the previews alternate between it and another skin; a skin with a folder
// of pictures is held to the goals of picture skins.
//
// With --count it measures no time but counts the requests each program
// makes to the Wine server and to the X server (see trace_count.h), for
// the start-up, one resize and one preview:
//   bench.exe --count <folder> <baseline.exe> <server trace> <X log>
// run with the X proxy display as its display.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "clock.h"
#include "toolkit/form.h"
#include "trace_count.h"

namespace {

constexpr int kStartRuns = 20;
constexpr int kResizes = 2000;
constexpr int kPreviews = 40;
constexpr WORD kChangeSkinCommand = 105;  // the main menu's "change skin"

using bench::Median;
using bench::Now;

struct Program {
  std::wstring exe;
  std::wstring windowClass;
};

struct Running {
  PROCESS_INFORMATION pi = {};
  HWND window = nullptr;
  double startSeconds = 0;
};

struct WindowSearch {
  DWORD pid;
  const wchar_t* cls;  // or null for any class
  std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND hwnd, LPARAM lp) {
  auto* search = reinterpret_cast<WindowSearch*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  wchar_t cls[64] = {};
  GetClassNameW(hwnd, cls, 64);
  if (pid == search->pid && IsWindowVisible(hwnd) &&
      (!search->cls || std::wstring(cls) == search->cls))
    search->found.push_back(hwnd);
  return TRUE;
}

// Starts the program, without waiting for it.
bool Launch(const Program& program, Running* run) {
  std::wstring folder = program.exe.substr(0, program.exe.find_last_of(L'\\'));
  STARTUPINFOW si = {sizeof si};
  std::wstring command = L"\"" + program.exe + L"\"";
  return CreateProcessW(program.exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &si, &run->pi);
}

// Waits until the launched program's main window is on screen; the time
// since `t0` goes into `run`.
bool WaitForWindow(const Program& program, Running* run, double t0) {
  WindowSearch search = {run->pi.dwProcessId, program.windowClass.c_str(), {}};
  for (;;) {
    if (Now() - t0 > 60) return false;
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
    if (!search.found.empty()) break;
    Sleep(1);  // leave the cores to the program being measured
  }
  run->startSeconds = Now() - t0;
  run->window = search.found.front();
  return true;
}

// Starts the program and waits until its main window is on screen.
bool Start(const Program& program, Running* run) {
  const double t0 = Now();
  if (!Launch(program, run)) return false;
  return WaitForWindow(program, run, t0);
}

void Stop(Running* run) {
  PostMessageW(run->window, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(run->pi.hProcess, 10000) != WAIT_OBJECT_0)
    TerminateProcess(run->pi.hProcess, 1);
  CloseHandle(run->pi.hThread);
  CloseHandle(run->pi.hProcess);
}

// Start-up times of both programs, taken in turns so that drift in the
// machine's load weighs on both alike; the medians in milliseconds.
void StartupMedians(const Program& ours, const Program& baseline, double* oursMs, double* baseMs) {
  std::vector<double> a, b;
  for (int i = 0; i < kStartRuns; ++i) {
    // Each goes first in every other round: a start that follows the other
    // program's exit shares the machine with what that exit left to do.
    auto first = std::pair{&ours, &a}, second = std::pair{&baseline, &b};
    if (i % 2) std::swap(first, second);
    for (auto [program, times] : {first, second}) {
      Running run;
      if (!Start(*program, &run)) continue;
      times->push_back(run.startSeconds * 1000);
      Stop(&run);
    }
  }
  *oursMs = Median(a);
  *baseMs = Median(b);
}

// Both programs run side by side and are resized in alternating blocks, so
// that whatever else the machine does weighs on both alike.
struct ResizeFigures {
  double micros = 0;     // median cost of one resize
  double peakBytes = 0;  // peak working set after start-up
};

double PeakWorkingSet(HANDLE process) {
  PROCESS_MEMORY_COUNTERS counters = {sizeof counters};
  if (!GetProcessMemoryInfo(process, &counters, sizeof counters)) return 0;
  return static_cast<double>(counters.PeakWorkingSetSize);
}

void ResizeBlock(HWND window, int first, int count, std::vector<double>* costs) {
  for (int i = first; i < first + count; ++i) {
    const int w = 800 + (i % 200), h = 600 + (i % 100);
    const double t0 = Now();
    SetWindowPos(window, nullptr, 0, 0, w, h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    costs->push_back((Now() - t0) * 1e6);
  }
}

void ResizeAndMemory(const Program& ours, const Program& baseline, ResizeFigures* oursOut,
                     ResizeFigures* baseOut) {
  Running a, b;
  if (!Start(ours, &a) || !Start(baseline, &b)) return;
  Sleep(500);  // let the start-up navigations settle
  oursOut->peakBytes = PeakWorkingSet(a.pi.hProcess);
  baseOut->peakBytes = PeakWorkingSet(b.pi.hProcess);
  std::vector<double> costsA, costsB;
  constexpr int kBlock = 100;
  for (int first = 0; first < kResizes; first += kBlock) {
    ResizeBlock(a.window, first, kBlock, &costsA);
    ResizeBlock(b.window, first, kBlock, &costsB);
  }
  oursOut->micros = Median(costsA);
  baseOut->micros = Median(costsB);
  Stop(&a);
  Stop(&b);
}

// ---- preview -------------------------------------------------------------

BOOL CALLBACK CollectChild(HWND hwnd, LPARAM lp) {
  reinterpret_cast<std::vector<HWND>*>(lp)->push_back(hwnd);
  return TRUE;
}

// Every window of the process, children included.
std::vector<HWND> WindowsOf(DWORD pid) {
  WindowSearch search = {pid, nullptr, {}};
  EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
  std::vector<HWND> all = search.found;
  for (HWND top : search.found) EnumChildWindows(top, CollectChild, reinterpret_cast<LPARAM>(&all));
  return all;
}

// No window of the process waits for a repaint, frame included.
bool AllPainted(const std::vector<HWND>& windows) {
  for (HWND hwnd : windows) {
    if (GetUpdateRect(hwnd, nullptr, FALSE)) return false;
  }
  return true;
}

BOOL CALLBACK FindListBox(HWND hwnd, LPARAM lp) {
  wchar_t cls[64] = {};
  GetClassNameW(hwnd, cls, 64);
  if (std::wstring(cls) != L"ListBox") return TRUE;
  *reinterpret_cast<HWND*>(lp) = hwnd;
  return FALSE;
}

// Opens the skin dialog of the running program; false when its list of
// skins did not show within 5 s.
bool OpenSkinDialog(const Running& run, HWND* dialog, HWND* list) {
  PostMessageW(run.window, WM_COMMAND, kChangeSkinCommand, 0);
  *list = nullptr;
  for (int i = 0; i < 500 && !*list; ++i) {
    Sleep(10);
    WindowSearch search = {run.pi.dwProcessId, nullptr, {}};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
    for (HWND h : search.found) {
      if (h != run.window)
        EnumChildWindows(*dialog = h, FindListBox, reinterpret_cast<LPARAM>(list));
      if (*list) break;
    }
  }
  return *list != nullptr;
}

// The skin that config.ini stores for this run (BENCH_SKIN), or empty.
std::wstring StoredSkin() {
  const wchar_t* name = _wgetenv(L"BENCH_SKIN");
  return name ? name : L"";
}

// Selects an item of the skin list as a click does.
void SelectSkin(HWND dialog, HWND list, int item) {
  SendMessageW(list, LB_SETCURSEL, item, 0);
  SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), LBN_SELCHANGE),
               reinterpret_cast<LPARAM>(list));
}

// Waits (at most 5 s after `t0`) until no window of the list needs painting.
void WaitUntilPainted(const std::vector<HWND>& windows, double t0) {
  while (!AllPainted(windows) && Now() - t0 < 5) Sleep(0);
}

// Opens the skin dialog and selects skins in its list in turn, a light and
// a dark one, as a user clicks them; the median in milliseconds from the
// click to every window of the program repainted in the new skin.
// `handledMs` gets the median of the click's own handling, the part spent
// before the program returns from the list's notification.
// With a stored skin, every other click selects it: `storedMs` gets the
// median of those.
double PreviewMedian(const Program& ours, double* handledMs, double* storedMs) {
  std::vector<double> handled, times, stored;
  Running run;
  if (!Start(ours, &run)) return 0;
  Sleep(500);
  HWND dialog = nullptr, list = nullptr;
  const int count = OpenSkinDialog(run, &dialog, &list)
                        ? static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0))
                        : 0;
  if (count >= 2) {
    Sleep(300);
    const std::vector<HWND> windows = WindowsOf(run.pi.dwProcessId);
    const std::wstring skin = StoredSkin();
    const int home = skin.empty()
                         ? -1
                         : static_cast<int>(SendMessageW(list, LB_FINDSTRINGEXACT, WPARAM(-1),
                                                         reinterpret_cast<LPARAM>(skin.c_str())));
    for (int i = 0; i < kPreviews; ++i) {
      // 5 apart: every click changes the skin.
      const bool toStored = home >= 0 && i % 2 == 0;
      const int item = home < 0 ? (i * 5) % count : toStored ? home : (home + 5) % count;
      const double t0 = Now();
      SelectSkin(dialog, list, item);
      handled.push_back((Now() - t0) * 1000);
      WaitUntilPainted(windows, t0);
      times.push_back((Now() - t0) * 1000);
      if (toStored) stored.push_back(times.back());
    }
  }
  Stop(&run);
  *handledMs = Median(handled);
  *storedMs = Median(stored);
  return Median(times);
}

// ---- a busy machine --------------------------------------------------------

// Keeps one core busy while it lives, as other work on the machine would.
class BusyCore {
 public:
  BusyCore() : thread_(CreateThread(nullptr, 0, Spin, this, 0, nullptr)) {}
  ~BusyCore() {
    stop_ = 1;
    if (thread_) {
      WaitForSingleObject(thread_, INFINITE);
      CloseHandle(thread_);
    }
  }
  BusyCore(const BusyCore&) = delete;
  BusyCore& operator=(const BusyCore&) = delete;

 private:
  static DWORD WINAPI Spin(void* self) {
    auto* busy = static_cast<BusyCore*>(self);
    while (!busy->stop_) {
    }
    return 0;
  }
  volatile LONG stop_ = 0;
  HANDLE thread_;
};

double FileBytes(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return 0;
  return static_cast<double>(data.nFileSizeLow);
}

void Row(const char* what, double ours, double base, const char* unit, const char* goal, bool met) {
  std::printf("%-10s  Morvanta %10.1f %-3s  baseline %10.1f %-3s  ratio %5.2f  goal %-22s %s\n",
              what, ours, unit, base, unit, base > 0 ? ours / base : 0.0, goal,
              met ? "met" : "MISSED");
}

struct TimedFigures {
  double startOurs = 0, startBase = 0;
  ResizeFigures resizeOurs, resizeBase;
  double previewMs = 0, previewHandledMs = 0, previewStoredMs = 0;
};

// What the figures are held to: a skin of pictures may cost a little more.
struct Goals {
  double startIdle, startBusy, resize, memoryMiB;
};
constexpr Goals kColourGoals = {1.05, 1.15, 1.30, 2};
constexpr Goals kPictureGoals = {1.10, 1.15, 1.50, 4};

TimedFigures MeasureTimes(const Program& ours, const Program& baseline) {
  TimedFigures f;
  StartupMedians(ours, baseline, &f.startOurs, &f.startBase);
  ResizeAndMemory(ours, baseline, &f.resizeOurs, &f.resizeBase);
  f.previewMs = PreviewMedian(ours, &f.previewHandledMs, &f.previewStoredMs);
  return f;
}

void PrintTimes(const char* title, const TimedFigures& f, double startGoal, double resizeGoal) {
  char goal[32], resize[32];
  std::snprintf(goal, sizeof goal, "<= %.2f x baseline", startGoal);
  std::snprintf(resize, sizeof resize, "<= %.2f x baseline", resizeGoal);
  std::printf("%s\n", title);
  Row("start-up", f.startOurs, f.startBase, "ms", goal, f.startOurs <= startGoal * f.startBase);
  Row("resize", f.resizeOurs.micros, f.resizeBase.micros, "us", resize,
      f.resizeOurs.micros <= resizeGoal * f.resizeBase.micros);
  std::printf(
      "%-10s  Morvanta %10.1f ms   (median of %d, skin list to every window repainted;"
      " %.1f ms handling the click)  goal <= 50 ms %s\n",
      "preview", f.previewMs, kPreviews, f.previewHandledMs,
      f.previewMs > 0 && f.previewMs <= 50 ? "met" : "MISSED");
  if (!StoredSkin().empty())
    std::printf(
        "%-10s  Morvanta %10.1f ms   (median of the %d clicks to the stored skin)"
        "  goal <= 50 ms %s\n",
        "preview", f.previewStoredMs, kPreviews / 2,
        f.previewStoredMs > 0 && f.previewStoredMs <= 50 ? "met" : "MISSED");
}

int RunTimes(const Program& ours, const Program& baseline, const std::wstring& folder) {
  const TimedFigures idle = MeasureTimes(ours, baseline);
  TimedFigures busy;
  {
    const BusyCore core;
    busy = MeasureTimes(ours, baseline);
  }
  const double mib = 1024.0 * 1024.0;
  const double peakOurs = idle.resizeOurs.peakBytes, peakBase = idle.resizeBase.peakBytes;
  const double exeKb = FileBytes(ours.exe) / 1024,
               dllKb = FileBytes(folder + L"\\dulib.dll") / 1024;

  const std::wstring skin = StoredSkin();
  const DWORD pictures = GetFileAttributesW((folder + L"\\Skin\\" + skin).c_str());
  const bool pictureSkin =
      !skin.empty() && pictures != INVALID_FILE_ATTRIBUTES && (pictures & FILE_ATTRIBUTE_DIRECTORY);
  const Goals& goals = pictureSkin ? kPictureGoals : kColourGoals;
  char memoryGoal[32];
  std::snprintf(memoryGoal, sizeof memoryGoal, "<= baseline + %.0f MiB", goals.memoryMiB);

  std::printf("Morvanta benchmark (%d start-ups, %d resizes)", kStartRuns, kResizes);
  if (!skin.empty())
    std::printf(", skin stored: %ls%s", skin.c_str(), pictureSkin ? " (pictures)" : "");
  std::printf("\n");
  PrintTimes("-- idle machine", idle, goals.startIdle, goals.resize);
  PrintTimes("-- one core kept busy", busy, goals.startBusy, goals.resize);
  std::printf("--\n");
  Row("memory", peakOurs / mib, peakBase / mib, "MiB", memoryGoal,
      peakOurs <= peakBase + goals.memoryMiB * mib);
  std::printf("%-10s  Morvanta.exe %.1f KB, dulib.dll %.1f KB  goal each < 500 KB %s\n", "size",
              exeKb, dllKb, exeKb < 500 && dllKb < 500 ? "met" : "MISSED");
  return 0;
}

// ---- request counts ----------------------------------------------------------

constexpr int kCountRuns = 3;
// After the last window is painted, time for the program to hand its last
// drawing to the X server (Wine sends a window's pixels when its thread
// next waits, or from a timer).
constexpr DWORD kSettleMs = 150;

struct Requests {
  long server = 0, x = 0;
};

// Both counters, read at the same moment.
class Meter {
 public:
  Meter(const std::wstring& serverTrace, const std::wstring& xLog)
      : server_(serverTrace), x_(xLog) {}
  bool ok() const { return server_.ok() && x_.ok(); }
  void Follow(DWORD mainThread) {
    server_.Follow(mainThread);
    x_.Follow();
  }
  Requests Now() { return {server_.Count(), x_.Count()}; }
  Requests Since(const Requests& before) {
    const Requests now = Now();
    return {now.server - before.server, now.x - before.x};
  }

 private:
  bench::ServerRequests server_;
  bench::XRequests x_;
};

struct PhaseCounts {
  std::vector<double> server, x;
  void Add(const Requests& r) {
    server.push_back(static_cast<double>(r.server));
    x.push_back(static_cast<double>(r.x));
  }
};

// Starts the program and counts until its main window is shown and
// painted; then one resize and, when `preview` is given, one preview.
void CountRun(const Program& program, Meter* meter, PhaseCounts* startup, PhaseCounts* resize,
              PhaseCounts* preview) {
  Running run;
  meter->Now();  // everything before the start belongs to others
  const double t0 = Now();
  if (!Launch(program, &run)) return;
  meter->Follow(run.pi.dwThreadId);
  const Requests before;  // Follow counts from zero
  if (!WaitForWindow(program, &run, t0)) {
    Stop(&run);
    return;
  }
  WaitUntilPainted(WindowsOf(run.pi.dwProcessId), Now());
  Sleep(kSettleMs);
  startup->Add(meter->Since(before));

  Sleep(500);  // the start-up navigation settles
  const std::vector<HWND> windows = WindowsOf(run.pi.dwProcessId);
  Requests mark = meter->Now();
  SetWindowPos(run.window, nullptr, 0, 0, 900, 650, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  WaitUntilPainted(windows, Now());
  Sleep(kSettleMs);
  resize->Add(meter->Since(mark));

  HWND dialog = nullptr, list = nullptr;
  if (preview && OpenSkinDialog(run, &dialog, &list) && SendMessageW(list, LB_GETCOUNT, 0, 0) > 5) {
    Sleep(500);
    const std::vector<HWND> all = WindowsOf(run.pi.dwProcessId);
    mark = meter->Now();
    SelectSkin(dialog, list, 5);
    WaitUntilPainted(all, Now());
    Sleep(kSettleMs);
    preview->Add(meter->Since(mark));
  }
  Stop(&run);
}

void CountRow(const char* what, const PhaseCounts& ours, const PhaseCounts* base, double goal) {
  const double server = Median(ours.server), x = Median(ours.x);
  std::printf("%-10s  Morvanta  server %6.0f  X %5.0f", what, server, x);
  if (!base) {
    std::printf("\n");
    return;
  }
  const double baseServer = Median(base->server), baseX = Median(base->x);
  const double ratioServer = baseServer > 0 ? server / baseServer : 0,
               ratioX = baseX > 0 ? x / baseX : 0;
  std::printf("   baseline  server %6.0f  X %5.0f   ratio %5.2f / %5.2f", baseServer, baseX,
              ratioServer, ratioX);
  if (goal > 0)
    std::printf("  goal <= %.2f x baseline %s", goal,
                ratioServer <= goal && ratioX <= goal ? "met" : "MISSED");
  std::printf("\n");
}

int RunCounts(const Program& ours, const Program& baseline, const std::wstring& serverTrace,
              const std::wstring& xLog) {
  Meter meter(serverTrace, xLog);
  if (!meter.ok()) {
    std::fprintf(stderr, "bench: cannot read the trace logs\n");
    return 2;
  }
  // The desktop's process starts now, not inside a count, and this
  // process's own X connection opens.
  RECT desktop;
  GetWindowRect(GetDesktopWindow(), &desktop);
  PhaseCounts startOurs, startBase, resizeOurs, resizeBase, previewOurs;
  for (int i = 0; i < kCountRuns; ++i) {
    CountRun(ours, &meter, &startOurs, &resizeOurs, &previewOurs);
    CountRun(baseline, &meter, &startBase, &resizeBase, nullptr);
  }
  std::printf("Requests to the Wine server and the X server (median of %d runs)\n", kCountRuns);
  CountRow("start-up", startOurs, &startBase, 1.15);
  CountRow("resize", resizeOurs, &resizeBase, 0);
  CountRow("preview", previewOurs, nullptr, 0);
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const bool count = argc > 1 && std::wstring(argv[1]) == L"--count";
  if (argc < 3 || (count && argc < 6)) {
    std::fprintf(stderr,
                 "usage: bench <app folder> <baseline.exe>\n"
                 "       bench --count <app folder> <baseline.exe> <server trace> <X log>\n");
    return 2;
  }
  const std::wstring folder = argv[count ? 2 : 1];
  const Program ours = {folder + L"\\Morvanta.exe", toolkit::kFormClass};
  const Program baseline = {argv[count ? 3 : 2], L"BaselineBrowser"};
  if (count) return RunCounts(ours, baseline, argv[4], argv[5]);
  return RunTimes(ours, baseline, folder);
}
