#include "local_http_server.h"

#include <ws2tcpip.h>

#include <cctype>
#include <cstdlib>

namespace browser_test {

LocalHttpServer::LocalHttpServer() {
  WSADATA data;
  if (WSAStartup(MAKEWORD(2, 2), &data) != 0) return;
  listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (listener_ == INVALID_SOCKET) return;
  sockaddr_in address = {};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;  // any free port
  int length = sizeof address;
  if (bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      listen(listener_, 8) != 0 ||
      getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0)
    return;
  port_ = ntohs(address.sin_port);
  thread_ = std::thread([this] { Serve(); });
}

LocalHttpServer::~LocalHttpServer() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stop_ = true;
  }
  if (thread_.joinable()) thread_.join();
  if (listener_ != INVALID_SOCKET) closesocket(listener_);
  WSACleanup();
}

std::vector<std::string> LocalHttpServer::RequestLines() {
  std::vector<std::string> lines;
  for (const HttpRequest& request : Requests()) lines.push_back(request.line);
  return lines;
}

std::vector<HttpRequest> LocalHttpServer::Requests() {
  std::lock_guard<std::mutex> lock(mutex_);
  return requests_;
}

bool LocalHttpServer::Saw(const std::string& requestLineStart) {
  for (const std::string& line : RequestLines())
    if (line.compare(0, requestLineStart.size(), requestLineStart) == 0) return true;
  return false;
}

void LocalHttpServer::Serve() {
  for (;;) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (stop_) return;
    }
    // Wait a little for a caller, then look at the stop flag again.
    fd_set ready;
    FD_ZERO(&ready);
    FD_SET(listener_, &ready);
    timeval wait = {0, 50 * 1000};
    if (select(0, &ready, nullptr, nullptr, &wait) <= 0) continue;
    SOCKET client = accept(listener_, nullptr, nullptr);
    if (client == INVALID_SOCKET) continue;
    Answer(client);
    closesocket(client);
  }
}

namespace {

// The value of a Content-Length header line, or 0.
size_t ContentLength(const std::string& header) {
  const std::string name = "content-length:";
  if (header.size() < name.size()) return 0;
  for (size_t i = 0; i < name.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(header[i])) != name[i]) return 0;
  return std::strtoul(header.c_str() + name.size(), nullptr, 10);
}

}  // namespace

void LocalHttpServer::Answer(SOCKET client) {
  std::string data;
  char buffer[2048];
  auto receive = [&] {
    const int n = recv(client, buffer, sizeof buffer, 0);
    if (n > 0) data.append(buffer, n);
    return n > 0;
  };
  while (data.find("\r\n\r\n") == std::string::npos && data.size() < 64 * 1024 && receive()) {
  }
  const size_t headEnd = data.find("\r\n\r\n");
  if (headEnd == std::string::npos) return;
  HttpRequest request;
  size_t length = 0;
  for (size_t at = 0; at < headEnd;) {
    const size_t end = data.find("\r\n", at);
    const std::string line = data.substr(at, end - at);
    if (at == 0) {
      request.line = line;
    } else {
      request.headers.push_back(line);
      if (const size_t n = ContentLength(line)) length = n;
    }
    at = end + 2;
  }
  const size_t bodyStart = headEnd + 4;
  while (data.size() < bodyStart + length && length < 64 * 1024 && receive()) {
  }
  request.body = data.substr(bodyStart, length);
  {
    std::lock_guard<std::mutex> lock(mutex_);
    requests_.push_back(request);
  }
  // No content: the control has no page to render, and keeps no document.
  static const char kReply[] =
      "HTTP/1.1 204 No Content\r\nContent-Length: 0\r\nConnection: close\r\n\r\n";
  send(client, kReply, sizeof kReply - 1, 0);
}

}  // namespace browser_test
