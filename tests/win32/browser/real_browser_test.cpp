// The real WebBrowser control in the main window: an address given to
// Navigate is requested from the network, and Back on the first page is
// ignored without a message.
#include <gtest/gtest.h>

#include "internet_settings.h"
#include "local_http_server.h"
#include "main_window/frmMain.h"
#include "support/menu_reader.h"
#include "support/wine_test.h"

using namespace wine_test;

namespace {

constexpr int kNetworkWaitMs = 30000;

class RealBrowserTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(0, server.Port());
    form = toolkit::CreateForm<FrmMain>();
    form->Show();
    Pump(50);
    ASSERT_NE(nullptr, form->Web_V1()) << "the WebBrowser control was not hosted";
  }
  void TearDown() override {
    if (form && form->IsLoaded()) form->Unload();
    form.reset();
    Pump(50);
  }

  // Straight to the server: no proxy in this process.
  browser_test::ScopedProxySetting direct{L""};
  browser_test::LocalHttpServer server;
  std::unique_ptr<FrmMain> form;
};

TEST_F(RealBrowserTest, NavigateRequestsTheAddressFromItsServer) {
  const std::string port = std::to_string(server.Port());
  form->Navigate(L"http://127.0.0.1:" + std::wstring(port.begin(), port.end()) + L"/page");
  EXPECT_TRUE(PumpUntil([&] { return server.Saw("GET /page HTTP/1."); }, kNetworkWaitMs))
      << "requests seen: " << server.RequestLines().size();
}

TEST_F(RealBrowserTest, BackOnTheFirstPageIsIgnored) {
  MessageBoxAnswerer answerer(IDOK);
  ASSERT_TRUE(ChooseMenuItem(form->Hwnd(), L"返回(&B)"));
  Pump(200);
  EXPECT_TRUE(answerer.Seen().empty()) << Utf8(answerer.Seen().front().text);
  EXPECT_TRUE(form->IsLoaded());

  // The program goes on: the next navigation is still requested.
  const std::string port = std::to_string(server.Port());
  form->Navigate(L"http://127.0.0.1:" + std::wstring(port.begin(), port.end()) + L"/after-back");
  EXPECT_TRUE(PumpUntil([&] { return server.Saw("GET /after-back HTTP/1."); }, kNetworkWaitMs));
}

}  // namespace
