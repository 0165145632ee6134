#include "main_window/frmMain.h"

#include <cmath>
#include <stdexcept>

#include "rules/number.h"
#include "skins/SkinH.h"
#include "skins/frmSkin.h"
#include "toolkit/app.h"
#include "toolkit/files.h"
#include "toolkit/twips.h"

const wchar_t HomeUrl[] = L"http://www.morvanta.tv/tv/cbox.html";

namespace {

constexpr int kAppIcon = 1;
// Refrmsize's sizes are in pixels of 15 twips, whatever the display.
constexpr int32_t kFixedTwipsPerPixel = 15;

toolkit::FormLook MainWindowLook() {
  toolkit::FormLook look;
  look.caption = L"Morvanta\u00B72014 - WWW.MORVANTA.TV";
  // No WS_CLIPCHILDREN: the browser covers the whole client area, and
  // clipping it out costs every resize dearly for nothing.
  look.style = WS_OVERLAPPEDWINDOW;
  look.clientWidth = 4680;
  look.clientHeight = 3195;
  look.iconId = kAppIcon;
  return look;
}

int32_t PixelsToTwips(int32_t pixels) {
  int32_t twips;
  if (__builtin_mul_overflow(pixels, kFixedTwipsPerPixel, &twips))
    throw std::overflow_error("Overflow");
  return twips;
}

float Centre(float screen, float window) {
  const double offset = (static_cast<double>(screen) - window) / 2;
  if (!std::isfinite(offset)) throw std::range_error("Floating-point error");
  return static_cast<float>(offset);
}

}  // namespace

FrmMain::FrmMain()
    : Form(MainWindowLook()),
      WebBrowser1([this](const std::wstring& url, long flags, const std::wstring& target,
                         const main_window::PostData& postData, const std::wstring& headers,
                         VARIANT_BOOL& processed) {
        Web_V1_NewWindow(url, flags, target, postData, headers, processed);
      }) {}

FrmMain::~FrmMain() = default;

void FrmMain::Form_Initialize() { Refrmsize(1040, 750); }

void FrmMain::Refrmsize(int32_t w, int32_t h) {
  // Start-up: this is where the form loads. Refrmsize runs from
  // Form_Initialize, before anything else has used the window, so this
  // first use creates it and runs Form_Load (skin engine, settings,
  // browser) before the window gets its size.
  EnsureLoaded();
  if (WindowState() == 2) return;
  const float width = static_cast<float>(PixelsToTwips(w));
  float height;
  try {
    height = static_cast<float>(PixelsToTwips(h));
  } catch (const std::overflow_error&) {
    SetWidth(width);  // the width is given before the height fails
    throw;
  }
  // Width, height and place in one move: each window call is a round trip
  // to the window system. The place is worked out from the size the window
  // will have, which is the size asked for unless the system holds the
  // window to another one (larger than it allows, or a size that is no
  // whole number of pixels); then it is centred again at the size it took.
  const float sw = toolkit::ScreenWidth(), sh = toolkit::ScreenHeight();
  const float expectedWidth = toolkit::TwipsX(toolkit::PixelsX(width));
  const float expectedHeight = toolkit::TwipsY(toolkit::PixelsY(height));
  Move(Centre(sw, expectedWidth), Centre(sh, expectedHeight), width, height);
  const float tookWidth = Width(), tookHeight = Height();
  if (tookWidth != expectedWidth || tookHeight != expectedHeight)
    Move(Centre(sw, tookWidth), Centre(sh, tookHeight));
}

void FrmMain::CreateControls() {
  // WebBrowser1 starts at 120, 360 (4455 x 2295 twips); the first resize
  // makes it fill the client area.
  WebBrowser1.Create(RawHwnd(), toolkit::PixelRect({120, 360, 4455, 2295}));
}

void FrmMain::Form_Load() {
  SkinH::SkinH_Attach();
  frmSkin->SetText(0);

  // Bound before the first navigation, so that new-window requests are
  // caught from the first page on.
  WebBrowser1.BindWebV1();
  Navigate(HomeUrl);
}

void FrmMain::Form_Resize() {
  if (WindowState() == 1) return;
  // Every step below fails quietly: the next resize tries again.
  WebBrowser1.Place(toolkit::PixelRect({0, 0, ScaleWidth(), ScaleHeight()}));

  toolkit::TextOutput log(toolkit::AppPath() + L"\\log.txt");
  log.WriteLine(rules::SingleToText(Height()) + L"|" + rules::SingleToText(Width()));
  log.WriteLine(L"H/W");
}

void FrmMain::Form_Unload() {
  WebBrowser1.Close();
  // An open skin dialog outlives this window; it was kept on top only to
  // stay above it, so both go back to being ordinary windows (a window
  // cannot leave the top-most layer while one just below it stays there).
  if (IsFormTop && !frmSkin.IsEmpty() && frmSkin->IsLoaded()) {
    SetTopMost(false);
    frmSkin->SetTopMost(false);
  }
}

bool FrmMain::OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
  const bool restacked =
      msg == WM_WINDOWPOSCHANGED && !(reinterpret_cast<const WINDOWPOS*>(lp)->flags & SWP_NOZORDER);
  // Either way: when the dialog itself is activated, this window must not
  // come out above it either.
  if (msg == WM_ACTIVATE || restacked) KeepDialogAbove();
  if (msg == WM_ACTIVATE) WatchDialogAbove();
  if (msg == WM_TIMER && wp == kDialogAboveTimer) {
    if (--dialogChecksLeft_ <= 0) KillTimer(RawHwnd(), kDialogAboveTimer);
    KeepDialogAbove();
    *result = 0;
    return true;
  }
  // As in any browser host, the page takes the keyboard whenever the window
  // does, so arrow keys, Page Down and Tab work without a click first, and
  // gets it back in the window of the page that had it (a text field keeps
  // its caret). A minimised window shows no page: it keeps the keyboard to
  // itself until it is restored and activated again.
  if (msg == WM_ACTIVATE && LOWORD(wp) == WA_INACTIVE) {
    WebBrowser1.KeepFocus(GetFocus());
    return false;
  }
  const bool activated = msg == WM_ACTIVATE && !HIWORD(wp);
  const bool focused = msg == WM_SETFOCUS && !IsIconic(RawHwnd());
  if (!activated && !focused) return false;
  if (!BrowserWindow()) return false;
  // Focus given to the window itself comes from a window of the page when
  // something took it away for a moment: that one gets it back.
  if (focused) WebBrowser1.KeepFocus(reinterpret_cast<HWND>(wp));
  WebBrowser1.Focus();
  *result = 0;
  return true;
}

// Pinned, this window and an open skin dialog are both in the top-most
// layer, where the window activated last comes first: a click on the page
// lifts this window over the dialog, which has no task-bar button to bring
// it back. So whenever this window comes to the front it steps back just
// below the dialog, without activating anything: the activation and the
// focus stay where the user clicked.
void FrmMain::KeepDialogAbove() {
  if (!IsFormTop || frmSkin.IsEmpty() || !frmSkin->IsLoaded()) return;
  const HWND self = RawHwnd(), dialog = frmSkin->Hwnd();
  // Only between two top-most windows: placed after a dialog that is not
  // top-most, this window would leave the top-most layer.
  auto topMost = [](HWND h) { return (GetWindowLongW(h, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; };
  if (!IsWindowVisible(dialog) || !topMost(dialog) || !topMost(self)) return;
  for (HWND h = GetWindow(self, GW_HWNDPREV); h; h = GetWindow(h, GW_HWNDPREV))
    if (h == dialog) return;
  // This window moves rather than the dialog: asked to lift the dialog
  // (which has a hidden owner) over it, Wine leaves the dialog where it is.
  SetWindowPos(self, dialog, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

// Wine without a window manager brings the activated window to the front a
// moment later and without any message to it: for a short while after each
// change of activation the dialog's place is looked at again.
void FrmMain::WatchDialogAbove() {
  if (!IsFormTop || frmSkin.IsEmpty() || !frmSkin->IsLoaded()) return;
  dialogChecksLeft_ = kDialogAboveChecks;
  SetTimer(RawHwnd(), kDialogAboveTimer, kDialogAboveCheckMs, nullptr);
}

bool FrmMain::TranslateKey(MSG* msg) {
  // Keys typed into the page go to the control first, as to any hosted
  // browser: Tab between links and fields, Enter in forms, Ctrl+C.
  return WebBrowser1.TranslateKey(msg);
}

void FrmMain::Navigate(std::wstring url) {
  // A failed Silent means the navigation is not requested.
  if (FAILED(WebBrowser1.SetSilent())) return;
  WebBrowser1.Navigate(url);
}

void FrmMain::Web_V1_NewWindow(const std::wstring& URL, long, const std::wstring&,
                               const main_window::PostData& PostData, const std::wstring& Headers,
                               VARIANT_BOOL& Processed) {
  // Marked handled first: the control then opens no window, whatever the
  // navigation below makes of the address.
  Processed = VARIANT_TRUE;
  // The request the new window would have made, form data and headers
  // included, so a form posted into a new window arrives as posted. The
  // target frame is left out: the page is shown here.
  WebBrowser1.Navigate(URL, PostData, Headers);
}
