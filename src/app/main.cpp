// Morvanta·2014: the program has no start routine of its own beyond
// creating its start-up form and running events until no form is left.
#include <windows.h>

#include <exception>
#include <string>

#include "common/win_handles.h"
#include "main_window/frmMain.h"
#include "toolkit/app.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  // The browser control needs OLE; it stays up until every form is gone.
  const common::OleSession ole;
  if (!ole.ok()) return 1;
  int exitCode = 0;
  try {
    auto frmMain = toolkit::CreateForm<FrmMain>();
    frmMain->Show();
    toolkit::RunEventLoop();
  } catch (const std::exception& e) {
    // The report of a run-time error that nothing handled; it ends the run.
    const std::string what = e.what();
    toolkit::MsgBox(L"运行时错误: " + std::wstring(what.begin(), what.end()), MB_ICONERROR,
                    L"Morvanta\u00B72014");
    exitCode = 1;
  }
  return exitCode;
}
