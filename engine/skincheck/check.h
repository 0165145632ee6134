// What skincheck says about one skin file: the engine's own decisions on
// it (the parser's faults, the pictures it will not use, the colours it
// draws otherwise than written), told line by line for a skin maker. Pure
// C++: no Windows headers, tested natively.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "skin/png_check.h"
#include "skin/she_file.h"

namespace skincheck {

enum class Verdict {
  Loads,         // as written
  LoadsChanged,  // the engine draws something otherwise than written
  Refused,
};

// The program's exit code for a verdict: 0, 1, 2.
int ExitCode(Verdict verdict);

// Reads one picture of the skin's folder by its bare name: Used with the
// file's bytes in *bytes, or why it cannot be read (Missing, NotPlainFile,
// FileTooLarge).
using PictureReader =
    std::function<skin::PictureVerdict(std::string_view name, std::vector<uint8_t>* bytes)>;

struct Result {
  std::vector<std::string> lines;  // the findings, then the verdict line
  Verdict verdict = Verdict::Loads;
  int changes = 0;
};

// Checks a skin file's text; `label` starts every line (the file's name
// as the user gave it). Pictures are read through `read`.
Result CheckSkin(std::string_view label, std::string_view text, const PictureReader& read);

}  // namespace skincheck
