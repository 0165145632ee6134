// The cost of a new hue on the largest picture skin the limits allow: one
// 2048 x 2048 picture (16 MiB decoded) of noise, so that no two pixels
// share a colour by design, as the caption of a window of the program's
// size. Each step is SkinH_AdjustHSV with a new hue until the window is
// repainted; prints the median and the slowest of the steps.
// Usage: bench_hue.exe <folder with dulib.dll>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "clock.h"
#include "png_writer.h"

namespace {

constexpr int kSide = 2048;
constexpr int kSteps = 24;
constexpr double kGoalMs = 150;

bool WriteFile(const std::wstring& path, const std::string& bytes) {
  HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok = ::WriteFile(f, bytes.data(), DWORD(bytes.size()), &written, nullptr) &&
                  written == bytes.size();
  CloseHandle(f);
  return ok;
}

std::string NoisePicture() {
  std::vector<uint32_t> pixels(size_t(kSide) * kSide);
  uint32_t x = 2463534242u;  // xorshift: the same noise in every run
  for (uint32_t& p : pixels) {
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    p = 0xFF000000u | (x & 0xFFFFFF);
  }
  return png_writer::Png(kSide, kSide, pixels);
}

const char kSkin[] =
    "she = 2\nname = noise\nwindow = #FFFFFF\nwindow_text = #101010\nface = #E0E8F0\n"
    "face_text = #202020\nmenu = #D0D8E0\nborder = #405060\n"
    "image_caption = noise.png, 1, 0 0 0 0\n";

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 2;
  const std::wstring folder = argv[1];
  CreateDirectoryW((folder + L"\\Skin").c_str(), nullptr);
  CreateDirectoryW((folder + L"\\Skin\\HueNoise").c_str(), nullptr);
  if (!WriteFile(folder + L"\\Skin\\HueNoise\\noise.png", NoisePicture()) ||
      !WriteFile(folder + L"\\Skin\\HueNoise.she", kSkin)) {
    return 2;
  }
  HMODULE dulib = LoadLibraryW((folder + L"\\dulib.dll").c_str());
  auto attach = reinterpret_cast<int(WINAPI*)()>(GetProcAddress(dulib, "SkinH_Attach"));
  auto attach_ex =
      reinterpret_cast<int(WINAPI*)(LPCSTR, LPCSTR)>(GetProcAddress(dulib, "SkinH_AttachEx"));
  auto adjust =
      reinterpret_cast<int(WINAPI*)(int, int, int)>(GetProcAddress(dulib, "SkinH_AdjustHSV"));
  if (!attach || !attach_ex || !adjust) return 2;
  attach();
  char path[MAX_PATH * 2];
  WideCharToMultiByte(CP_ACP, 0, (folder + L"\\Skin\\HueNoise.she").c_str(), -1, path, sizeof path,
                      nullptr, nullptr);
  if (!attach_ex(path, "")) return 2;
  HWND hwnd = CreateWindowExW(0, L"Static", L"hue", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 1040,
                              750, nullptr, nullptr, nullptr, nullptr);
  UpdateWindow(hwnd);
  std::vector<double> steps;
  for (int i = 1; i <= kSteps; i++) {
    const double t0 = bench::Now();
    adjust((i * 37) % 360 - 180, 0, 0);
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
    steps.push_back((bench::Now() - t0) * 1000);
  }
  const double median = bench::Median(steps),
               slowest = *std::max_element(steps.begin(), steps.end());
  std::printf(
      "hue         one 2048 x 2048 picture: %.1f ms a new hue (median of %d, slowest %.1f)"
      "  goal <= %.0f ms %s\n",
      median, kSteps, slowest, kGoalMs, median <= kGoalMs ? "met" : "MISSED");
  DestroyWindow(hwnd);
  return 0;
}
