// The skin dialog: lists the skins of the Skin folder, previews a skin on
// selection, switches the transparency effect, and stores the settings.
// SetText also loads the stored settings at start-up without any window.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "toolkit/controls.h"
#include "toolkit/form.h"
#include "toolkit/watch.h"

class FrmSkin : public toolkit::Form {
 public:
  FrmSkin();

  // 0 loads the stored skin settings and applies them; 1 stores the
  // dialog's entries; any other mode does nothing.
  void SetText(int16_t Mode);

  // The controls, in tab order. Label1, Text1, Label2, Label3 and Label4
  // lie inside Frame2; the others belong to the dialog itself.
  toolkit::Frame Frame1;
  toolkit::ListBox List1;
  toolkit::Frame Frame2;
  toolkit::Label Label1;
  toolkit::TextBox Text1;  // hue
  toolkit::Label Label2;
  toolkit::Label Label3;
  toolkit::TextBox Text2;  // transparency
  toolkit::Label Label4;
  toolkit::CheckBox Check1;
  toolkit::CommandButton Command1;  // Close
  toolkit::CommandButton Command2;  // Save

  void List1_Click();
  void Check1_Click();
  void Command1_Click();
  void Command2_Click();
  // Something in Skin\ changed while the dialog is open.
  void SkinFolder_Change();

 protected:
  void CreateControls() override;
  void Form_Load() override;
  void Form_Unload() override;
  bool OnCommand(WORD id, WORD code, HWND control) override;

 private:
  // The numbers Save read from the boxes; empty when a box's value does
  // not fit 32 bits.
  std::optional<int32_t> AlphaValue;
  std::optional<int32_t> HueValue;

  // While the dialog is open, Skin\ is followed so that a skin being
  // edited is previewed again as it is saved: the previewed skin's name
  // and what its file and picture folder held when it was attached.
  std::unique_ptr<toolkit::FolderWatch> SkinWatch;
  std::wstring Previewed;
  std::wstring PreviewedStamp;
};

// The one reference to the skin dialog object.
extern toolkit::AutoForm<FrmSkin> frmSkin;
