#include "fake_browser.h"

#include <oleauto.h>
#include <olectl.h>

#include <cstdio>
#include <cstdlib>

namespace fakes {
namespace {

std::string Bytes(const VARIANT& v) {
  const VARIANT* inner = v.vt == (VT_VARIANT | VT_BYREF) ? v.pvarVal : &v;
  if (!inner || inner->vt != (VT_ARRAY | VT_UI1) || !inner->parray) return {};
  SAFEARRAY* array = inner->parray;
  void* data = nullptr;
  if (SafeArrayGetDim(array) != 1 || FAILED(SafeArrayAccessData(array, &data))) return {};
  std::string bytes(static_cast<const char*>(data), array->rgsabound[0].cElements);
  SafeArrayUnaccessData(array);
  return bytes;
}

RecordedArgument Record(const VARIANT& v) {
  RecordedArgument arg;
  arg.vt = v.vt;
  arg.bytes = Bytes(v);
  if (v.vt == VT_ERROR) arg.scode = v.scode;
  if (v.vt == VT_BSTR && v.bstrVal) arg.text.assign(v.bstrVal, SysStringLen(v.bstrVal));
  if (v.vt == (VT_BSTR | VT_BYREF) && v.pbstrVal && *v.pbstrVal)
    arg.text.assign(*v.pbstrVal, SysStringLen(*v.pbstrVal));
  if (v.vt == VT_BOOL) arg.flag = v.boolVal;
  return arg;
}

}  // namespace

FakeBrowser::~FakeBrowser() {
  if (forward_) forward_->Release();
}

void FakeBrowser::ForwardTo(IDispatch* real) {
  if (real) real->AddRef();
  if (forward_) forward_->Release();
  forward_ = real;
}

STDMETHODIMP FakeBrowser::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  if (iid == IID_IUnknown || iid == IID_IDispatch || iid == IID_IWebBrowser) {
    *out = static_cast<IWebBrowser*>(this);
  } else if (iid == IID_IConnectionPointContainer) {
    *out = static_cast<IConnectionPointContainer*>(this);
  } else {
    *out = nullptr;
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) FakeBrowser::Release() {
  if (refs_ == 0) {
    // Released more often than referenced: stop at once, loudly.
    std::fputs("FakeBrowser released once too often\n", stderr);
    std::abort();
  }
  return --refs_;  // the object lives on the test's stack
}

STDMETHODIMP FakeBrowser::GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 0;
  return S_OK;
}

STDMETHODIMP FakeBrowser::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) {
  vtableCalls_.push_back("GetIDsOfNames");
  return E_NOTIMPL;
}

STDMETHODIMP FakeBrowser::Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params,
                                 VARIANT* result, EXCEPINFO* error, UINT* badArgument) {
  RecordedInvoke call;
  call.id = id;
  call.flags = flags;
  if (params) {
    for (UINT i = 0; i < params->cArgs; ++i) call.args.push_back(Record(params->rgvarg[i]));
    for (UINT i = 0; i < params->cNamedArgs; ++i)
      call.named.push_back(params->rgdispidNamedArgs[i]);
  }
  calls_.push_back(call);
  if (onInvoke_) onInvoke_(call);
  const auto failure = failures_.find(id);
  if (failure != failures_.end()) return failure->second;
  if (forward_) return forward_->Invoke(id, iid, lcid, flags, params, result, error, badArgument);
  return S_OK;
}

STDMETHODIMP FakeBrowser::FindConnectionPoint(REFIID iid, IConnectionPoint** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (iid != DIID_DWebBrowserEvents) return CONNECT_E_NOCONNECTION;
  *out = static_cast<IConnectionPoint*>(this);
  AddRef();
  return S_OK;
}

STDMETHODIMP FakeBrowser::GetConnectionInterface(IID* iid) {
  if (!iid) return E_POINTER;
  *iid = DIID_DWebBrowserEvents;
  return S_OK;
}

STDMETHODIMP FakeBrowser::GetConnectionPointContainer(IConnectionPointContainer** out) {
  if (!out) return E_POINTER;
  *out = static_cast<IConnectionPointContainer*>(this);
  AddRef();
  return S_OK;
}

STDMETHODIMP FakeBrowser::Advise(IUnknown* sink, DWORD* cookie) {
  if (!sink || !cookie) return E_POINTER;
  if (sink_) return CONNECT_E_ADVISELIMIT;
  // Like the control, ask the sink for the event set itself.
  IDispatch* events = nullptr;
  if (FAILED(sink->QueryInterface(DIID_DWebBrowserEvents, reinterpret_cast<void**>(&events))))
    return CONNECT_E_CANNOTCONNECT;
  sink_ = events;
  ++advises_;
  *cookie = kCookie;
  return S_OK;
}

STDMETHODIMP FakeBrowser::Unadvise(DWORD cookie) {
  unadvised_.push_back(cookie);
  if (cookie != kCookie || !sink_) return CONNECT_E_NOCONNECTION;
  IDispatch* events = sink_;
  sink_ = nullptr;
  events->Release();
  return S_OK;
}

}  // namespace fakes
