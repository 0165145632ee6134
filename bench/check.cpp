// The time skincheck takes to check a skin, without the process start:
// the file read, its picture folder opened and every picture read and
// checked, the findings and worst hues worked out, as skincheck.exe does
// them. Prints the median and the slowest of the runs for each file.
// Usage: bench_check.exe <file.she>...
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "clock.h"
#include "common/ansi.h"
#include "picture_file.h"
#include "skincheck/check.h"

namespace {

constexpr int kRuns = 15;
constexpr double kGoalMs = 200;

std::string ReadAll(const std::wstring& path) {
  std::string text;
  HANDLE f =
      CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return text;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(f, buffer, sizeof buffer, &got, nullptr) && got > 0) text.append(buffer, got);
  CloseHandle(f);
  return text;
}

// The milliseconds of one check, or -1 when the file cannot be read.
double CheckOnce(const std::wstring& path) {
  const double start = bench::Now();
  const std::string text = ReadAll(path);
  if (text.empty()) return -1;
  const dulib::pictures::PictureFolder folder(path);
  const skincheck::Result result = skincheck::CheckSkin(
      "skin", text,
      [&](std::string_view name, std::vector<uint8_t>* bytes) { return folder.Read(name, bytes); });
  return result.lines.empty() ? -1 : (bench::Now() - start) * 1000;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  for (int i = 1; i < argc; i++) {
    wchar_t full[MAX_PATH];
    if (!GetFullPathNameW(argv[i], MAX_PATH, full, nullptr)) return 2;
    std::vector<double> ms;
    for (int run = 0; run < kRuns; run++) ms.push_back(CheckOnce(full));
    if (*std::min_element(ms.begin(), ms.end()) < 0) {
      std::printf("check       %s cannot be read\n", common::ToCodePage(argv[i], CP_UTF8).c_str());
      return 2;
    }
    const double median = bench::Median(ms), slowest = *std::max_element(ms.begin(), ms.end());
    std::printf(
        "check       %-16s %6.1f ms   (median of %d, slowest %.1f ms)  goal <= %.0f ms %s\n",
        common::ToCodePage(argv[i], CP_UTF8).c_str(), median, kRuns, slowest, kGoalMs,
        median <= kGoalMs ? "met" : "MISSED");
  }
  return 0;
}
