// A stand-in for the WebBrowser control's automation object: IWebBrowser
// (answered only through IDispatch::Invoke), with one connection point for
// DWebBrowserEvents. It records every Invoke with its arguments, can fail
// chosen members or pass them on to a real control, and counts its
// references so that leaks and double releases show.
#pragma once

#include <exdisp.h>
#include <ocidl.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace fakes {

// One argument as the caller passed it.
struct RecordedArgument {
  VARTYPE vt = VT_EMPTY;
  std::wstring text;                  // VT_BSTR, or the string behind VT_BSTR | VT_BYREF
  VARIANT_BOOL flag = VARIANT_FALSE;  // VT_BOOL
  std::string bytes;                  // VT_ARRAY | VT_UI1, also behind VT_VARIANT | VT_BYREF
  SCODE scode = 0;                    // VT_ERROR (DISP_E_PARAMNOTFOUND: left out)
};

struct RecordedInvoke {
  DISPID id = 0;
  WORD flags = 0;
  std::vector<RecordedArgument> args;  // in DISPPARAMS order, last first
  std::vector<DISPID> named;
};

class FakeBrowser final : public IWebBrowser,
                          public IConnectionPointContainer,
                          public IConnectionPoint {
 public:
  // Starts with one reference, owned by whoever creates it.
  FakeBrowser() = default;
  ~FakeBrowser();
  FakeBrowser(const FakeBrowser&) = delete;
  FakeBrowser& operator=(const FakeBrowser&) = delete;

  // The object as the control hands it out.
  IUnknown* Object() { return static_cast<IWebBrowser*>(this); }
  ULONG RefCount() const { return refs_; }
  const std::vector<RecordedInvoke>& Calls() const { return calls_; }
  void ClearCalls() { calls_.clear(); }
  // Members called through the IWebBrowser vtable instead of Invoke.
  const std::vector<std::string>& VtableCalls() const { return vtableCalls_; }
  // Invoke answers `id` with `hr` from now on (after recording the call).
  void Fail(DISPID id, HRESULT hr) { failures_[id] = hr; }
  // Runs during every Invoke, after the call is recorded.
  void OnInvoke(std::function<void(const RecordedInvoke&)> hook) { onInvoke_ = std::move(hook); }
  // Passes every Invoke that is not failed on to `real` (holding a
  // reference to it), so that a real control carries out what was recorded.
  void ForwardTo(IDispatch* real);

  // The subscribed DWebBrowserEvents sink, or null.
  IDispatch* Sink() const { return sink_; }
  DWORD Cookie() const { return kCookie; }
  int AdviseCount() const { return advises_; }
  const std::vector<DWORD>& UnadvisedCookies() const { return unadvised_; }

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
  STDMETHODIMP_(ULONG) AddRef() override { return ++refs_; }
  STDMETHODIMP_(ULONG) Release() override;

  // IDispatch
  STDMETHODIMP GetTypeInfoCount(UINT* count) override;
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
  STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                      EXCEPINFO*, UINT*) override;

  // IWebBrowser, reached through the vtable: recorded and refused.
  STDMETHODIMP GoBack() override { return Vtable("GoBack"); }
  STDMETHODIMP GoForward() override { return Vtable("GoForward"); }
  STDMETHODIMP GoHome() override { return Vtable("GoHome"); }
  STDMETHODIMP GoSearch() override { return Vtable("GoSearch"); }
  STDMETHODIMP Navigate(BSTR, VARIANT*, VARIANT*, VARIANT*, VARIANT*) override {
    return Vtable("Navigate");
  }
  STDMETHODIMP Refresh() override { return Vtable("Refresh"); }
  STDMETHODIMP Refresh2(VARIANT*) override { return Vtable("Refresh2"); }
  STDMETHODIMP Stop() override { return Vtable("Stop"); }
  STDMETHODIMP get_Application(IDispatch**) override { return Vtable("get_Application"); }
  STDMETHODIMP get_Parent(IDispatch**) override { return Vtable("get_Parent"); }
  STDMETHODIMP get_Container(IDispatch**) override { return Vtable("get_Container"); }
  STDMETHODIMP get_Document(IDispatch**) override { return Vtable("get_Document"); }
  STDMETHODIMP get_TopLevelContainer(VARIANT_BOOL*) override {
    return Vtable("get_TopLevelContainer");
  }
  STDMETHODIMP get_Type(BSTR*) override { return Vtable("get_Type"); }
  STDMETHODIMP get_Left(LONG*) override { return Vtable("get_Left"); }
  STDMETHODIMP put_Left(LONG) override { return Vtable("put_Left"); }
  STDMETHODIMP get_Top(LONG*) override { return Vtable("get_Top"); }
  STDMETHODIMP put_Top(LONG) override { return Vtable("put_Top"); }
  STDMETHODIMP get_Width(LONG*) override { return Vtable("get_Width"); }
  STDMETHODIMP put_Width(LONG) override { return Vtable("put_Width"); }
  STDMETHODIMP get_Height(LONG*) override { return Vtable("get_Height"); }
  STDMETHODIMP put_Height(LONG) override { return Vtable("put_Height"); }
  STDMETHODIMP get_LocationName(BSTR*) override { return Vtable("get_LocationName"); }
  STDMETHODIMP get_LocationURL(BSTR*) override { return Vtable("get_LocationURL"); }
  STDMETHODIMP get_Busy(VARIANT_BOOL*) override { return Vtable("get_Busy"); }

  // IConnectionPointContainer: DWebBrowserEvents only.
  STDMETHODIMP EnumConnectionPoints(IEnumConnectionPoints**) override { return E_NOTIMPL; }
  STDMETHODIMP FindConnectionPoint(REFIID iid, IConnectionPoint** out) override;

  // IConnectionPoint: one subscriber at a time.
  STDMETHODIMP GetConnectionInterface(IID* iid) override;
  STDMETHODIMP GetConnectionPointContainer(IConnectionPointContainer** out) override;
  STDMETHODIMP Advise(IUnknown* sink, DWORD* cookie) override;
  STDMETHODIMP Unadvise(DWORD cookie) override;
  STDMETHODIMP EnumConnections(IEnumConnections**) override { return E_NOTIMPL; }

 private:
  static constexpr DWORD kCookie = 0x5EED;
  HRESULT Vtable(const char* name) {
    vtableCalls_.push_back(name);
    return E_NOTIMPL;
  }

  ULONG refs_ = 1;
  std::vector<RecordedInvoke> calls_;
  std::vector<std::string> vtableCalls_;
  std::map<DISPID, HRESULT> failures_;
  std::function<void(const RecordedInvoke&)> onInvoke_;
  IDispatch* sink_ = nullptr;
  IDispatch* forward_ = nullptr;
  int advises_ = 0;
  std::vector<DWORD> unadvised_;
};

}  // namespace fakes
