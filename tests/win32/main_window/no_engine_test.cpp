// Without dulib.dll beside the program, start-up goes on: the window opens
// and logs its size. A dulib.dll in the current folder is never loaded.
#include <gtest/gtest.h>

#include "main_window/frmMain.h"
#include "support/wine_test.h"

using namespace wine_test;

TEST(NoEngine, StartsWithoutTheEngineAndIgnoresAPlantedOne) {
  DeleteFileW(InApp(L"dulib.dll").c_str());
  DeleteFileW(InApp(L"log.txt").c_str());
  DeleteFileW(InApp(L"planted\\dulib_trace.txt").c_str());
  ASSERT_TRUE(SetCurrentDirectoryW(InApp(L"planted").c_str()));

  auto form = toolkit::CreateForm<FrmMain>();
  form->Show();
  Pump(100);

  EXPECT_TRUE(IsWindowVisible(form->Hwnd()));
  EXPECT_EQ("11250|15600\r\nH/W\r\n", ReadBytes(InApp(L"log.txt")));
  EXPECT_EQ(nullptr, GetModuleHandleW(L"dulib.dll"));
  EXPECT_EQ("", ReadBytes(InApp(L"planted\\dulib_trace.txt")));
  form->Unload();
}
