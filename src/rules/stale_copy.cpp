#include "rules/stale_copy.h"

namespace rules {

uint32_t CopyOwner(const std::wstring& name, const std::wstring& file_name) {
  const std::wstring suffix = L".tmp";
  if (name.size() <= file_name.size() + 1 + suffix.size() ||
      name.compare(0, file_name.size(), file_name) != 0 || name[file_name.size()] != L'.' ||
      name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0) {
    return 0;
  }
  const std::wstring digits =
      name.substr(file_name.size() + 1, name.size() - file_name.size() - 1 - suffix.size());
  if (digits.size() > 10 || digits[0] == L'0') return 0;
  unsigned long long id = 0;
  for (wchar_t c : digits) {
    if (c < L'0' || c > L'9') return 0;
    id = id * 10 + (c - L'0');
  }
  return id > 0xFFFFFFFFull ? 0 : static_cast<uint32_t>(id);
}

bool IsStaleCopy(const std::wstring& name, const std::wstring& file_name, uint32_t self,
                 const std::function<ProcessAnswer(uint32_t)>& ask) {
  const uint32_t owner = CopyOwner(name, file_name);
  if (owner == 0 || owner == self) return false;
  // A process that cannot be looked at may well be running: its copy may
  // be the one it is about to put in place.
  return ask(owner) == ProcessAnswer::kGone;
}

}  // namespace rules
