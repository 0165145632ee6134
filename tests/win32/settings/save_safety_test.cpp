// Save under the conditions that break it: a reader holding config.ini, a
// reader racing it, a copy that cannot be written, a run killed in the
// middle of a Save, and Wine's memory of the files it has written.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <thread>

#include "settings/SetIni.h"
#include "settings_files.h"
#include "skins/frmSkin.h"
#include "skins/skin_settings.h"
#include "support/wine_test.h"

using namespace wine_test;
using namespace settings_test;

namespace {

// Started with this argument, the program saves the skin settings over and
// over (hue 5, 6, 5, ...) until it is killed; with the other, it waits to
// be killed. Either gives up after two minutes, should the test that
// started it be gone. This runs before main, so such a run never reaches
// the tests.
const wchar_t kSaveUntilKilled[] = L"--save-until-killed";
const wchar_t kWait[] = L"--wait-until-killed";

const bool kStartedAsChild = [] {
  const std::wstring commandLine = GetCommandLineW();
  const bool saves = commandLine.find(kSaveUntilKilled) != std::wstring::npos;
  const bool waits = commandLine.find(kWait) != std::wstring::npos;
  if (!saves && !waits) return false;
  const DWORD start = GetTickCount();
  for (int i = 0; GetTickCount() - start < 120000; ++i) {
    if (saves) {
      skins::SaveSkinSettings(L"Child", L"", i % 2 ? L"6" : L"5");
    } else {
      Sleep(100);
    }
  }
  ExitProcess(0);
}();

struct Child {
  PROCESS_INFORMATION info = {};
  explicit Child(const wchar_t* argument) {
    wchar_t exe[MAX_PATH];
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring commandLine = L"\"" + std::wstring(exe) + L"\" " + argument;
    STARTUPINFOW startup = {sizeof startup};
    CreateProcessW(exe, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                   &info);
  }
  ~Child() { Kill(); }
  DWORD Id() const { return info.dwProcessId; }
  void Kill() {
    if (!info.hProcess) return;
    TerminateProcess(info.hProcess, 1);
    WaitForSingleObject(info.hProcess, 10000);
    CloseHandle(info.hProcess);
    CloseHandle(info.hThread);
    info = {};
  }
};

std::wstring CopyOf(DWORD processId) {
  return ConfigPath() + L"." + std::to_wstring(processId) + L".tmp";
}

bool Exists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The file system's number for the file at a path: it changes when another
// file is renamed over it.
ULONGLONG FileId(const std::wstring& path) {
  HANDLE f = CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                         nullptr, OPEN_EXISTING, 0, nullptr);
  BY_HANDLE_FILE_INFORMATION info = {};
  GetFileInformationByHandle(f, &info);
  CloseHandle(f);
  return static_cast<ULONGLONG>(info.nFileIndexHigh) << 32 | info.nFileIndexLow;
}

// Sections that make config.ini large enough for a Save to take a while.
std::string OtherSections(int count) {
  std::string others;
  for (int i = 0; i < count; ++i) {
    others += "[S" + std::to_string(i) + "]\r\nk=" + std::string(40, 'v') + "\r\n";
  }
  return others;
}

class SaveSafetyTest : public testing::Test {
 protected:
  void SetUp() override { RemoveConfigFiles(); }
  void TearDown() override { RemoveConfigFiles(); }
  static void RemoveConfigFiles() {
    for (const std::wstring& name : ConfigFiles()) RemoveTree(InApp(name));
  }
  void Save(const std::wstring& list, const std::wstring& text2, const std::wstring& text1) {
    skins::SaveSkinSettings(list, text2, text1);
  }
};

}  // namespace

TEST_F(SaveSafetyTest, ConfigIniHeldOpenFor40msByAReaderIsStillSaved) {
  WriteConfig("[Options]\r\nSkinName=Old\r\nSkinHue=1\r\n");
  // A reader that does not let the file be renamed over (no FILE_SHARE_DELETE).
  HANDLE hold = CreateFileW(ConfigPath().c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, hold);
  std::thread reader([hold] {
    Sleep(40);
    CloseHandle(hold);
  });
  Save(L"New", L"", L"2");
  reader.join();
  EXPECT_EQ("[Options]\r\nSkinName=New\r\nSkinHue=2\r\n", ConfigBytes());
  EXPECT_EQ(std::vector<std::wstring>{L"config.ini"}, ConfigFiles());
}

TEST_F(SaveSafetyTest, EveryReadSeesAllKeysOfOneSaveOrNoneOfThem) {
  const std::string others = OtherSections(4000);
  const std::string before = others + "[Options]\r\nSkinName=Old\r\nSkinAlpha=1\r\nSkinHue=1\r\n";
  const std::string after = others + "[Options]\r\nSkinName=New\r\nSkinAlpha=2\r\nSkinHue=2\r\n";
  WriteConfig(before);

  std::atomic<bool> stop{false};
  std::atomic<int> reads{0}, torn{0}, newSeen{0};
  std::thread reader([&] {
    while (!stop) {
      const std::string bytes = ReadShared(ConfigPath());
      ++reads;
      if (bytes == after) ++newSeen;
      if (bytes != before && bytes != after) ++torn;
      Sleep(1);
    }
  });
  for (int i = 0; i < 6; ++i) {
    if (i % 2) {
      Save(L"Old", L"1", L"1");
    } else {
      Save(L"New", L"2", L"2");
    }
  }
  stop = true;
  reader.join();
  EXPECT_EQ(0, torn.load()) << "of " << reads.load() << " reads";
  EXPECT_LT(0, newSeen.load());
  Save(L"New", L"2", L"2");
  EXPECT_TRUE(ConfigBytes() == after) << ConfigBytes().size() << " bytes";
}

TEST_F(SaveSafetyTest, ACopyWhoseKeysCannotBeWrittenNeverReplacesConfigIni) {
  const std::string others = OtherSections(6000);
  const std::string before = "[Options]\r\nSkinName=Old\r\nSkinHue=1\r\n" + others;
  const std::string after = "[Options]\r\nSkinName=New\r\nSkinHue=3\r\nSkinAlpha=2\r\n" + others;
  const std::wstring copy = CopyOf(GetCurrentProcessId());
  int held = 0;
  for (int round = 0; round < 4; ++round) {
    WriteConfig(before);
    const ULONGLONG id = FileId(ConfigPath());
    // Another program opens the copy as soon as it appears, letting it be
    // written, flushed and renamed but not read: the profile functions,
    // which read before they write, then fail on every key left.
    std::atomic<bool> done{false};
    HANDLE grabbed = INVALID_HANDLE_VALUE;
    std::thread other([&] {
      while (!done && grabbed == INVALID_HANDLE_VALUE) {
        grabbed = CreateFileW(copy.c_str(), GENERIC_WRITE, FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
      }
    });
    Save(L"New", L"2", L"3");
    done = true;
    other.join();
    if (grabbed != INVALID_HANDLE_VALUE) {
      CloseHandle(grabbed);
      ++held;
    }
    const std::string now = ConfigBytes();
    if (now == before) {
      EXPECT_EQ(id, FileId(ConfigPath())) << "config.ini was replaced by a copy without the keys";
    } else {
      EXPECT_TRUE(now == after) << "round " << round << ": config.ini is neither the old file "
                                << "nor the saved one (" << now.size() << " bytes)";
    }
    EXPECT_FALSE(Exists(copy));
  }
  EXPECT_LT(0, held) << "the copy was never caught open";
}

TEST_F(SaveSafetyTest, WhatWineRemembersOfTheCopyNeverComesBackInALaterSave) {
  WriteConfig("[Other]\r\nx=1\r\n[Options]\r\nSkinName=Old\r\n");
  Save(L"New", L"", L"");
  ASSERT_EQ("[Other]\r\nx=1\r\n[Options]\r\nSkinName=New\r\n", ConfigBytes());

  // Another program puts a different config.ini in its place with the same
  // time (as a restore or a sync does), once the time is old enough for
  // Wine to trust it.
  FILETIME written;
  HANDLE f = CreateFileW(ConfigPath().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                         OPEN_EXISTING, 0, nullptr);
  GetFileTime(f, nullptr, nullptr, &written);
  CloseHandle(f);
  Sleep(2200);
  WriteBytes(ConfigPath(), "[Mine]\r\ny=2\r\n[Options]\r\nSkinName=Restored\r\n");
  f = CreateFileW(ConfigPath().c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                  OPEN_EXISTING, 0, nullptr);
  SetFileTime(f, nullptr, nullptr, &written);
  CloseHandle(f);
  Save(L"", L"", L"5");
  EXPECT_EQ("[Mine]\r\ny=2\r\n[Options]\r\nSkinName=Restored\r\nSkinHue=5\r\n", ConfigBytes());

  // config.ini removed: the next Save starts from nothing.
  RemoveConfig();
  Save(L"", L"", L"7");
  EXPECT_EQ("[Options]\r\nSkinHue=7\r\n", ConfigBytes());
}

TEST_F(SaveSafetyTest, CopiesLeftByKilledSavesGoWithTheNextSaveLookAlikesStay) {
  const std::string others = OtherSections(6000);
  const std::string before = others + "[Options]\r\nSkinName=Old\r\nSkinHue=1\r\n";
  WriteConfig(before);

  // A copy of a process that still runs, made before any process ends so
  // that its number cannot be one that an ended process had.
  Child waiting(kWait);
  ASSERT_NE(0u, waiting.Id());
  WriteBytes(CopyOf(waiting.Id()), "running");

  // Kill Saves in the middle until one leaves its copy behind.
  DWORD killed = 0;
  for (int attempt = 0; attempt < 30 && !killed; ++attempt) {
    Child saving(kSaveUntilKilled);
    ASSERT_NE(0u, saving.Id());
    const std::wstring copy = CopyOf(saving.Id());
    ASSERT_TRUE(PumpUntil([&] { return Exists(copy); }, 20000)) << "the child never saved";
    Sleep(attempt % 7);
    const DWORD id = saving.Id();
    saving.Kill();
    if (Exists(copy)) killed = id;
    // Whenever it is killed, config.ini is whole: as before or as one Save left it.
    const std::string now = ConfigBytes();
    EXPECT_TRUE(now == before || now == others + "[Options]\r\nSkinName=Child\r\nSkinHue=5\r\n" ||
                now == others + "[Options]\r\nSkinName=Child\r\nSkinHue=6\r\n")
        << now.size() << " bytes";
  }
  ASSERT_NE(0u, killed) << "no Save was killed with its copy in place";
  const std::wstring stale = CopyOf(killed);

  // Names that only look like a copy, and a folder named like one.
  const std::wstring dead = std::to_wstring(killed);
  const std::vector<std::wstring> lookAlikes = {L"config.ini.12a.tmp",
                                                L"config.ini." + dead + L".tmp.bak",
                                                L"config.ini.0" + dead + L".tmp",
                                                L"config.ini..tmp",
                                                L"config.ini." + dead + L".TMP2",
                                                L"config.ini.-" + dead + L".tmp",
                                                L"config.ini.99999999999.tmp"};
  for (const std::wstring& name : lookAlikes) WriteBytes(InApp(name), "look-alike");
  const std::wstring folder = InApp(L"config.ini.4000000000.tmp");
  ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));

  // A start reads config.ini alone and goes past them.
  WriteConfig("[Options]\r\nSkinHue=9\r\n");
  WriteBytes(stale, "[Options]\r\nSkinHue=40\r\n");
  ClearEngineTrace();
  frmSkin->SetText(0);
  EXPECT_EQ(std::vector<std::string>{"SkinH_AdjustHSV|9|0|0"}, EngineTrace());
  EXPECT_TRUE(Exists(stale));

  Save(L"", L"", L"8");
  EXPECT_EQ("[Options]\r\nSkinHue=8\r\n", ConfigBytes());
  EXPECT_FALSE(Exists(stale)) << "the killed Save's copy is still there";
  EXPECT_EQ("running", ReadBytes(CopyOf(waiting.Id())));
  for (const std::wstring& name : lookAlikes) {
    EXPECT_EQ("look-alike", ReadBytes(InApp(name))) << Utf8(name);
  }
  EXPECT_EQ(static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY),
            GetFileAttributesW(folder.c_str()) & FILE_ATTRIBUTE_DIRECTORY);
  waiting.Kill();
  RemoveTree(folder);
  frmSkin.Reset();
}
