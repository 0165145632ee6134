// Save on a disk that runs full in the middle of it, on the small file
// system (256 KiB) that this test's fixture mounts and makes drive Q:, so
// that config.ini lies in the root folder of its drive.
#include <gtest/gtest.h>
#include <windows.h>

#include "settings/SetIni.h"
#include "settings_files.h"
#include "support/wine_test.h"

using namespace wine_test;

namespace {

const std::wstring kDisk = L"Q:";
const std::wstring kConfig = kDisk + L"\\config.ini";
const std::wstring kFiller = kDisk + L"\\filler.bin";

// The file names on the small disk, the filler left out.
std::vector<std::wstring> DiskFiles() {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW((kDisk + L"\\*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    const std::wstring name = data.cFileName;
    if (name != L"." && name != L".." && name != L"filler.bin") names.push_back(name);
  } while (FindNextFileW(find, &data));
  FindClose(find);
  return names;
}

// Fills the disk with a file of whole 4 KiB pages, then gives `room` bytes
// (whole pages) back.
void FillLeaving(ULONGLONG room) {
  HANDLE f = CreateFileW(kFiller.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, f);
  const std::string page(4096, 'f');
  LONGLONG size = 0;
  DWORD n = 0;
  while (WriteFile(f, page.data(), 4096, &n, nullptr) && n == 4096) size += n;
  size -= static_cast<LONGLONG>(room);
  LARGE_INTEGER at;
  at.QuadPart = size < 0 ? 0 : size;
  SetFilePointerEx(f, at, nullptr, FILE_BEGIN);
  SetEndOfFile(f);
  CloseHandle(f);
}

ULONGLONG Pages(size_t bytes) { return (bytes + 4095) / 4096 * 4096; }

void Save(const std::wstring& name, const std::wstring& hue) {
  SetIni::WriteIniEntries(kConfig,
                          {{L"Options", L"SkinName", name}, {L"Options", L"SkinHue", hue}});
}

class FullDiskTest : public testing::Test {
 protected:
  void SetUp() override {
    ULARGE_INTEGER available, total;
    ASSERT_TRUE(GetDiskFreeSpaceExW((kDisk + L"\\").c_str(), &available, &total, nullptr))
        << "drive Q: is missing: the test's fixture (small_disk.sh) mounts it";
    ASSERT_GE(1u << 20, total.QuadPart)
        << "drive Q: is not the small file system that small_disk.sh mounts";
    Clear();
  }
  void TearDown() override { Clear(); }
  static void Clear() {
    for (const std::wstring& name : DiskFiles()) RemoveTree(kDisk + L"\\" + name);
    DeleteFileW(kFiller.c_str());
  }
};

// [Options] first and 150 other sections after it, the last value of each
// 122 characters long.
std::string Others() {
  std::string others;
  for (int i = 0; i < 150; ++i) {
    others +=
        "[Other" + std::to_string(i) + "]\r\nvalue=" + std::string(122, 'a' + i % 26) + "\r\n";
  }
  return others;
}

}  // namespace

TEST_F(FullDiskTest, ACopyCutShortByAFullDiskNeverReplacesConfigIni) {
  const std::string before = "[Options]\r\nSkinName=Old\r\nSkinHue=1\r\n" + Others();
  settings_test::WriteFresh(kConfig, before);
  // Room for the copy, but not for the copy rewritten with a longer name.
  FillLeaving(Pages(before.size()));
  const std::wstring longName(6000, L'n');
  const std::string whole =
      "[Options]\r\nSkinName=" + std::string(6000, 'n') + "\r\nSkinHue=2\r\n" + Others();
  Save(longName, L"2");
  const std::string now = ReadBytes(kConfig);
  EXPECT_TRUE(now == before) << "config.ini was " << before.size() << " bytes, now " << now.size()
                             << " (the whole rewrite is " << whole.size() << ")";
  EXPECT_EQ(std::vector<std::wstring>{L"config.ini"}, DiskFiles());

  // With room again the same Save goes through, every other section kept.
  DeleteFileW(kFiller.c_str());
  Save(longName, L"2");
  EXPECT_TRUE(ReadBytes(kConfig) == whole) << ReadBytes(kConfig).size() << " bytes";
  EXPECT_EQ(std::vector<std::wstring>{L"config.ini"}, DiskFiles());
}

TEST_F(FullDiskTest, NoRoomForTheCopyLeavesConfigIniAndNoPartOfTheCopy) {
  const std::string before = "[Options]\r\nSkinName=Old\r\n" + Others();
  settings_test::WriteFresh(kConfig, before);
  FillLeaving(4096);
  Save(L"New", L"3");
  EXPECT_TRUE(ReadBytes(kConfig) == before) << ReadBytes(kConfig).size() << " bytes";
  EXPECT_EQ(std::vector<std::wstring>{L"config.ini"}, DiskFiles());
}

TEST_F(FullDiskTest, ACopyLeftInTheRootFolderByAnEndedRunGoes) {
  settings_test::WriteFresh(kConfig, "[Options]\r\nSkinName=Old\r\n");
  const std::wstring stale = kDisk + L"\\config.ini.4000000000.tmp";
  WriteBytes(stale, "[Options]\r\nSkinName=Killed\r\n");
  Save(L"New", L"3");
  EXPECT_EQ("[Options]\r\nSkinName=New\r\nSkinHue=3\r\n", ReadBytes(kConfig));
  EXPECT_EQ(std::vector<std::wstring>{L"config.ini"}, DiskFiles());
}

// The fixture plants config.ini.4000000000.tmp beside this test as a link
// to link_target.ini: named like a copy of an ended run, but no copy.
TEST(StaleCopies, ALinkNamedLikeACopyNeverLeadsToItsTarget) {
  const std::wstring link = InApp(L"config.ini.4000000000.tmp");
  const std::wstring target = InApp(L"link_target.ini");
  ASSERT_EQ("linked\r\n", ReadBytes(target)) << "the fixture (small_disk.sh) plants the link";
  SetIni::WriteIni(InApp(L"config.ini"), L"Options", L"SkinHue", 4.0);
  EXPECT_EQ("[Options]\r\nSkinHue=4\r\n", ReadBytes(InApp(L"config.ini")));
  EXPECT_EQ("linked\r\n", ReadBytes(target));
  // The link stays too: Windows marks it as a reparse point, and on Wine,
  // which shows it as a plain file, it leads to another file's path.
  EXPECT_EQ("linked\r\n", ReadBytes(link));
  DeleteFileW(InApp(L"config.ini").c_str());
}
