// A folder followed from the event loop: the loop waits for the
// platform's change notification together with the window messages and
// calls the watcher on the GUI thread when something in the folder
// changes. No timer and no thread: while nothing changes, nothing runs.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace toolkit {

void CallWatcher(HANDLE signalled);

class FolderWatch {
 public:
  // Follows `folder` and everything below it (names, sizes, write times);
  // `changed` runs after each change the platform reports. A folder that
  // cannot be watched is not followed.
  FolderWatch(const std::wstring& folder, std::function<void()> changed);
  ~FolderWatch();
  FolderWatch(const FolderWatch&) = delete;
  FolderWatch& operator=(const FolderWatch&) = delete;

  bool ok() const { return handle_ != INVALID_HANDLE_VALUE; }

 private:
  friend void CallWatcher(HANDLE signalled);
  HANDLE handle_;
  std::function<void()> changed_;
};

// For the event loop: the notifications to wait on, and the call of the
// watcher whose notification is signalled (which re-arms it).
std::vector<HANDLE> WatchedHandles();
void CallWatcher(HANDLE signalled);

// The names, sizes and write times of what `pattern` matches ("Skin\\Glaze\\*"),
// as one text: two texts differ when a matching file was added, removed or
// written in between.
std::wstring FilesStamp(const std::wstring& pattern);

}  // namespace toolkit
