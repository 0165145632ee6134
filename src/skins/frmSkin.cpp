#include "skins/frmSkin.h"

#include "skins/skin_settings.h"

toolkit::AutoForm<FrmSkin> frmSkin;

namespace {

toolkit::FormSpec DialogSpec() {
  toolkit::FormSpec spec;
  spec.caption = L"Morvanta\u00B72014 更换主题";
  spec.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  spec.exStyle = WS_EX_DLGMODALFRAME;
  spec.clientWidth = 5115;
  spec.clientHeight = 3195;
  spec.centerOnShow = true;
  spec.noTaskbarButton = true;
  spec.dialogKeys = true;
  return spec;
}

}  // namespace

FrmSkin::FrmSkin() : Form(DialogSpec()) {}

void FrmSkin::SetText(int16_t Mode) {
  if (Mode == 0) skins::LoadSkinSettings();
}

void FrmSkin::Form_Unload() { frmSkin.Reset(); }
