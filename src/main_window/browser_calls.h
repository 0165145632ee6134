// The browser control's members that the main window uses, reached through
// its automation (dispatch) interface by their dispatch identifiers.
#pragma once

#include <oaidl.h>

#include <string>
#include <vector>

namespace main_window {

constexpr DISPID kDispSilent = 551;
constexpr DISPID kDispNavigate = 104;
constexpr DISPID kDispGoBack = 100;
constexpr DISPID kDispRefresh = -550;  // DISPID_REFRESH
constexpr DISPID kDispNewWindow = 107;

// Sets Silent to true, so the control shows no dialog boxes of its own.
HRESULT SetSilent(IDispatch* browser);
// Navigate with the address as its only argument, a string by reference.
HRESULT NavigateTo(IDispatch* browser, const std::wstring& url);
// Navigate with the address, post data (a byte array) and extra headers,
// flags and target frame left out; with neither post data nor headers it
// is the one-argument call above.
HRESULT NavigateTo(IDispatch* browser, const std::wstring& url, const std::vector<BYTE>& postData,
                   const std::wstring& headers);
HRESULT GoBack(IDispatch* browser);
HRESULT Refresh(IDispatch* browser);

}  // namespace main_window
