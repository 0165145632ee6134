// The main window: the program's start-up form. It hosts the WebBrowser
// control, keeps it filling the client area, logs its size to log.txt and
// carries the menu bar.
#pragma once

#include <cstdint>
#include <string>

#include "main_window/browser_host.h"
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

  // Binds Web_V1 to the browser object of another control (any object with
  // IWebBrowser and DWebBrowserEvents), letting go of the earlier binding.
  void BindWebV1(IUnknown* controlObject) { WebBrowser1.BindWebV1(controlObject); }

  // A page asks for a new window: it is shown here instead.
  void Web_V1_NewWindow(const std::wstring& URL, long Flags, const std::wstring& TargetFrameName,
                        const main_window::PostData& PostData, const std::wstring& Headers,
                        VARIANT_BOOL& Processed);

  IWebBrowser* Web_V1() const { return WebBrowser1.WebV1(); }
  HWND BrowserWindow() const { return WebBrowser1.Window(); }

 protected:
  HMENU CreateMenuBar() override;
  void CreateControls() override;
  void Form_Load() override;
  void Form_Resize() override;
  void Form_Unload() override;
  bool OnCommand(WORD id, WORD code, HWND control) override;
  bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) override;
  bool TranslateKey(MSG* msg) override;

 private:
  // Keeps an open skin dialog above this window while it is pinned.
  void KeepDialogAbove();
  void WatchDialogAbove();
  static constexpr UINT_PTR kDialogAboveTimer = 1;
  static constexpr int kDialogAboveChecks = 10;
  static constexpr UINT kDialogAboveCheckMs = 50;
  int dialogChecksLeft_ = 0;

  // The control, its automation object Web_V1 and the subscription to
  // Web_V1's events.
  main_window::BrowserHost WebBrowser1;
  bool IsFormTop = false;
};
