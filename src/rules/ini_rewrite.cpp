#include "rules/ini_rewrite.h"

#include <algorithm>
#include <cwctype>
#include <tuple>

namespace rules {
namespace {

// The blanks that the profile functions trim: white space, CR and the DOS
// end-of-file mark.
bool IsBlank(wchar_t c) {
  return c == L' ' || (c >= L'\t' && c <= L'\r') || c == 0x1A || c == 0x85 || c == 0xA0 ||
         c == 0x1680 || (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F ||
         c == 0x205F || c == 0x3000;
}

std::wstring_view TrimBlanks(std::wstring_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// A name or value is written back as a C string: it ends at a NUL.
std::wstring UpToNul(std::wstring_view text) {
  return std::wstring(text.substr(0, text.find(L'\0')));
}

wchar_t Folded(wchar_t c) {
  return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c + 32) : static_cast<wchar_t>(towlower(c));
}

bool SameName(std::wstring_view a, std::wstring_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(),
                    [](wchar_t x, wchar_t y) { return Folded(x) == Folded(y); });
}

struct Entry {
  int sectionIndex;  // which section of the file, counted from 0; -1 before the first
  std::wstring section, key;
  bool hasValue;
  std::wstring value;
  auto Compared() const { return std::tie(section, key, hasValue, value); }
};

bool IsLineEnd(wchar_t c) { return c == L'\n' || c == L'\r'; }

std::vector<Entry> Entries(std::wstring_view text) {
  std::vector<Entry> entries;
  int sectionIndex = -1;
  std::wstring section;
  bool previousNameless = false;
  while (!text.empty()) {
    const size_t end = std::find_if(text.begin(), text.end(), IsLineEnd) - text.begin();
    const std::wstring_view line = TrimBlanks(text.substr(0, end));
    text.remove_prefix(end);
    while (!text.empty() && IsLineEnd(text.front())) text.remove_prefix(1);
    if (line.empty()) continue;
    const size_t close = line.rfind(L']');
    if (line.front() == L'[' && close != std::wstring_view::npos && close > 0) {
      ++sectionIndex;
      section = UpToNul(TrimBlanks(line.substr(1, close - 1)));
      previousNameless = false;
      continue;
    }
    const size_t equals = line.find(L'=');
    const std::wstring_view name = TrimBlanks(line.substr(0, equals));
    // The profile functions keep only the first of nameless lines in a row.
    if (name.empty() && previousNameless) continue;
    previousNameless = name.empty();
    Entry entry{sectionIndex, section, UpToNul(name), equals != std::wstring_view::npos, {}};
    if (entry.hasValue) entry.value = UpToNul(TrimBlanks(line.substr(equals + 1)));
    entries.push_back(std::move(entry));
  }
  return entries;
}

// The entry that a written key sets: the first of its name in the first
// section of its name; entries.size() when there is none yet.
size_t WrittenEntry(const std::vector<Entry>& entries, const WrittenKey& key) {
  const std::wstring_view section = TrimBlanks(key.section);
  const std::wstring_view name = TrimBlanks(key.key);
  int first = -2;
  for (size_t i = 0; i < entries.size(); ++i) {
    const Entry& e = entries[i];
    if (e.sectionIndex < 0 || !SameName(e.section, section)) continue;
    if (first == -2) first = e.sectionIndex;
    if (e.sectionIndex == first && SameName(e.key, name)) return i;
  }
  return entries.size();
}

// The entries that none of the keys set, in a fixed order.
std::vector<Entry> Untouched(std::vector<Entry> entries, const std::vector<WrittenKey>& written) {
  std::vector<bool> touched(entries.size(), false);
  for (const WrittenKey& key : written) {
    const size_t at = WrittenEntry(entries, key);
    if (at < entries.size()) touched[at] = true;
  }
  std::vector<Entry> rest;
  for (size_t i = 0; i < entries.size(); ++i) {
    if (!touched[i]) rest.push_back(std::move(entries[i]));
  }
  std::sort(rest.begin(), rest.end(),
            [](const Entry& a, const Entry& b) { return a.Compared() < b.Compared(); });
  return rest;
}

}  // namespace

bool HoldsAllAfterWrite(std::wstring_view before, std::wstring_view after,
                        const std::vector<WrittenKey>& written) {
  const std::vector<Entry> old = Entries(before);
  const std::vector<Entry> now = Entries(after);
  for (size_t i = 0; i < written.size(); ++i) {
    // A key written twice keeps its last value.
    const auto later =
        std::find_if(written.begin() + i + 1, written.end(), [&](const WrittenKey& k) {
          return SameName(TrimBlanks(k.section), TrimBlanks(written[i].section)) &&
                 SameName(TrimBlanks(k.key), TrimBlanks(written[i].key));
        });
    if (later != written.end()) continue;
    const size_t at = WrittenEntry(now, written[i]);
    if (at == now.size() || !now[at].hasValue ||
        now[at].value != UpToNul(TrimBlanks(written[i].value))) {
      return false;
    }
  }
  const std::vector<Entry> a = Untouched(old, written);
  const std::vector<Entry> b = Untouched(now, written);
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](const Entry& x, const Entry& y) { return x.Compared() == y.Compared(); });
}

}  // namespace rules
