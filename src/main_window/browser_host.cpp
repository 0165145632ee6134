#include "main_window/browser_host.h"

#include <exdisp.h>

#include "main_window/browser_calls.h"
#include "main_window/browser_site.h"
#include "main_window/web_events.h"

namespace main_window {

BrowserHost::BrowserHost(NewWindowHandler onNewWindow) : onNewWindow_(std::move(onNewWindow)) {}

BrowserHost::~BrowserHost() { Close(); }

bool BrowserHost::Create(HWND parent, const RECT& rect) {
  Close();
  site_ = BrowserSite::Create(parent, rect);
  return static_cast<bool>(site_);
}

void BrowserHost::BindWebV1() {
  if (site_) BindWebV1(site_->Object());
}

void BrowserHost::BindWebV1(IUnknown* object) {
  UnbindWebV1();
  if (!object || FAILED(object->QueryInterface(IID_IWebBrowser, webV1_.PutVoid()))) return;
  events_ = WebEvents::Create(onNewWindow_);
  events_->Connect(webV1_.Get());
}

void BrowserHost::UnbindWebV1() {
  // The subscription goes first: the connection point holds the sink.
  if (events_) events_->Disconnect();
  events_.Reset();
  webV1_.Reset();
}

void BrowserHost::Close() {
  // The object's events and references before the control, and the control
  // before its site: each holds on to the next.
  UnbindWebV1();
  // The host lets go of the control before closing it: destroying the
  // control's window moves the focus to the main window, whose focus
  // handling must then find no control to activate, or it would hand the
  // focus back to the window being destroyed.
  const toolkit::ComPtr<BrowserSite> site = std::move(site_);
  if (site) site->Close();
}

IWebBrowser* BrowserHost::WebV1() const { return webV1_.Get(); }

HWND BrowserHost::Window() const {
  HWND hwnd = nullptr;
  toolkit::ComPtr<IOleWindow> window;
  IUnknown* object = site_ ? site_->Object() : nullptr;
  if (object && SUCCEEDED(object->QueryInterface(IID_IOleInPlaceObject, window.PutVoid())))
    window->GetWindow(&hwnd);
  return hwnd;
}

HRESULT BrowserHost::SetSilent() { return main_window::SetSilent(webV1_.Get()); }

HRESULT BrowserHost::Navigate(const std::wstring& url) { return NavigateTo(webV1_.Get(), url); }

HRESULT BrowserHost::Navigate(const std::wstring& url, const PostData& postData,
                              const std::wstring& headers) {
  return NavigateTo(webV1_.Get(), url, postData, headers);
}

HRESULT BrowserHost::GoBack() { return main_window::GoBack(webV1_.Get()); }
HRESULT BrowserHost::Refresh() { return main_window::Refresh(webV1_.Get()); }

bool BrowserHost::Place(const RECT& rect) { return site_ && site_->Place(rect); }

bool BrowserHost::TranslateKey(MSG* msg) {
  HWND browser = Window();
  if (!browser || (msg->hwnd != browser && !IsChild(browser, msg->hwnd))) return false;
  toolkit::ComPtr<IOleInPlaceActiveObject> active;
  if (FAILED(site_->Object()->QueryInterface(IID_IOleInPlaceActiveObject, active.PutVoid())))
    return false;
  return active->TranslateAccelerator(msg) == S_OK;
}

namespace {

// One of the control's windows: its own or one inside it.
bool IsWindowOf(HWND browser, HWND hwnd) {
  return hwnd && (hwnd == browser || IsChild(browser, hwnd));
}

}  // namespace

void BrowserHost::KeepFocus(HWND focus) {
  HWND browser = Window();
  keptFocus_ = browser && IsWindowOf(browser, focus) ? focus : nullptr;
}

void BrowserHost::Focus() {
  HWND browser = Window();
  if (!browser) return;
  HWND kept = keptFocus_;
  keptFocus_ = nullptr;
  site_->UIActivate();
  // The window is checked again: it may have gone since it was kept.
  if (IsWindowOf(browser, kept)) {
    if (GetFocus() != kept) SetFocus(kept);
    return;
  }
  // The control may already have put the focus on its page, deeper inside.
  if (!IsWindowOf(browser, GetFocus())) SetFocus(browser);
}

}  // namespace main_window
