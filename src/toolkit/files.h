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

// True when a file exists at the path and carries the read-only mark. The
// program's own files so marked are left alone whoever runs it: Windows
// refuses to write them, while accounts that bypass the mark (root under
// Wine) would overwrite them.
bool MarkedReadOnly(const std::wstring& path);

// The whole content of a file, read while others may read, write or rename
// it; false when the file cannot be opened or read.
bool ReadWholeFile(const std::wstring& path, std::string* bytes);

// Create-or-truncate text output; lines end in CR LF and are written in the
// ANSI code page. Lines are collected and written in one go when the
// output closes. Every step fails quietly when the file cannot be opened,
// and a file marked read-only is not opened.
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

// A copy of a file beside it (same folder, name plus ".<process id>.tmp"),
// to be changed and then put in the file's place in one step, so that the
// file never holds a half-written state. The copy starts as a byte copy of
// the file, or as no file at all when the file does not exist. Whatever
// has not replaced the file is removed when the object goes. Making one
// also removes the copies that runs which have ended left behind (killed
// in the middle): plain files named exactly so, whose process is gone.
class SideCopy {
 public:
  explicit SideCopy(const std::wstring& original);
  ~SideCopy();
  SideCopy(const SideCopy&) = delete;
  SideCopy& operator=(const SideCopy&) = delete;

  // False when the copy could not be made; the file is then left alone.
  bool Ready() const { return ready_; }
  const std::wstring& Path() const { return path_; }
  // Writes the copy through to the disk and renames it over the file, which
  // takes its bytes and attributes; false, with the file untouched, when
  // either step fails.
  bool ReplaceOriginal();

 private:
  void Remove();

  std::wstring original_;
  std::wstring path_;
  bool ready_ = false;
  bool moved_ = false;
};

}  // namespace toolkit
