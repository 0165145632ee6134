// File system helpers: the directory listing rule and sequential text output.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace toolkit {

// The names of the files in a folder (path ending in "\"), in the order the
// file system gives them. Only files with normal attributes count: hidden
// files, system files and folders are left out.
std::vector<std::wstring> ListFiles(const std::wstring& folder);

// True when the listing above gives a name for this exact path. Wildcards
// never match: a name holding "*" or "?" is no file.
bool FileExists(const std::wstring& path);

// Create-or-truncate text output; lines end in CR LF and are written in the
// ANSI code page. Lines are collected and written in one go when the
// output closes. Every step fails quietly when the file cannot be opened.
class TextOutput {
 public:
  explicit TextOutput(const std::wstring& path);
  ~TextOutput();  // closes
  TextOutput(const TextOutput&) = delete;
  TextOutput& operator=(const TextOutput&) = delete;

  bool IsOpen() const { return file_ != INVALID_HANDLE_VALUE; }
  void WriteLine(const std::wstring& line);
  // Writes what was collected and closes the file; false when that failed.
  bool Close();

 private:
  HANDLE file_ = INVALID_HANDLE_VALUE;
  std::string pending_;
};

}  // namespace toolkit
