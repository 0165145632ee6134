#include "main_window/frmMain.h"

#include <cmath>
#include <stdexcept>

#include "main_window/browser_calls.h"
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

FrmMain::FrmMain() : Form(MainWindowLook()) {}

FrmMain::~FrmMain() { ReleaseBrowser(); }

void FrmMain::Form_Initialize() { Refrmsize(1040, 750); }

void FrmMain::Refrmsize(int32_t w, int32_t h) {
  // Start-up: this is where the form loads. Refrmsize runs from
  // Form_Initialize, before anything else has used the window, so this
  // first use creates it and runs Form_Load (skin engine, settings,
  // browser) before the window gets its size.
  EnsureLoaded();
  if (WindowState() == 2) return;
  SetWidth(static_cast<float>(PixelsToTwips(w)));
  SetHeight(static_cast<float>(PixelsToTwips(h)));
  const float sw = toolkit::ScreenWidth(), width = Width();
  const float sh = toolkit::ScreenHeight(), height = Height();
  const float top = Centre(sh, height);
  const float left = Centre(sw, width);
  Move(left, top);
}

void FrmMain::CreateControls() {
  // WebBrowser1 starts at 120, 360 (4455 x 2295 twips); the first resize
  // makes it fill the client area.
  WebBrowser1 =
      main_window::BrowserSite::Create(RawHwnd(), toolkit::PixelRect({120, 360, 4455, 2295}));
}

void FrmMain::Form_Load() {
  SkinH::SkinH_Attach();
  frmSkin->SetText(0);

  // Bound before the first navigation, so that new-window requests are
  // caught from the first page on.
  if (WebBrowser1) BindWebV1(WebBrowser1->Object());
  Navigate(HomeUrl);
}

void FrmMain::Form_Resize() {
  if (WindowState() == 1) return;
  // Every step below fails quietly: the next resize tries again.
  if (WebBrowser1) WebBrowser1->Place(toolkit::PixelRect({0, 0, ScaleWidth(), ScaleHeight()}));

  toolkit::TextOutput log(toolkit::AppPath() + L"\\log.txt");
  log.WriteLine(rules::SingleToText(Height()) + L"|" + rules::SingleToText(Width()));
  log.WriteLine(L"H/W");
}

void FrmMain::Form_Unload() { ReleaseBrowser(); }

void FrmMain::ReleaseBrowser() {
  UnbindWebV1();
  if (WebBrowser1) WebBrowser1->Close();
  WebBrowser1.Reset();
}

bool FrmMain::TranslateKey(MSG* msg) {
  // Keys typed into the page go to the control first, as to any hosted
  // browser: Tab between links and fields, Enter in forms, Ctrl+C.
  HWND browser = BrowserWindow();
  if (!browser || (msg->hwnd != browser && !IsChild(browser, msg->hwnd))) return false;
  toolkit::ComPtr<IOleInPlaceActiveObject> active;
  if (FAILED(WebBrowser1->Object()->QueryInterface(IID_IOleInPlaceActiveObject, active.PutVoid())))
    return false;
  return active->TranslateAccelerator(msg) == S_OK;
}

HWND FrmMain::BrowserWindow() const {
  HWND hwnd = nullptr;
  if (!WebBrowser1) return nullptr;
  toolkit::ComPtr<IOleWindow> window;
  if (SUCCEEDED(WebBrowser1->Object()->QueryInterface(IID_IOleInPlaceObject, window.PutVoid())))
    window->GetWindow(&hwnd);
  return hwnd;
}

void FrmMain::BindWebV1(IUnknown* controlObject) {
  UnbindWebV1();
  if (!controlObject || FAILED(controlObject->QueryInterface(IID_IWebBrowser, Web_V1_.PutVoid())))
    return;
  events_ = main_window::WebEvents::Create([this](BSTR url, long flags, BSTR target, VARIANT* post,
                                                  BSTR headers, VARIANT_BOOL* processed) {
    Web_V1_NewWindow(url, flags, target, post, headers, processed);
  });
  events_->Connect(Web_V1_.Get());
}

void FrmMain::UnbindWebV1() {
  // The subscription goes first: the connection point holds the sink.
  if (events_) events_->Disconnect();
  events_.Reset();
  Web_V1_.Reset();
}

void FrmMain::Navigate(std::wstring url) {
  // A failed Silent means the navigation is not requested.
  if (FAILED(main_window::SetSilent(Web_V1_.Get()))) return;
  main_window::NavigateTo(Web_V1_.Get(), url);
}

void FrmMain::Web_V1_NewWindow(BSTR URL, long, BSTR, VARIANT*, BSTR, VARIANT_BOOL* Processed) {
  // Marked handled first: the control then opens no window, whatever the
  // navigation below makes of the address.
  if (Processed) *Processed = VARIANT_TRUE;
  main_window::NavigateTo(Web_V1_.Get(), URL ? std::wstring(URL, SysStringLen(URL)) : L"");
}
