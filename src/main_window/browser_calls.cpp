#include "main_window/browser_calls.h"

#include <oleauto.h>

#include <cstring>

#include "common/win_handles.h"

namespace main_window {
namespace {

// Navigate's five arguments, cleared (and what they own freed) at the end.
struct NavigateArguments {
  NavigateArguments() {
    for (VARIANT& v : args) VariantInit(&v);
  }
  ~NavigateArguments() {
    for (VARIANT& v : args) VariantClear(&v);
  }
  NavigateArguments(const NavigateArguments&) = delete;
  NavigateArguments& operator=(const NavigateArguments&) = delete;
  VARIANT args[5];
};

HRESULT Call(IDispatch* browser, DISPID id, WORD flags, DISPPARAMS* params) {
  if (!browser) return E_POINTER;
  return browser->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, params, nullptr, nullptr,
                         nullptr);
}

HRESULT CallWithoutArguments(IDispatch* browser, DISPID id) {
  DISPPARAMS none = {nullptr, nullptr, 0, 0};
  return Call(browser, id, DISPATCH_METHOD, &none);
}

// An optional argument that is left out, as automation spells it.
void SetMissing(VARIANT& v) {
  VariantInit(&v);
  v.vt = VT_ERROR;
  v.scode = DISP_E_PARAMNOTFOUND;
}

// The post data as the control takes it: a one-dimensional byte array.
HRESULT SetBytes(VARIANT& v, const std::vector<BYTE>& bytes) {
  SAFEARRAY* array = SafeArrayCreateVector(VT_UI1, 0, static_cast<ULONG>(bytes.size()));
  if (!array) return E_OUTOFMEMORY;
  void* data = nullptr;
  if (FAILED(SafeArrayAccessData(array, &data))) {
    SafeArrayDestroy(array);
    return E_FAIL;
  }
  std::memcpy(data, bytes.data(), bytes.size());
  SafeArrayUnaccessData(array);
  v.vt = VT_ARRAY | VT_UI1;
  v.parray = array;
  return S_OK;
}

}  // namespace

HRESULT SetSilent(IDispatch* browser) {
  VARIANT value;
  VariantInit(&value);
  value.vt = VT_BOOL;
  value.boolVal = VARIANT_TRUE;
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS params = {&value, &named, 1, 1};
  return Call(browser, kDispSilent, DISPATCH_PROPERTYPUT, &params);
}

HRESULT NavigateTo(IDispatch* browser, const std::wstring& url) {
  common::Bstr address(url);
  if (!address.ok()) return E_OUTOFMEMORY;
  VARIANT arg;
  VariantInit(&arg);
  arg.vt = VT_BSTR | VT_BYREF;
  arg.pbstrVal = address.slot();
  DISPPARAMS params = {&arg, nullptr, 1, 0};
  return Call(browser, kDispNavigate, DISPATCH_METHOD, &params);
}

HRESULT NavigateTo(IDispatch* browser, const std::wstring& url, const std::vector<BYTE>& postData,
                   const std::wstring& headers) {
  if (postData.empty() && headers.empty()) return NavigateTo(browser, url);
  common::Bstr address(url);
  if (!address.ok()) return E_OUTOFMEMORY;
  // URL, Flags, TargetFrameName, PostData, Headers, held last first. No
  // target frame: the page is shown here, not in a new window.
  NavigateArguments call;
  VARIANT* a = call.args;
  a[4].vt = VT_BSTR | VT_BYREF;
  a[4].pbstrVal = address.slot();
  SetMissing(a[3]);
  SetMissing(a[2]);
  SetMissing(a[1]);
  if (!postData.empty()) {
    const HRESULT hr = SetBytes(a[1], postData);
    if (FAILED(hr)) return hr;
  }
  SetMissing(a[0]);
  if (!headers.empty()) {
    a[0].vt = VT_BSTR;
    a[0].bstrVal = SysAllocStringLen(headers.data(), static_cast<UINT>(headers.size()));
    if (!a[0].bstrVal) return E_OUTOFMEMORY;
  }
  DISPPARAMS params = {a, nullptr, 5, 0};
  return Call(browser, kDispNavigate, DISPATCH_METHOD, &params);
}

HRESULT GoBack(IDispatch* browser) { return CallWithoutArguments(browser, kDispGoBack); }
HRESULT Refresh(IDispatch* browser) { return CallWithoutArguments(browser, kDispRefresh); }

}  // namespace main_window
