// The hosted WebBrowser control and everything COM about it, under one
// owner: the control's site (client site, in-place site and frame), its
// automation object held through IWebBrowser, and the subscription to that
// object's DWebBrowserEvents. The main window sees only the plain calls
// below; closing (or destroying) the host ends them all in the one order
// that lets every object go: subscription, automation object, control, site.
#pragma once

#include <windows.h>
#include <wtypes.h>

#include <functional>
#include <string>
#include <vector>

#include "toolkit/com_ptr.h"

struct IUnknown;
struct IWebBrowser;

namespace main_window {

class BrowserSite;
class WebEvents;

// The bytes a page posts with a request (a submitted form); empty for none.
using PostData = std::vector<BYTE>;

// A page asks for a new window: url, flags, target frame name, post data,
// extra headers, and the event's Processed flag, written straight back to
// the control.
using NewWindowHandler = std::function<void(const std::wstring&, long, const std::wstring&,
                                            const PostData&, const std::wstring&, VARIANT_BOOL&)>;

class BrowserHost {
 public:
  explicit BrowserHost(NewWindowHandler onNewWindow);
  ~BrowserHost();
  BrowserHost(const BrowserHost&) = delete;
  BrowserHost& operator=(const BrowserHost&) = delete;

  // Creates the control in `parent` at `rect` (client pixels) and makes it
  // in-place active, so that it has its window before the first navigation.
  // False when the control cannot be created.
  bool Create(HWND parent, const RECT& rect);
  // Binds the hosted control's automation object.
  void BindWebV1();
  // Binds the automation object of `object` instead (any object that
  // answers IWebBrowser and offers DWebBrowserEvents), letting go of any
  // earlier binding first.
  void BindWebV1(IUnknown* object);
  // Ends the subscription and lets go of the automation object and the
  // control; the destructor does the same.
  void Close();

  // The automation object, or null before binding.
  IWebBrowser* WebV1() const;
  // The control's window, or null when no control is hosted.
  HWND Window() const;

  // The control's members, on the bound automation object; each returns the
  // control's result, E_POINTER when nothing is bound.
  HRESULT SetSilent();
  // Navigate with the address as its only argument.
  HRESULT Navigate(const std::wstring& url);
  // Navigate carrying a request's post data and extra headers; with neither,
  // the same one-argument call as above.
  HRESULT Navigate(const std::wstring& url, const PostData& postData, const std::wstring& headers);
  HRESULT GoBack();
  HRESULT Refresh();

  // Places the control at `rect` (client pixels); false on failure.
  bool Place(const RECT& rect);
  // Gives a key message for the control's windows to the control first;
  // true when the control has used it.
  bool TranslateKey(MSG* msg);
  // Makes the control the active part of the window and gives it the
  // keyboard focus, as the user expects of a page: to the window kept by
  // KeepFocus if it is still one of the control's, else to the control.
  void Focus();
  // Remembers `focus` for the next Focus when it is one of the control's
  // windows, and forgets any earlier one.
  void KeepFocus(HWND focus);

 private:
  void UnbindWebV1();

  NewWindowHandler onNewWindow_;
  toolkit::ComPtr<BrowserSite> site_;
  toolkit::ComPtr<IWebBrowser> webV1_;
  toolkit::ComPtr<WebEvents> events_;
  HWND keptFocus_ = nullptr;
};

}  // namespace main_window
