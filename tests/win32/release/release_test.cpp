// The shipped files carry their product name, version and description, and
// the program's icon offers the sizes Explorer and the task bar ask for.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/wine_test.h"

using namespace wine_test;

namespace {

std::wstring VersionString(const std::wstring& file, const wchar_t* name) {
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(file.c_str(), &ignored);
  if (!size) return L"";
  std::vector<BYTE> data(size);
  if (!GetFileVersionInfoW(file.c_str(), 0, size, data.data())) return L"";
  wchar_t* value = nullptr;
  UINT length = 0;
  const std::wstring key = std::wstring(L"\\StringFileInfo\\080404B0\\") + name;
  if (!VerQueryValueW(data.data(), key.c_str(), reinterpret_cast<void**>(&value), &length))
    return L"";
  return value;
}

TEST(Release, ShippedFilesCarryTheirVersionResource) {
  const std::wstring exe = InApp(L"shipped\\Morvanta.exe"), dll = InApp(L"shipped\\dulib.dll");
  EXPECT_EQ(L"Morvanta 2014", VersionString(exe, L"ProductName"));
  EXPECT_EQ(L"Morvanta 2014", VersionString(dll, L"ProductName"));
  EXPECT_EQ(L"Morvanta 2014 online TV", VersionString(exe, L"FileDescription"));
  EXPECT_EQ(L"Morvanta 2014 skin engine", VersionString(dll, L"FileDescription"));
  EXPECT_FALSE(VersionString(exe, L"ProductVersion").empty());
  EXPECT_EQ(VersionString(exe, L"ProductVersion"), VersionString(dll, L"ProductVersion"));
  const std::wstring checker = InApp(L"shipped\\skincheck.exe");
  EXPECT_EQ(L"Morvanta 2014 skin checker", VersionString(checker, L"FileDescription"));
  EXPECT_EQ(VersionString(exe, L"ProductVersion"), VersionString(checker, L"ProductVersion"));
  // A console program beside the window program, and small.
  WIN32_FILE_ATTRIBUTE_DATA data = {};
  ASSERT_TRUE(GetFileAttributesExW(checker.c_str(), GetFileExInfoStandard, &data));
  EXPECT_EQ(0u, data.nFileSizeHigh);
  EXPECT_LT(data.nFileSizeLow, 300u * 1024);
}

TEST(Release, ProgramIconHasEachSizeInEachColourDepth) {
  HMODULE exe = LoadLibraryExW(InApp(L"shipped\\Morvanta.exe").c_str(), nullptr,
                               LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  ASSERT_NE(nullptr, exe);
  HRSRC group = FindResourceW(exe, MAKEINTRESOURCEW(1), RT_GROUP_ICON);
  ASSERT_NE(nullptr, group);
  auto* dir = static_cast<BYTE*>(LockResource(LoadResource(exe, group)));
  ASSERT_NE(nullptr, dir);
  for (int size : {16, 32, 48}) {
    EXPECT_NE(0, LookupIconIdFromDirectoryEx(dir, TRUE, size, size, LR_DEFAULTCOLOR)) << size;
    // The image the system picks for this size really has it.
    HICON icon =
        static_cast<HICON>(LoadImageW(exe, MAKEINTRESOURCEW(1), IMAGE_ICON, size, size, 0));
    ASSERT_NE(nullptr, icon) << size;
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    BITMAP bm = {};
    GetObjectW(info.hbmColor, sizeof bm, &bm);
    EXPECT_EQ(size, bm.bmWidth);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyIcon(icon);
  }
  // Nine images: each size in 16 colours, 256 colours and 32-bit colour.
  const auto* header = reinterpret_cast<const WORD*>(dir);
  ASSERT_EQ(9, header[2]);
  std::vector<std::pair<int, int>> images;  // (size, bits per pixel)
  for (int i = 0; i < 9; ++i) {
    const BYTE* entry = dir + 6 + 14 * i;  // GRPICONDIRENTRY
    images.emplace_back(entry[0], *reinterpret_cast<const WORD*>(entry + 6));
  }
  for (int size : {16, 32, 48})
    for (int bits : {4, 8, 32})
      EXPECT_NE(images.end(), std::find(images.begin(), images.end(), std::make_pair(size, bits)))
          << size << " px, " << bits << " bits";
  FreeLibrary(exe);
}

}  // namespace
