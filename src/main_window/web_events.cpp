#include "main_window/web_events.h"

#include <exdisp.h>
#include <oleauto.h>

#include "main_window/browser_calls.h"

namespace main_window {
namespace {

std::wstring StringArgument(const VARIANT& v) {
  BSTR s = nullptr;
  if (v.vt == VT_BSTR) s = v.bstrVal;
  if (v.vt == (VT_BSTR | VT_BYREF) && v.pbstrVal) s = *v.pbstrVal;
  return s ? std::wstring(s, SysStringLen(s)) : std::wstring();
}

long LongArgument(const VARIANT& v) {
  if (v.vt == VT_I4) return v.lVal;
  if (v.vt == (VT_I4 | VT_BYREF) && v.plVal) return *v.plVal;
  return 0;
}

// The post data: the bytes of the one-dimensional byte array the control
// passes, directly or by reference. Anything else carries none.
PostData BytesArgument(const VARIANT& arg) {
  const VARIANT* v = arg.vt == (VT_VARIANT | VT_BYREF) ? arg.pvarVal : &arg;
  if (!v) return {};
  SAFEARRAY* array = nullptr;
  if (v->vt == (VT_ARRAY | VT_UI1)) array = v->parray;
  if (v->vt == (VT_ARRAY | VT_UI1 | VT_BYREF) && v->pparray) array = *v->pparray;
  LONG low = 0, high = -1;
  if (!array || SafeArrayGetDim(array) != 1 || FAILED(SafeArrayGetLBound(array, 1, &low)) ||
      FAILED(SafeArrayGetUBound(array, 1, &high)) || high < low)
    return {};
  void* data = nullptr;
  if (FAILED(SafeArrayAccessData(array, &data))) return {};
  const auto* bytes = static_cast<const BYTE*>(data);
  PostData copy(bytes, bytes + (static_cast<LONGLONG>(high) - low + 1));
  SafeArrayUnaccessData(array);
  return copy;
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
  VARIANT_BOOL& processed =
      a[0].vt == (VT_BOOL | VT_BYREF) && a[0].pboolVal ? *a[0].pboolVal : ignored;
  onNewWindow_(StringArgument(a[5]), LongArgument(a[4]), StringArgument(a[3]), BytesArgument(a[2]),
               StringArgument(a[1]), processed);
  return S_OK;
}

}  // namespace main_window
