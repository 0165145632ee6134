// The arguments of a DWebBrowserEvents NewWindow event as the control
// passes them (URL, Flags, TargetFrameName, PostData, Headers, Processed),
// to be sent to a subscribed sink.
#pragma once

#include <oleauto.h>

#include <cstring>
#include <string>

namespace browser_test {

struct NewWindowEvent {
  // `postData` empty: a plain link, with an empty PostData and no headers
  // unless given.
  NewWindowEvent(const std::wstring& url, const std::string& postData = "",
                 const std::wstring& headers = L"") {
    for (VARIANT& v : args) VariantInit(&v);
    VariantInit(&post);
    if (!postData.empty()) {
      post.vt = VT_ARRAY | VT_UI1;
      post.parray = SafeArrayCreateVector(VT_UI1, 0, static_cast<ULONG>(postData.size()));
      void* data = nullptr;
      SafeArrayAccessData(post.parray, &data);
      std::memcpy(data, postData.data(), postData.size());
      SafeArrayUnaccessData(post.parray);
    }
    // DISPPARAMS holds them last first.
    args[5].vt = VT_BSTR;
    args[5].bstrVal = SysAllocStringLen(url.data(), static_cast<UINT>(url.size()));
    args[4].vt = VT_I4;
    args[4].lVal = 1;
    args[3].vt = VT_BSTR;
    args[3].bstrVal = SysAllocString(L"_blank");
    args[2].vt = VT_VARIANT | VT_BYREF;
    args[2].pvarVal = &post;
    args[1].vt = VT_BSTR;
    args[1].bstrVal = SysAllocStringLen(headers.data(), static_cast<UINT>(headers.size()));
    args[0].vt = VT_BOOL | VT_BYREF;
    args[0].pboolVal = &processed;
  }
  ~NewWindowEvent() {
    for (int i : {5, 3, 1}) VariantClear(&args[i]);
    VariantClear(&post);
  }
  NewWindowEvent(const NewWindowEvent&) = delete;
  NewWindowEvent& operator=(const NewWindowEvent&) = delete;

  // Sends the event, or another one with the last `count` of the same
  // arguments.
  HRESULT SendTo(IDispatch* sink, DISPID id, UINT count = 6) {
    DISPPARAMS params = {args + 6 - count, nullptr, count, 0};
    return sink->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr,
                        nullptr, nullptr);
  }

  VARIANT args[6];
  VARIANT post;
  VARIANT_BOOL processed = VARIANT_FALSE;
};

}  // namespace browser_test
