#include "rules/ini_value.h"

namespace rules {
namespace {

std::wstring TrimSpaces(const std::wstring& text) {
  const size_t first = text.find_first_not_of(L' ');
  if (first == std::wstring::npos) return {};
  const size_t last = text.find_last_not_of(L' ');
  return text.substr(first, last - first + 1);
}

}  // namespace

void DropDanglingLeadByte(std::string& buffer, bool (*isLeadByte)(unsigned char)) {
  size_t i = 0;
  while (i < buffer.size() && buffer[i] != '\0') {
    if (!isLeadByte(static_cast<unsigned char>(buffer[i]))) {
      ++i;
    } else if (i + 1 < buffer.size() && buffer[i + 1] != '\0') {
      i += 2;
    } else {
      buffer.erase(i, 1);
      return;
    }
  }
}

std::wstring TrimIniText(std::wstring text) {
  text = TrimSpaces(text);
  if (!text.empty() && text.back() == L'\0') text.pop_back();
  return TrimSpaces(text);
}

std::wstring_view BeforeNul(std::wstring_view text) { return text.substr(0, text.find(L'\0')); }

bool FitsOnIniLine(std::wstring_view text) {
  return text.find_first_of(std::wstring_view(L"\r\n\0", 3)) == std::wstring_view::npos;
}

}  // namespace rules
