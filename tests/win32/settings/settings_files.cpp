#include "settings_files.h"

#include <windows.h>

#include "support/wine_test.h"

namespace settings_test {

void WriteFresh(const std::wstring& path, const std::string& bytes) {
  SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  wine_test::WriteBytes(path, bytes);
  // A day ago, plus one second more for every write of these tests.
  constexpr ULONGLONG kSecond = 10000000;  // in 100 ns units
  static ULONGLONG writes = 0;
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  ULARGE_INTEGER t;
  t.LowPart = now.dwLowDateTime;
  t.HighPart = now.dwHighDateTime;
  t.QuadPart = t.QuadPart - 86400 * kSecond + ++writes * kSecond;
  const FILETIME stamp = {t.LowPart, t.HighPart};
  HANDLE f = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                         nullptr, OPEN_EXISTING, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return;
  SetFileTime(f, nullptr, nullptr, &stamp);
  CloseHandle(f);
}

std::wstring ConfigPath() { return wine_test::InApp(L"config.ini"); }
void WriteConfig(const std::string& bytes) { WriteFresh(ConfigPath(), bytes); }
std::string ConfigBytes() { return wine_test::ReadBytes(ConfigPath()); }
void RemoveConfig() { wine_test::RemoveTree(ConfigPath()); }

std::string ReadShared(const std::wstring& path) {
  HANDLE f = CreateFileW(path.c_str(), GENERIC_READ,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return "<not opened>";
  std::string data;
  char buffer[65536];
  DWORD n = 0;
  while (ReadFile(f, buffer, sizeof buffer, &n, nullptr) && n > 0) data.append(buffer, n);
  CloseHandle(f);
  return data;
}

std::vector<std::wstring> ConfigFiles() {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW(wine_test::InApp(L"config.ini*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return names;
  do names.push_back(data.cFileName);
  while (FindNextFileW(find, &data));
  FindClose(find);
  return names;
}

std::wstring MakeSkin(const std::wstring& baseName) {
  CreateDirectoryW(wine_test::InApp(L"Skin").c_str(), nullptr);
  const std::wstring path = wine_test::InApp(L"Skin\\" + baseName + L".she");
  wine_test::WriteBytes(path, "skin");
  return path;
}

}  // namespace settings_test
