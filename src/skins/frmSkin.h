// The skin dialog: lists the skins of the Skin folder, previews a skin on
// selection, switches the transparency effect, and stores the settings.
// SetText also loads the stored settings at start-up without any window.
#pragma once

#include <cstdint>
#include <string>

#include "toolkit/form.h"

class FrmSkin : public toolkit::Form {
 public:
  FrmSkin();

  // 0 loads the stored skin settings and applies them; 1 stores the
  // dialog's entries; any other mode does nothing.
  void SetText(int16_t Mode);

 protected:
  void Form_Unload() override;
};

// The one reference to the skin dialog object.
extern toolkit::AutoForm<FrmSkin> frmSkin;
