// A small HTTP server on 127.0.0.1 for the tests of the real browser
// control: it listens on a port of the system's choosing, records every
// request (request line, header lines, body) and answers "204 No Content".
#pragma once

#include <winsock2.h>

#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace browser_test {

struct HttpRequest {
  std::string line;                  // "POST /form HTTP/1.1"
  std::vector<std::string> headers;  // "Content-Type: text/plain", as sent
  std::string body;                  // Content-Length bytes
};

class LocalHttpServer {
 public:
  LocalHttpServer();  // listening once constructed, unless Port() is 0
  ~LocalHttpServer();
  LocalHttpServer(const LocalHttpServer&) = delete;
  LocalHttpServer& operator=(const LocalHttpServer&) = delete;

  unsigned short Port() const { return port_; }
  // Request lines seen so far ("GET /page HTTP/1.1").
  std::vector<std::string> RequestLines();
  std::vector<HttpRequest> Requests();
  bool Saw(const std::string& requestLineStart);

 private:
  void Serve();
  void Answer(SOCKET client);

  SOCKET listener_ = INVALID_SOCKET;
  unsigned short port_ = 0;
  bool stop_ = false;
  std::mutex mutex_;
  std::vector<HttpRequest> requests_;
  std::thread thread_;
};

}  // namespace browser_test
