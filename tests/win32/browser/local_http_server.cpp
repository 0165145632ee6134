#include "local_http_server.h"

#include <ws2tcpip.h>

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
  std::lock_guard<std::mutex> lock(mutex_);
  return lines_;
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

void LocalHttpServer::Answer(SOCKET client) {
  std::string request;
  char buffer[2048];
  while (request.find("\r\n\r\n") == std::string::npos && request.size() < 64 * 1024) {
    const int n = recv(client, buffer, sizeof buffer, 0);
    if (n <= 0) break;
    request.append(buffer, n);
  }
  const size_t end = request.find("\r\n");
  if (end == std::string::npos) return;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    lines_.push_back(request.substr(0, end));
  }
  // No content: the control has no page to render, and keeps no document.
  static const char kReply[] =
      "HTTP/1.1 204 No Content\r\nContent-Length: 0\r\nConnection: close\r\n\r\n";
  send(client, kReply, sizeof kReply - 1, 0);
}

}  // namespace browser_test
