// Whether an open file or folder is the plain one of the name we built its
// path from: no link, no device, no folder where a file belongs. Windows
// marks links as reparse points; Wine shows a Unix link as a plain file
// whose final path is its target's, so both are checked.
#pragma once

#include <windows.h>

#include <string>

namespace common {

// The path by which the system knows an open handle, links resolved;
// empty when it cannot say.
std::wstring FinalPath(HANDLE handle);

// Paths compared as Windows compares names: ordinal, ignoring case.
bool SamePath(const std::wstring& a, const std::wstring& b);

// `handle` is open on `folder`\`name` (opened with
// FILE_FLAG_OPEN_REPARSE_POINT): true only when it is a plain file on a
// disk, not a reparse point, and its final path is the final path of
// `parent` (a handle on `folder`) followed by `name`.
bool IsPlainFileIn(HANDLE handle, HANDLE parent, const std::wstring& name);

// The same, given the parent's final path: for several files of one folder
// held open, whose final path is then asked once.
bool IsPlainFileAt(HANDLE handle, const std::wstring& parent_path, const std::wstring& name);

// Opens the folder `path` for listing and for use as a parent above; the
// handle is invalid unless `path` is a plain folder (no reparse point)
// whose final path is its parent's final path followed by its own name.
HANDLE OpenPlainFolder(const std::wstring& path);

}  // namespace common
