// Sets the proxy of the current user's Internet Settings for the life of
// the object, and puts back what was there before (or removes the values
// that were not there).
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace browser_test {

class ScopedProxySetting {
 public:
  // `server` empty: no proxy; otherwise "127.0.0.1:port" for every protocol.
  explicit ScopedProxySetting(const std::wstring& server);
  ~ScopedProxySetting();
  ScopedProxySetting(const ScopedProxySetting&) = delete;
  ScopedProxySetting& operator=(const ScopedProxySetting&) = delete;

 private:
  struct SavedValue {
    std::wstring name;
    std::optional<std::pair<DWORD, std::vector<BYTE>>> value;  // type and bytes
  };
  HKEY key_ = nullptr;
  std::vector<SavedValue> saved_;
};

}  // namespace browser_test
