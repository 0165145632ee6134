#include "toolkit/watch.h"

#include <algorithm>
#include <utility>

#include "common/win_handles.h"

namespace toolkit {

namespace {

// The folders followed on the GUI thread; a form keeps its watch only
// while it is open.
std::vector<std::pair<HANDLE, FolderWatch*>>& Watches() {
  static std::vector<std::pair<HANDLE, FolderWatch*>> watches;
  return watches;
}

constexpr DWORD kWatchedChanges = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME |
                                  FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE;

}  // namespace

FolderWatch::FolderWatch(const std::wstring& folder, std::function<void()> changed)
    : handle_(FindFirstChangeNotificationW(folder.c_str(), TRUE, kWatchedChanges)),
      changed_(std::move(changed)) {
  if (ok()) Watches().emplace_back(handle_, this);
}

FolderWatch::~FolderWatch() {
  if (!ok()) return;
  auto& watches = Watches();
  watches.erase(std::remove_if(watches.begin(), watches.end(),
                               [this](const auto& w) { return w.second == this; }),
                watches.end());
  FindCloseChangeNotification(handle_);
}

std::vector<HANDLE> WatchedHandles() {
  std::vector<HANDLE> handles;
  for (const auto& w : Watches()) handles.push_back(w.first);
  return handles;
}

void CallWatcher(HANDLE signalled) {
  for (const auto& w : Watches()) {
    if (w.first != signalled) continue;
    // Re-armed first: a change made while the watcher runs is reported again.
    FindNextChangeNotification(signalled);
    const std::function<void()> changed = w.second->changed_;  // may end the watch
    changed();
    return;
  }
}

std::wstring FilesStamp(const std::wstring& pattern) {
  std::wstring stamp;
  WIN32_FIND_DATAW data;
  common::FindHandle find(pattern, &data);
  for (bool more = find.ok(); more; more = find.next(&data)) {
    stamp += data.cFileName;
    for (DWORD n : {data.nFileSizeHigh, data.nFileSizeLow, data.ftLastWriteTime.dwHighDateTime,
                    data.ftLastWriteTime.dwLowDateTime}) {
      stamp += L'|' + std::to_wstring(n);
    }
    stamp += L'\n';
  }
  return stamp;
}

}  // namespace toolkit
