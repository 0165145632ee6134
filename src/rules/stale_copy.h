// Which copies left beside the settings file may be cleared away. A Save
// writes "<file name>.<process id>.tmp" first; a run killed in the middle
// leaves it behind. Pure C++: the question put to the system about the
// process is passed in, so the decision is unit-tested natively.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace rules {

// What the system answers about a process id.
enum class ProcessAnswer {
  kRunning,     // a process with this id runs
  kGone,        // no process has this id, or its process has ended
  kCannotTell,  // it could not be looked at (another user's, an elevated one)
};

// The process id in the name of a copy, "<file name>.<id>.tmp" exactly as
// a Save writes it (decimal digits, no leading zero, in 32 bits); 0 for
// every other name.
uint32_t CopyOwner(const std::wstring& name, const std::wstring& file_name);

// Whether the file `name` beside `file_name` is a copy left by a run that
// has ended: only then may it be removed. The process `self` never asks
// about its own copy; `ask` is asked about the owner of any other, and
// only a process known to be gone gives up its copy.
bool IsStaleCopy(const std::wstring& name, const std::wstring& file_name, uint32_t self,
                 const std::function<ProcessAnswer(uint32_t)>& ask);

}  // namespace rules
