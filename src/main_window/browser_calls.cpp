#include "main_window/browser_calls.h"

#include <oleauto.h>

#include "common/win_handles.h"

namespace main_window {
namespace {

HRESULT Call(IDispatch* browser, DISPID id, WORD flags, DISPPARAMS* params) {
  if (!browser) return E_POINTER;
  return browser->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, params, nullptr, nullptr,
                         nullptr);
}

HRESULT CallWithoutArguments(IDispatch* browser, DISPID id) {
  DISPPARAMS none = {nullptr, nullptr, 0, 0};
  return Call(browser, id, DISPATCH_METHOD, &none);
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

HRESULT GoBack(IDispatch* browser) { return CallWithoutArguments(browser, kDispGoBack); }
HRESULT Refresh(IDispatch* browser) { return CallWithoutArguments(browser, kDispRefresh); }

}  // namespace main_window
