// The sink of the browser object's older event set, DWebBrowserEvents. It
// answers NewWindow only, handing its arguments on as plain values; every
// other event is accepted without effect.
#pragma once

#include <oaidl.h>
#include <ocidl.h>

#include "main_window/browser_host.h"
#include "toolkit/com_ptr.h"

namespace main_window {

class WebEvents final : public IDispatch {
 public:
  static toolkit::ComPtr<WebEvents> Create(NewWindowHandler onNewWindow);

  // Subscribes to the events of `source`; false when it offers none.
  bool Connect(IUnknown* source);
  // Ends the subscription and drops the handler.
  void Disconnect();

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;
  // IDispatch
  STDMETHODIMP GetTypeInfoCount(UINT* count) override;
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                      UINT*) override;

 private:
  explicit WebEvents(NewWindowHandler onNewWindow) : onNewWindow_(std::move(onNewWindow)) {}
  ~WebEvents() = default;

  ULONG refs_ = 1;
  NewWindowHandler onNewWindow_;
  toolkit::ComPtr<IConnectionPoint> point_;
  DWORD cookie_ = 0;
};

}  // namespace main_window
