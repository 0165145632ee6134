// A damaged dulib.dll beside the program: loading it raises no system error
// box, every call is skipped, and the thread's error mode is given back.
#include <gtest/gtest.h>
#include <windows.h>

#include "skins/SkinH.h"
#include "support/wine_test.h"

using namespace wine_test;

TEST(EngineLoad, ADamagedEngineIsSkippedWithErrorBoxesOffAndTheModeRestored) {
  const std::wstring engine = InApp(L"dulib.dll");
  std::string garbage = "MZ";
  unsigned seed = 7;
  for (int i = 0; i < 4096; ++i) {
    seed = seed * 1103515245 + 12345;
    garbage += static_cast<char>((seed >> 16) & 0xFF);
  }
  WriteBytes(engine, garbage);
  ClearEngineTrace();
  ASSERT_TRUE(SetThreadErrorMode(SEM_NOOPENFILEERRORBOX, nullptr));

  SkinH::SkinH_Attach();
  SkinH::SkinH_AdjustHSV(30, 0, 0);
  SkinH::SkinH_SetAero(1);
  EXPECT_EQ(nullptr, GetModuleHandleW(L"dulib.dll"));
  EXPECT_EQ(static_cast<DWORD>(SEM_NOOPENFILEERRORBOX), GetThreadErrorMode());

  // A sound engine put in its place is loaded at the next call, with the
  // boxes off during the load only.
  ASSERT_TRUE(CopyFileW(InApp(L"sound\\dulib.dll").c_str(), engine.c_str(), FALSE));
  SkinH::SkinH_AdjustHSV(30, 0, 0);
  HMODULE loaded = GetModuleHandleW(L"dulib.dll");
  ASSERT_NE(nullptr, loaded);
  auto modeAtLoad = reinterpret_cast<DWORD(WINAPI*)()>(GetProcAddress(loaded, "ErrorModeAtLoad"));
  ASSERT_NE(nullptr, modeAtLoad);
  EXPECT_EQ(static_cast<DWORD>(SEM_NOOPENFILEERRORBOX | SEM_FAILCRITICALERRORS), modeAtLoad());
  EXPECT_EQ(static_cast<DWORD>(SEM_NOOPENFILEERRORBOX), GetThreadErrorMode());
  EXPECT_EQ(std::vector<std::string>{"SkinH_AdjustHSV|30|0|0"}, EngineTrace());
}
