#include "internet_settings.h"

namespace browser_test {
namespace {

constexpr wchar_t kInternetSettings[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";

}  // namespace

ScopedProxySetting::ScopedProxySetting(const std::wstring& server) {
  if (RegCreateKeyExW(HKEY_CURRENT_USER, kInternetSettings, 0, nullptr, 0,
                      KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key_, nullptr) != ERROR_SUCCESS) {
    key_ = nullptr;
    return;
  }
  for (const wchar_t* name : {L"ProxyEnable", L"ProxyServer"}) {
    SavedValue saved{name, std::nullopt};
    DWORD type = 0, size = 0;
    if (RegQueryValueExW(key_, name, nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
      std::vector<BYTE> bytes(size);
      RegQueryValueExW(key_, name, nullptr, &type, bytes.data(), &size);
      saved.value = std::make_pair(type, bytes);
    }
    saved_.push_back(saved);
  }
  const DWORD enable = server.empty() ? 0 : 1;
  RegSetValueExW(key_, L"ProxyEnable", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&enable),
                 sizeof enable);
  if (!server.empty())
    RegSetValueExW(key_, L"ProxyServer", 0, REG_SZ, reinterpret_cast<const BYTE*>(server.c_str()),
                   static_cast<DWORD>((server.size() + 1) * sizeof(wchar_t)));
}

ScopedProxySetting::~ScopedProxySetting() {
  if (!key_) return;
  for (const SavedValue& saved : saved_) {
    if (saved.value)
      RegSetValueExW(key_, saved.name.c_str(), 0, saved.value->first, saved.value->second.data(),
                     static_cast<DWORD>(saved.value->second.size()));
    else
      RegDeleteValueW(key_, saved.name.c_str());
  }
  RegCloseKey(key_);
}

}  // namespace browser_test
