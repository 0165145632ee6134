#include "main_window/browser_site.h"

#include <exdisp.h>

namespace main_window {

toolkit::ComPtr<BrowserSite> BrowserSite::Create(HWND parent, const RECT& rect) {
  auto site = toolkit::ComPtr<BrowserSite>::Attach(new BrowserSite(parent, rect));
  if (FAILED(CoCreateInstance(CLSID_WebBrowser, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                              site->object_.PutVoid())))
    return nullptr;
  IOleObject* object = site->object_.Get();
  if (FAILED(object->SetClientSite(site.Get()))) {
    site->Close();
    return nullptr;
  }
  RECT r = rect;
  if (FAILED(object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, site.Get(), 0, parent, &r))) {
    site->Close();
    return nullptr;
  }
  return site;
}

bool BrowserSite::Place(const RECT& rect) {
  rect_ = rect;
  auto inPlace = object_.As<IOleInPlaceObject>(IID_IOleInPlaceObject);
  return inPlace && SUCCEEDED(inPlace->SetObjectRects(&rect_, &rect_));
}

bool BrowserSite::UIActivate() {
  return object_ &&
         SUCCEEDED(object_->DoVerb(OLEIVERB_UIACTIVATE, nullptr, this, 0, parent_, &rect_));
}

void BrowserSite::Close() {
  if (!object_) return;
  if (auto inPlace = object_.As<IOleInPlaceObject>(IID_IOleInPlaceObject))
    inPlace->InPlaceDeactivate();
  object_->Close(OLECLOSE_NOSAVE);
  object_->SetClientSite(nullptr);
  object_.Reset();
}

STDMETHODIMP BrowserSite::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  if (iid == IID_IUnknown || iid == IID_IOleClientSite) {
    *out = static_cast<IOleClientSite*>(this);
  } else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceSite) {
    *out = static_cast<IOleInPlaceSite*>(this);
  } else if (iid == IID_IOleInPlaceUIWindow || iid == IID_IOleInPlaceFrame) {
    *out = static_cast<IOleInPlaceFrame*>(this);
  } else if (iid == __uuidof(IDocHostUIHandler)) {
    *out = static_cast<IDocHostUIHandler*>(this);
  } else {
    *out = nullptr;
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) BrowserSite::AddRef() { return ++refs_; }

STDMETHODIMP_(ULONG) BrowserSite::Release() {
  const ULONG left = --refs_;
  if (left == 0) delete this;
  return left;
}

STDMETHODIMP BrowserSite::GetContainer(IOleContainer** out) {
  *out = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP BrowserSite::GetWindow(HWND* out) {
  *out = parent_;
  return S_OK;
}

STDMETHODIMP BrowserSite::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc,
                                           RECT* pos, RECT* clip, OLEINPLACEFRAMEINFO* info) {
  AddRef();
  *frame = this;
  *doc = nullptr;
  *pos = rect_;
  *clip = rect_;
  info->fMDIApp = FALSE;
  info->hwndFrame = parent_;
  info->haccel = nullptr;
  info->cAccelEntries = 0;
  return S_OK;
}

STDMETHODIMP BrowserSite::OnPosRectChange(const RECT* rect) {
  if (!rect) return E_POINTER;
  Place(*rect);
  return S_OK;
}

STDMETHODIMP BrowserSite::GetHostInfo(DOCHOSTUIINFO* info) {
  if (!info) return E_POINTER;
  // The caller sets cbSize; a larger structure keeps its later fields.
  info->dwFlags = kHostFlags;
  info->dwDoubleClick = DOCHOSTUIDBLCLK_DEFAULT;
  info->pchHostCss = nullptr;
  info->pchHostNS = nullptr;
  return S_OK;
}

// The answers below say "nothing of ours": the control keeps its own.
STDMETHODIMP BrowserSite::GetOptionKeyPath(LPOLESTR* key, DWORD) {
  if (key) *key = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP BrowserSite::GetDropTarget(IDropTarget*, IDropTarget** out) {
  if (out) *out = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP BrowserSite::GetExternal(IDispatch** out) {
  if (out) *out = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP BrowserSite::TranslateUrl(DWORD, LPWSTR, LPWSTR* out) {
  if (out) *out = nullptr;
  return S_FALSE;
}

STDMETHODIMP BrowserSite::FilterDataObject(IDataObject*, IDataObject** out) {
  if (out) *out = nullptr;
  return S_FALSE;
}

}  // namespace main_window
