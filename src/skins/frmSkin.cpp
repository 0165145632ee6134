#include "skins/frmSkin.h"

#include "common/ansi.h"
#include "rules/skin_dialog.h"
#include "skins/SkinH.h"
#include "skins/skin_settings.h"
#include "toolkit/app.h"
#include "toolkit/files.h"
#include "toolkit/watch.h"

toolkit::AutoForm<FrmSkin> frmSkin;

namespace {

// What a skin's file and its folder of pictures hold now, as a text that
// changes whenever either is written, added or removed.
std::wstring SkinStamp(const std::wstring& name) {
  const std::wstring skins = toolkit::AppPath() + L"\\Skin\\";
  return toolkit::FilesStamp(skins + name + L".she") + L"/" +
         toolkit::FilesStamp(skins + name + L"\\*");
}

// Control ids start above IDOK and IDCANCEL: Enter and Escape send those,
// and they press nothing here.
enum ControlId : int {
  kFrame1 = 101,
  kList1,
  kFrame2,
  kLabel1,
  kText1,
  kLabel2,
  kLabel3,
  kText2,
  kLabel4,
  kCheck1,
  kCommand1,
  kCommand2,
};

toolkit::FormLook DialogLook() {
  toolkit::FormLook look;
  look.caption = L"Morvanta\u00B72014 更换主题";
  look.style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
  look.exStyle = WS_EX_DLGMODALFRAME;
  look.clientWidth = 5115;
  look.clientHeight = 3195;
  look.centerOnShow = true;
  look.noTaskbarButton = true;
  look.dialogKeys = true;
  return look;
}

}  // namespace

FrmSkin::FrmSkin() : Form(DialogLook()) {}

void FrmSkin::CreateControls() {
  // Created in tab order, which is also the order Tab follows. The dialog
  // does not clip its children, so the inside of a frame is painted by the
  // dialog; the controls lying over a frame then paint themselves on it.
  const HWND dialog = RawHwnd();
  Frame1.Create(dialog, kFrame1, L"皮肤列表", {120, 120, 1815, 3015});
  List1.Create(dialog, kList1, {240, 360, 1575, 2580});
  Frame2.Create(dialog, kFrame2, L"皮肤选项", {2040, 120, 3015, 3015});
  const HWND frame2 = Frame2.Hwnd();
  Label1.Create(frame2, kLabel1, L"色调:", {360, 480, 450, 180});
  Text1.Create(frame2, kText1, {960, 420, 975, 300});
  Label2.Create(frame2, kLabel2, L"-180/180", {2040, 480, 720, 180});
  Label3.Create(frame2, kLabel3, L"透明度:", {175, 960, 630, 180});
  Text2.Create(dialog, kText2, {3000, 1020, 975, 300});
  Label4.Create(frame2, kLabel4, L"0/255", {2040, 960, 450, 180});
  Check1.Create(dialog, kCheck1, L"一键启用 Aero （窗体透明）", {2280, 1440, 2655, 495});
  Command1.Create(dialog, kCommand1, L"关闭(&X)", {2400, 2400, 1215, 495});
  Command2.Create(dialog, kCommand2, L"保存(&S)", {3720, 2400, 1215, 495});
  // The places above leave the captions no room beyond what 9-point Song
  // needs; another font, as Wine's default, cuts them off.
  UseFont(toolkit::FittingFont({&Frame1, &Frame2, &Label1, &Label2, &Label3, &Label4, &Check1,
                                &Command1, &Command2}),
          {&Frame1, &List1, &Frame2, &Label1, &Text1, &Label2, &Label3, &Text2, &Label4, &Check1,
           &Command1, &Command2});
}

void FrmSkin::Form_Load() {
  List1.Clear();
  for (const std::wstring& name :
       rules::SkinNames(toolkit::ListFiles(toolkit::AppPath() + L"\\Skin\\"))) {
    // The engine gets the path in the ANSI code page: a name that does not
    // survive that could never be previewed or stored, so it is not offered.
    if (common::FitsAnsi(skins::SkinFilePath(name))) List1.AddItem(name);
  }
  SkinWatch = std::make_unique<toolkit::FolderWatch>(toolkit::AppPath() + L"\\Skin",
                                                     [this] { SkinFolder_Change(); });
}

bool FrmSkin::OnCommand(WORD id, WORD code, HWND) {
  switch (id) {
    case kList1:
      if (code == LBN_SELCHANGE) List1_Click();
      return true;
    case kCheck1:
      if (code == BN_CLICKED) Check1_Click();
      return true;
    case kCommand1:
      if (code == BN_CLICKED) Command1_Click();
      return true;
    case kCommand2:
      if (code == BN_CLICKED) Command2_Click();
      return true;
  }
  return false;
}

void FrmSkin::List1_Click() {
  if (List1.ListCount() == 0) return;
  Previewed = List1.Text();
  PreviewedStamp = SkinStamp(Previewed);
  // The file is not looked for: the engine gets the path as it is.
  SkinH::SkinH_AttachEx(skins::SkinFilePath(Previewed), L"");
}

void FrmSkin::SkinFolder_Change() {
  // Only a change to the skin on preview is previewed again; the engine
  // keeps the hue and transparency, and keeps the skin it has when the
  // file now fails.
  if (Previewed.empty() || List1.Text() != Previewed) return;
  std::wstring stamp = SkinStamp(Previewed);
  if (stamp == PreviewedStamp) return;
  PreviewedStamp = std::move(stamp);
  SkinH::SkinH_AttachEx(skins::SkinFilePath(Previewed), L"");
}

void FrmSkin::Check1_Click() {
  switch (Check1.Value()) {
    case 1:
      SkinH::SkinH_SetAero(1);
      break;
    case 0:
      SkinH::SkinH_SetAero(0);
      break;
  }
}

void FrmSkin::Command2_Click() {
  HueValue = rules::BoxValue(Text1.Text());
  AlphaValue = rules::BoxValue(Text2.Text());
  if (auto hue = rules::HueToApply(HueValue)) SkinH::SkinH_AdjustHSV(*hue, 0, 0);
  if (auto alpha = rules::AlphaToApply(AlphaValue))
    SkinH::SkinH_AdjustAero(*alpha, SkinH::kAeroArgs);
  SetText(1);
  Unload();
}

void FrmSkin::Command1_Click() {
  if (rules::CloseAsksFirst(Text1.Text(), Text2.Text(), Check1.Value())) {
    const int answer = toolkit::MsgBox(L"设置未保存，现在离去？",
                                       MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON1, L"提示");
    if (answer != IDYES) return;
  }
  Unload();
}

void FrmSkin::SetText(int16_t Mode) {
  if (Mode == 0) skins::LoadSkinSettings();
  if (Mode == 1) skins::SaveSkinSettings(List1.Text(), Text2.Text(), Text1.Text());
}

void FrmSkin::Form_Unload() {
  SkinWatch.reset();
  frmSkin.Reset();
}
