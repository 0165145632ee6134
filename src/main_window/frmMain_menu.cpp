// The main window's menu bar and the commands behind it.
#include "main_window/frmMain.h"
#include "skins/frmSkin.h"
#include "toolkit/app.h"

namespace {

enum MenuId : WORD {
  mnuBack = 101,
  mnuRefresh,
  mnuHome,
  mnuFormTop,
  mnu_skin,
};

HMENU DropDown(std::initializer_list<std::pair<WORD, const wchar_t*>> items) {
  HMENU menu = CreatePopupMenu();
  for (const auto& [id, caption] : items) {
    if (id == 0)
      AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    else
      AppendMenuW(menu, MF_STRING, id, caption);
  }
  return menu;
}

}  // namespace

HMENU FrmMain::CreateMenuBar() {
  HMENU bar = CreateMenu();
  HMENU mnu_normal = DropDown({{mnuBack, L"返回(&B)"},
                               {0, nullptr},  // sp1
                               {mnuRefresh, L"刷新(&R)"},
                               {0, nullptr},  // sp2
                               {mnuHome, L"主页(&H)"}});
  HMENU mnu_options = DropDown({{mnuFormTop, L"窗体置顶"},
                                {0, nullptr},  // sp
                                {mnu_skin, L"更换主题"}});
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(mnu_normal), L"常规(&N)");
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(mnu_options), L"选项(&O)");
  return bar;
}

bool FrmMain::OnCommand(WORD id, WORD, HWND control) {
  if (control) return false;
  switch (id) {
    case mnuBack:
      mnuBack_Click();
      return true;
    case mnuRefresh:
      mnuRefresh_Click();
      return true;
    case mnuHome:
      mnuHome_Click();
      return true;
    case mnuFormTop:
      mnuFormTop_Click();
      return true;
    case mnu_skin:
      mnu_skin_Click();
      return true;
  }
  return false;
}

// A failing browser operation (Back on the first page, above all) is
// ignored: no message, and the program goes on.
void FrmMain::mnuBack_Click() { WebBrowser1.GoBack(); }
void FrmMain::mnuRefresh_Click() { WebBrowser1.Refresh(); }
void FrmMain::mnuHome_Click() { Navigate(HomeUrl); }

void FrmMain::mnuFormTop_Click() {
  IsFormTop = !IsFormTop;
  const HWND insertAfter = IsFormTop ? HWND_TOPMOST : HWND_NOTOPMOST;
  SetWindowPos(Hwnd(), insertAfter, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
  // An open skin dialog follows: it is smaller than this window, centred on
  // the same point and has no task-bar button, so below a pinned main
  // window nothing of it could be seen or reached, and left on top after
  // a release it would hide the notice.
  if (!frmSkin.IsEmpty() && frmSkin->IsLoaded()) frmSkin->SetTopMost(IsFormTop);
  toolkit::MsgBox(IsFormTop ? L"窗体已至顶。" : L"窗体已取消至顶。", MB_ICONINFORMATION, L"提示");
}

// The dialog stays without an owner, so that closing this window leaves it
// open; it is put on top with this window instead, before it is shown.
void FrmMain::mnu_skin_Click() {
  frmSkin->SetTopMost(IsFormTop);
  frmSkin->Show();
}
