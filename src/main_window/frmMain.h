// The main window: the program's start-up form. It hosts the WebBrowser
// control, keeps it filling the client area, logs its size to log.txt and
// carries the menu bar.
#pragma once

#include <exdisp.h>

#include <cstdint>
#include <string>

#include "main_window/browser_site.h"
#include "main_window/web_events.h"
#include "toolkit/com_ptr.h"
#include "toolkit/form.h"

extern const wchar_t HomeUrl[];

class FrmMain : public toolkit::Form {
 public:
  FrmMain();
  ~FrmMain() override;

  void Form_Initialize() override;

  // Gives the window an outer size of w x h pixels (15 twips each) and
  // centres it on the screen; nothing while maximised.
  void Refrmsize(int32_t w, int32_t h);
  // Opens an address with the control silent.
  void Navigate(std::wstring url);

  // Menu commands.
  void mnuBack_Click();
  void mnuRefresh_Click();
  void mnuHome_Click();
  void mnuFormTop_Click();
  void mnu_skin_Click();

  // Binds Web_V1 to the browser object of a control and subscribes to its
  // DWebBrowserEvents, letting go of any earlier binding first.
  void BindWebV1(IUnknown* controlObject);

  // A page asks for a new window: it is shown here instead.
  void Web_V1_NewWindow(BSTR URL, long Flags, BSTR TargetFrameName, VARIANT* PostData, BSTR Headers,
                        VARIANT_BOOL* Processed);

  IWebBrowser* Web_V1() const { return Web_V1_.Get(); }
  HWND BrowserWindow() const;

 protected:
  HMENU CreateMenuBar() override;
  void CreateControls() override;
  void Form_Load() override;
  void Form_Resize() override;
  void Form_Unload() override;
  bool OnCommand(WORD id, WORD code, HWND control) override;
  bool TranslateKey(MSG* msg) override;

 private:
  void UnbindWebV1();
  void ReleaseBrowser();

  toolkit::ComPtr<main_window::BrowserSite> WebBrowser1;
  toolkit::ComPtr<IWebBrowser> Web_V1_;
  toolkit::ComPtr<main_window::WebEvents> events_;
  bool IsFormTop = false;
};
