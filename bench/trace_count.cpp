#include "trace_count.h"

#include <cctype>
#include <cstdlib>
#include <cstring>

namespace bench {

GrowingFile::GrowingFile(const std::wstring& path)
    : file_(CreateFileW(path.c_str(), GENERIC_READ,
                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                        OPEN_EXISTING, 0, nullptr)) {}

GrowingFile::~GrowingFile() {
  if (ok()) CloseHandle(file_);
}

void GrowingFile::Append() {
  if (!ok()) return;
  char buffer[1 << 16];
  DWORD got = 0;
  while (ReadFile(file_, buffer, sizeof buffer, &got, nullptr) && got > 0)
    pending_.append(buffer, got);
}

void ServerRequests::Follow(DWORD mainThreadId) {
  threads_ = {mainThreadId};
  count_ = 0;
}

long ServerRequests::Count() {
  trace_.ReadLines([this](const char* line, size_t size) { Line(line, size); });
  return count_;
}

// A request reads "002c: name( args )"; its reply "002c: name() = 0 { ... }";
// the server's own notes "002c: *wakeup* ..." and the like.
void ServerRequests::Line(const char* line, size_t size) {
  const std::string text(line, size);
  char* end = nullptr;
  const unsigned long thread = std::strtoul(text.c_str(), &end, 16);
  if (end == text.c_str() || *end != ':' || !threads_.count(thread)) return;
  const size_t open = text.find('(');
  if (open == std::string::npos || text.find('*') < open) return;
  if (text.compare(open, 2, "( ") == 0) {
    ++count_;
    return;
  }
  // A thread this process made: "new_thread() = 0 { tid=0030, handle=... }".
  static const char kNewThread[] = ": new_thread() = 0 { tid=";
  const size_t at = text.find(kNewThread);
  if (at != std::string::npos)
    threads_.insert(std::strtoul(text.c_str() + at + sizeof kNewThread - 1, nullptr, 16));
}

void XRequests::Follow() {
  before_ = opened_;
  count_ = 0;
}

long XRequests::Count() {
  log_.ReadLines([this](const char* line, size_t size) { Line(line, size); });
  return count_;
}

// A connection opens with "003:<: am lsb-first want 11:0 authorising ...";
// a request reads "003:<:0012:  8: Request(38): QueryPointer ..."
// (connection, direction, sequence number, length); replies and events go
// the other way (":>:").
void XRequests::Line(const char* line, size_t size) {
  const std::string text(line, size);
  char* end = nullptr;
  const unsigned long connection = std::strtoul(text.c_str(), &end, 10);
  if (end == text.c_str() || text.compare(end - text.c_str(), 3, ":<:") != 0) return;
  const char* rest = end + 3;
  if (std::strncmp(rest, " am ", 4) == 0) {
    opened_.insert(connection);
    return;
  }
  for (int i = 0; i < 4; ++i)
    if (!std::isxdigit(static_cast<unsigned char>(rest[i]))) return;
  if (rest[4] == ':' && opened_.count(connection) && !before_.count(connection)) ++count_;
}

}  // namespace bench
