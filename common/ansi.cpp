#include "common/ansi.h"

#include <windows.h>

namespace common {

std::string ToCodePage(std::wstring_view text, unsigned page) {
  if (text.empty()) return {};
  const int n = WideCharToMultiByte(page, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                    nullptr, nullptr);
  std::string out(n, '\0');
  WideCharToMultiByte(page, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr,
                      nullptr);
  return out;
}

std::wstring FromCodePage(std::string_view bytes, unsigned page) {
  if (bytes.empty()) return {};
  const int n =
      MultiByteToWideChar(page, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::wstring out(n, L'\0');
  MultiByteToWideChar(page, 0, bytes.data(), static_cast<int>(bytes.size()), out.data(), n);
  return out;
}

std::string ToAnsi(std::wstring_view text) { return ToCodePage(text, CP_ACP); }
std::wstring FromAnsi(std::string_view bytes) { return FromCodePage(bytes, CP_ACP); }

bool FitsAnsi(std::wstring_view text) {
  if (text.empty()) return true;
  BOOL usedDefault = FALSE;
  WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), static_cast<int>(text.size()),
                      nullptr, 0, nullptr, &usedDefault);
  return !usedDefault && FromAnsi(ToAnsi(text)) == text;
}

}  // namespace common
