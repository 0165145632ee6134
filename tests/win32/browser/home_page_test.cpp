// The start-up navigation and the Home command request the fixed home page.
// The test routes the user's web traffic through a proxy on 127.0.0.1 (the
// Internet Settings of this Wine prefix), so the program keeps its real
// address and the local server sees the request for it.
#include <gtest/gtest.h>

#include "internet_settings.h"
#include "local_http_server.h"
#include "main_window/frmMain.h"
#include "support/menu_reader.h"
#include "support/wine_test.h"

using namespace wine_test;

namespace {

constexpr int kNetworkWaitMs = 30000;
const std::string kHomePage = "http://www.morvanta.tv/tv/cbox.html";

// Whether a request line asks the proxy for the home page. Wine's network
// layer spells out the default port in what it sends to a proxy
// ("http://host:80/path"): the same address.
bool AsksForHomePage(const std::string& line) {
  const std::string get = "GET ";
  const size_t end = line.find(' ', get.size());
  if (line.compare(0, get.size(), get) != 0 || end == std::string::npos) return false;
  std::string target = line.substr(get.size(), end - get.size());
  const std::string withPort = "http://www.morvanta.tv:80/";
  if (target.compare(0, withPort.size(), withPort) == 0)
    target = "http://www.morvanta.tv/" + target.substr(withPort.size());
  return target == kHomePage && line.compare(end, 7, " HTTP/1") == 0;
}

std::string Seen(browser_test::LocalHttpServer& server) {
  std::string all;
  for (const std::string& line : server.RequestLines()) all += "\n  " + line;
  return all.empty() ? " none" : all;
}

int CountHomeRequests(browser_test::LocalHttpServer& server) {
  int count = 0;
  for (const std::string& line : server.RequestLines())
    if (AsksForHomePage(line)) ++count;
  return count;
}

TEST(HomePage, StartUpAndHomeRequestTheHomePage) {
  browser_test::LocalHttpServer server;
  ASSERT_NE(0, server.Port());
  // Set before the first request of this process: it is read then.
  const std::string port = std::to_string(server.Port());
  browser_test::ScopedProxySetting proxy(L"127.0.0.1:" + std::wstring(port.begin(), port.end()));

  auto form = toolkit::CreateForm<FrmMain>();
  form->Show();
  ASSERT_NE(nullptr, form->Web_V1()) << "the WebBrowser control was not hosted";
  EXPECT_TRUE(PumpUntil([&] { return CountHomeRequests(server) >= 1; }, kNetworkWaitMs))
      << "requests seen:" << Seen(server);

  ASSERT_TRUE(ChooseMenuItem(form->Hwnd(), L"主页(&H)"));
  EXPECT_TRUE(PumpUntil([&] { return CountHomeRequests(server) >= 2; }, kNetworkWaitMs))
      << "requests seen:" << Seen(server);

  form->Unload();
  form.reset();
  Pump(50);
}

}  // namespace
