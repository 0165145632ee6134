// What the garish measurement and the documentation's screenshots share
// beyond the program driver: the shipped skins' names and one figure.
#pragma once

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/program.h"
#include "support/wine_test.h"

namespace garish {

using namespace wine_test;  // the program seen from outside, files in its folder

struct Figure {
  std::wstring skin, window, state;
  double share;
};

// The shipped skins' names, from the copies in the test folder's "shipped".
inline std::vector<std::wstring> ShippedSkins() {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW(InApp(L"shipped\\*.she").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    std::wstring n = data.cFileName;
    names.push_back(n.substr(0, n.size() - 4));
  } while (FindNextFileW(find, &data));
  FindClose(find);
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace garish
