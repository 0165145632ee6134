// Counts the round trips a program makes, read from two trace logs that
// are written while it runs:
//   - the Wine server's request trace (`wineserver -d1`): one line
//     "tid: request( args )" per request of every thread of every process;
//   - xtrace's log of an X proxy display: one line "conn:<:seq: size:
//     Request..." per X request, numbered by connection. Every process
//     that talks to the proxy opens connections of its own (one per thread
//     that uses X); the program's are the ones opened after it was started.
// Both logs are read as they grow; a count is taken at a moment by reading
// everything written so far, so the difference of two counts is what was
// asked in between.
#pragma once

#include <windows.h>

#include <set>
#include <string>

namespace bench {

// A log file that another process is still appending to.
class GrowingFile {
 public:
  explicit GrowingFile(const std::wstring& path);
  ~GrowingFile();
  GrowingFile(const GrowingFile&) = delete;
  GrowingFile& operator=(const GrowingFile&) = delete;

  bool ok() const { return file_ != INVALID_HANDLE_VALUE; }
  // Reads what was added since the last call and returns its whole lines
  // one by one through `next`; a line still being written waits for the
  // next call.
  template <typename F>
  void ReadLines(F next) {
    Append();
    size_t start = 0;
    for (size_t end; (end = pending_.find('\n', start)) != std::string::npos; start = end + 1)
      next(pending_.data() + start, end - start);
    pending_.erase(0, start);
  }

 private:
  void Append();

  HANDLE file_ = INVALID_HANDLE_VALUE;
  std::string pending_;
};

// Requests to the Wine server made by one process: its main thread and
// every thread that a counted thread creates.
class ServerRequests {
 public:
  explicit ServerRequests(const std::wstring& tracePath) : trace_(tracePath) {}
  bool ok() const { return trace_.ok(); }
  // Counts the process whose main thread is `mainThreadId` (and no other)
  // from the last count on, starting again from zero: call it after a
  // count taken before the process was started.
  void Follow(DWORD mainThreadId);
  // The requests of the followed process written to the trace so far.
  long Count();

 private:
  void Line(const char* line, size_t size);

  GrowingFile trace_;
  std::set<unsigned long> threads_;
  long count_ = 0;
};

// Requests sent through the X proxy display by one process.
class XRequests {
 public:
  explicit XRequests(const std::wstring& logPath) : log_(logPath) {}
  bool ok() const { return log_.ok(); }
  // Counts, from the last count on and starting again from zero, only the
  // connections opened after it: call it after a count taken before the
  // process was started.
  void Follow();
  // The requests of the followed connections written to the log so far.
  long Count();

 private:
  void Line(const char* line, size_t size);

  GrowingFile log_;
  std::set<unsigned long> opened_, before_;
  long count_ = 0;
};

}  // namespace bench
