#include "main_window/web_events.h"

#include <exdisp.h>

#include "main_window/browser_calls.h"

namespace main_window {
namespace {

BSTR StringArgument(const VARIANT& v) {
  if (v.vt == VT_BSTR) return v.bstrVal;
  if (v.vt == (VT_BSTR | VT_BYREF) && v.pbstrVal) return *v.pbstrVal;
  return nullptr;
}

long LongArgument(const VARIANT& v) {
  if (v.vt == VT_I4) return v.lVal;
  if (v.vt == (VT_I4 | VT_BYREF) && v.plVal) return *v.plVal;
  return 0;
}

}  // namespace

toolkit::ComPtr<WebEvents> WebEvents::Create(NewWindowHandler onNewWindow) {
  return toolkit::ComPtr<WebEvents>::Attach(new WebEvents(std::move(onNewWindow)));
}

bool WebEvents::Connect(IUnknown* source) {
  if (!source) return false;
  toolkit::ComPtr<IConnectionPointContainer> container;
  if (FAILED(source->QueryInterface(IID_IConnectionPointContainer, container.PutVoid())))
    return false;
  toolkit::ComPtr<IConnectionPoint> point;
  if (FAILED(container->FindConnectionPoint(DIID_DWebBrowserEvents, point.Put()))) return false;
  DWORD cookie = 0;
  if (FAILED(point->Advise(static_cast<IDispatch*>(this), &cookie))) return false;
  point_ = point;
  cookie_ = cookie;
  return true;
}

void WebEvents::Disconnect() {
  if (point_) point_->Unadvise(cookie_);
  point_.Reset();
  cookie_ = 0;
  onNewWindow_ = nullptr;
}

STDMETHODIMP WebEvents::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  if (iid == IID_IUnknown || iid == IID_IDispatch || iid == DIID_DWebBrowserEvents) {
    *out = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) WebEvents::AddRef() { return ++refs_; }

STDMETHODIMP_(ULONG) WebEvents::Release() {
  const ULONG left = --refs_;
  if (left == 0) delete this;
  return left;
}

STDMETHODIMP WebEvents::GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 0;
  return S_OK;
}

STDMETHODIMP WebEvents::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*,
                               EXCEPINFO*, UINT*) {
  // NewWindow is the only event answered; every other one passes unhandled.
  if (id != kDispNewWindow || !onNewWindow_ || !params || !params->rgvarg || params->cArgs != 6)
    return S_OK;
  // The arguments arrive last first: rgvarg[5] is URL, rgvarg[0] Processed.
  VARIANT* a = params->rgvarg;
  VARIANT_BOOL ignored = VARIANT_FALSE;
  VARIANT_BOOL* processed =
      a[0].vt == (VT_BOOL | VT_BYREF) && a[0].pboolVal ? a[0].pboolVal : &ignored;
  VARIANT* postData = a[2].vt == (VT_VARIANT | VT_BYREF) && a[2].pvarVal ? a[2].pvarVal : &a[2];
  onNewWindow_(StringArgument(a[5]), LongArgument(a[4]), StringArgument(a[3]), postData,
               StringArgument(a[1]), processed);
  return S_OK;
}

}  // namespace main_window
