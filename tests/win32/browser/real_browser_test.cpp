// The real WebBrowser control in the main window: an address given to
// Navigate is requested from the network, a form posted into a new window
// reaches the server as posted, Back on the first page is ignored without a
// message, and the page has the keyboard whenever the window is active and
// not minimised, in the window of the page that had it last.
#include <gtest/gtest.h>
#include <mshtmhst.h>

#include <cstdio>

#include "fake_browser.h"
#include "internet_settings.h"
#include "local_http_server.h"
#include "main_window/frmMain.h"
#include "new_window_event.h"
#include "support/menu_reader.h"
#include "support/wine_test.h"

using namespace wine_test;
using browser_test::HttpRequest;

namespace {

constexpr int kNetworkWaitMs = 30000;
constexpr DISPID kNewWindow = 107;

// The value of a header the server saw, name in any case; "(none)" when
// the request has no such header.
std::string HeaderValue(const HttpRequest& request, const std::string& name) {
  for (const std::string& header : request.headers) {
    if (header.size() <= name.size() || header[name.size()] != ':' ||
        _strnicmp(header.c_str(), name.c_str(), name.size()) != 0)
      continue;
    const size_t value = header.find_first_not_of(' ', name.size() + 1);
    return value == std::string::npos ? "" : header.substr(value);
  }
  return "(none)";
}

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

  std::wstring Address(const std::wstring& path) {
    const std::string port = std::to_string(server.Port());
    return L"http://127.0.0.1:" + std::wstring(port.begin(), port.end()) + path;
  }
  // A text field of the page: a window of its own inside the page's
  // innermost window, as an embedded object in a page has.
  HWND FieldInsideThePage() {
    HWND inner = form->BrowserWindow();
    while (HWND child = GetWindow(inner, GW_CHILD)) inner = child;
    return CreateWindowExW(0, L"Edit", L"", WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 10, 200, 24,
                           inner, nullptr, nullptr, nullptr);
  }
  bool FocusIsInTheControl() {
    HWND browser = form->BrowserWindow(), focus = GetFocus();
    return browser && focus && (focus == browser || IsChild(browser, focus));
  }

  // Straight to the server: no proxy in this process.
  browser_test::ScopedProxySetting direct{L""};
  browser_test::LocalHttpServer server;
  fakes::FakeBrowser relay;  // outlives the form, which may hold it as Web_V1
  std::unique_ptr<FrmMain> form;
};

TEST_F(RealBrowserTest, NavigateRequestsTheAddressFromItsServer) {
  form->Navigate(Address(L"/page"));
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
  form->Navigate(Address(L"/after-back"));
  EXPECT_TRUE(PumpUntil([&] { return server.Saw("GET /after-back HTTP/1."); }, kNetworkWaitMs));
}

// A form posted into a new window (target="_blank", method POST) reaches
// the server from the main window as the page posted it.
TEST_F(RealBrowserTest, NewWindowForAPostedFormPostsItHere) {
  // The event is sent to the window's own sink as the control sends it;
  // the sink is subscribed through a relay that passes every call on to
  // the real control.
  relay.ForwardTo(form->Web_V1());
  form->BindWebV1(relay.Object());
  ASSERT_NE(nullptr, relay.Sink());
  const std::string body = "name=%E5%BC%A0%E4%B8%89&note=a+b&empty=";
  browser_test::NewWindowEvent post(
      Address(L"/posted?x=1"), body,
      L"Content-Type: application/x-www-form-urlencoded\r\nX-Morvanta-Check: 7\r\n");
  post.SendTo(relay.Sink(), kNewWindow);
  EXPECT_EQ(VARIANT_TRUE, post.processed);

  auto posted = [&] {
    for (const HttpRequest& r : server.Requests())
      if (r.line.compare(0, 17, "POST /posted?x=1 ") == 0) return true;
    return false;
  };
  ASSERT_TRUE(PumpUntil(posted, kNetworkWaitMs))
      << "first request seen: "
      << (server.RequestLines().empty() ? "none" : server.RequestLines().front());
  const auto requests = server.Requests();
  ASSERT_EQ(1u, requests.size());  // and no GET of the same address
  const HttpRequest& request = requests[0];
  EXPECT_EQ("POST /posted?x=1 HTTP/1.1", request.line);
  EXPECT_EQ("application/x-www-form-urlencoded", HeaderValue(request, "Content-Type"));
  EXPECT_EQ("7", HeaderValue(request, "X-Morvanta-Check"));
  EXPECT_EQ(std::to_string(body.size()), HeaderValue(request, "Content-Length"));
  EXPECT_EQ(body, request.body);
}

std::string ClassOf(HWND hwnd) {
  char cls[64] = {};
  GetClassNameA(hwnd, cls, 64);
  return cls;
}

// Another top-level window of this thread, active while it lives.
class OtherWindow {
 public:
  OtherWindow()
      : hwnd_(CreateWindowExW(0, L"Static", L"other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200,
                              100, nullptr, nullptr, nullptr, nullptr)) {
    Activate(hwnd_);
  }
  ~OtherWindow() { DestroyWindow(hwnd_); }
  static void Activate(HWND hwnd) {
    SetForegroundWindow(hwnd);
    SetActiveWindow(hwnd);
    Pump(50);
  }
  HWND hwnd_;
};

// The page takes the keyboard whenever the window does: after start, after
// a notice closes and when the window is activated again, each time in the
// very window of the control that had it.
TEST_F(RealBrowserTest, TheControlHasTheFocusWheneverTheWindowIsActive) {
  ASSERT_TRUE(PumpUntil([&] { return FocusIsInTheControl(); }, 2000)) << "focus " << GetFocus();
  const HWND page = GetFocus();
  std::printf("the page's keyboard window: %s\n", ClassOf(page).c_str());

  {
    MessageBoxAnswerer answerer(IDOK);
    ASSERT_TRUE(ChooseMenuItem(form->Hwnd(), L"窗体置顶"));
    ASSERT_EQ(1u, answerer.Seen().size());
    EXPECT_TRUE(PumpUntil([&] { return GetFocus() == page; }, 2000)) << ClassOf(GetFocus());
    ASSERT_TRUE(ChooseMenuItem(form->Hwnd(), L"窗体置顶"));
    EXPECT_TRUE(PumpUntil([&] { return GetFocus() == page; }, 2000)) << ClassOf(GetFocus());
  }

  {
    OtherWindow other;
    EXPECT_FALSE(FocusIsInTheControl());
    OtherWindow::Activate(form->Hwnd());
    EXPECT_TRUE(PumpUntil([&] { return GetFocus() == page; }, 2000)) << ClassOf(GetFocus());
  }
}

// A text field of the page keeps the keyboard when the user leaves the
// window and comes back.
TEST_F(RealBrowserTest, ReactivationGivesTheFocusBackToTheFieldThatHadIt) {
  ASSERT_TRUE(PumpUntil([&] { return FocusIsInTheControl(); }, 2000));
  HWND field = FieldInsideThePage();
  ASSERT_NE(nullptr, field);
  SetFocus(field);
  ASSERT_EQ(field, GetFocus());

  {
    OtherWindow other;
    ASSERT_NE(field, GetFocus());
    OtherWindow::Activate(form->Hwnd());
    EXPECT_TRUE(PumpUntil([&] { return GetFocus() == field; }, 2000))
        << "focus went to " << ClassOf(GetFocus());
  }

  // A field that went away while the window was left: the page still gets
  // the keyboard.
  {
    OtherWindow other;
    DestroyWindow(field);
    OtherWindow::Activate(form->Hwnd());
    EXPECT_TRUE(PumpUntil([&] { return FocusIsInTheControl(); }, 2000)) << ClassOf(GetFocus());
  }
}

// Focus given to the main window while it stays active (a program's or a
// tool's SetFocus) goes on to the page, into the window that had it.
TEST_F(RealBrowserTest, SetFocusOnTheActiveWindowPutsTheKeysOnThePage) {
  ASSERT_TRUE(PumpUntil([&] { return FocusIsInTheControl(); }, 2000));
  const HWND page = GetFocus();
  ASSERT_EQ(form->Hwnd(), GetActiveWindow());
  SetFocus(form->Hwnd());
  Pump(50);
  EXPECT_EQ(form->Hwnd(), GetActiveWindow());
  EXPECT_EQ(page, GetFocus()) << ClassOf(GetFocus());

  HWND field = FieldInsideThePage();
  ASSERT_NE(nullptr, field);
  SetFocus(field);
  SetFocus(form->Hwnd());
  Pump(50);
  EXPECT_EQ(field, GetFocus()) << ClassOf(GetFocus());
}

// A minimised window shows no page: activating it, or giving it the focus,
// leaves the keyboard out of the page; once restored and activated, the
// page's text field that had the keyboard has it again.
TEST_F(RealBrowserTest, ActivatingTheMinimisedWindowLeavesTheHiddenPageAlone) {
  ASSERT_TRUE(PumpUntil([&] { return FocusIsInTheControl(); }, 2000));
  HWND field = FieldInsideThePage();
  ASSERT_NE(nullptr, field);
  SetFocus(field);
  ASSERT_EQ(field, GetFocus());
  {
    OtherWindow other;
    ShowWindow(form->Hwnd(), SW_MINIMIZE);
    Pump(50);
    ASSERT_TRUE(IsIconic(form->Hwnd()));
    OtherWindow::Activate(form->Hwnd());
    ASSERT_EQ(form->Hwnd(), GetActiveWindow());
    ASSERT_TRUE(IsIconic(form->Hwnd()));
    EXPECT_FALSE(FocusIsInTheControl()) << ClassOf(GetFocus());
    SetFocus(form->Hwnd());
    Pump(50);
    EXPECT_FALSE(FocusIsInTheControl()) << ClassOf(GetFocus());
  }
  ShowWindow(form->Hwnd(), SW_RESTORE);
  OtherWindow::Activate(form->Hwnd());
  EXPECT_TRUE(PumpUntil([&] { return GetFocus() == field; }, 2000)) << ClassOf(GetFocus());
}

// The page is told to draw no sunken edge of its own and to scale with the
// display: the control's client site, as the control holds it, answers the
// host's handler with those flags and leaves everything else to the
// control; closing the window releases every reference to the site.
TEST_F(RealBrowserTest, TheSiteAnswersTheHostHandlerAndIsReleasedOnClose) {
  constexpr DWORD kNo3DBorder = 0x4, kDpiAware = 0x40000000;
  toolkit::ComPtr<IOleObject> control;
  ASSERT_HRESULT_SUCCEEDED(form->Web_V1()->QueryInterface(IID_IOleObject, control.PutVoid()));
  IOleClientSite* site = nullptr;
  ASSERT_HRESULT_SUCCEEDED(control->GetClientSite(&site));
  ASSERT_NE(nullptr, site);
  IDocHostUIHandler* handler = nullptr;
  ASSERT_HRESULT_SUCCEEDED(site->QueryInterface(__uuidof(IDocHostUIHandler), (void**)&handler));
  DOCHOSTUIINFO info = {sizeof info};
  info.dwFlags = 0xFFFFFFFF;
  EXPECT_EQ(S_OK, handler->GetHostInfo(&info));
  EXPECT_EQ(kNo3DBorder | kDpiAware, info.dwFlags);
  EXPECT_EQ(DWORD(DOCHOSTUIDBLCLK_DEFAULT), info.dwDoubleClick);
  POINT at = {10, 10};
  EXPECT_EQ(S_FALSE, handler->ShowContextMenu(0, &at, nullptr, nullptr));
  MSG key = {};
  EXPECT_EQ(S_FALSE, handler->TranslateAccelerator(&key, nullptr, 0));
  IDispatch* external = reinterpret_cast<IDispatch*>(1);
  EXPECT_EQ(E_NOTIMPL, handler->GetExternal(&external));
  EXPECT_EQ(nullptr, external);
  handler->Release();

  control.Reset();

  // Wine without its HTML engine makes no page document, so the handing on
  // to the page cannot be watched here.
  // Closing the window lets go of every reference the control took on the
  // site: ours is the last.
  form->Unload();
  Pump(50);
  EXPECT_EQ(0u, site->Release());
}

}  // namespace
