// Whether a settings file, rewritten by the profile functions, still holds
// all that it held plus what one Save wrote. The profile functions do not
// report a short write (a full disk), so Save checks the result itself
// before it lets the rewritten copy replace the file. Pure C++: no Windows
// headers, so it is unit-tested natively.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace rules {

// One key that a Save wrote, as text.
struct WrittenKey {
  std::wstring section, key, value;
};

// True when `after` holds every entry of `before` that the keys did not
// change, each as often as before, and each written key with its value in
// the first section of its name, where the profile functions put it and
// read it. Both texts are read as the profile functions read a file: lines
// end at a line feed or carriage return, blanks around a line, a name and
// a value do not count, blank lines do not count, a name or value ends at
// a NUL, section and key names of written keys match whatever their letter
// case. A file cut short loses an entry or the end of a value, and so
// fails.
bool HoldsAllAfterWrite(std::wstring_view before, std::wstring_view after,
                        const std::vector<WrittenKey>& written);

}  // namespace rules
