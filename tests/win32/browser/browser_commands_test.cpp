// The main window's browsing operations and new-window redirection, watched
// on a fake browser object bound to the real window: which members are
// invoked, in which order, with which arguments, and that every reference
// to the control and the event sink is returned once.
#include <gtest/gtest.h>

#include "fake_browser.h"
#include "main_window/frmMain.h"
#include "new_window_event.h"
#include "support/menu_reader.h"
#include "support/wine_test.h"

using namespace wine_test;
using browser_test::NewWindowEvent;
using fakes::FakeBrowser;
using fakes::RecordedInvoke;

namespace {

constexpr DISPID kSilent = 551, kNavigate = 104, kGoBack = 100, kRefresh = -550;
constexpr DISPID kNewWindow = 107, kBeforeNavigate = 100, kBeforeNavigate2 = 250,
                 kTitleChange = 113;
const std::wstring kHome = L"http://www.morvanta.tv/tv/cbox.html";

std::vector<DISPID> Ids(const std::vector<RecordedInvoke>& calls) {
  std::vector<DISPID> ids;
  for (const auto& call : calls) ids.push_back(call.id);
  return ids;
}

void ExpectSilentTrue(const RecordedInvoke& call) {
  EXPECT_EQ(kSilent, call.id);
  EXPECT_EQ(DISPATCH_PROPERTYPUT, call.flags);
  ASSERT_EQ(1u, call.args.size());
  EXPECT_EQ(VT_BOOL, call.args[0].vt);
  EXPECT_EQ(VARIANT_TRUE, call.args[0].flag);
  EXPECT_EQ(std::vector<DISPID>{DISPID_PROPERTYPUT}, call.named);
}

void ExpectNavigateTo(const RecordedInvoke& call, const std::wstring& url) {
  EXPECT_EQ(kNavigate, call.id);
  EXPECT_EQ(DISPATCH_METHOD, call.flags);
  // One argument, not five with empty ones.
  ASSERT_EQ(1u, call.args.size());
  EXPECT_EQ(VT_BSTR | VT_BYREF, call.args[0].vt);
  EXPECT_EQ(url, call.args[0].text);
  EXPECT_TRUE(call.named.empty());
}

void ExpectPlainMethod(const RecordedInvoke& call, DISPID id) {
  EXPECT_EQ(id, call.id);
  EXPECT_EQ(DISPATCH_METHOD, call.flags);
  EXPECT_TRUE(call.args.empty());
  EXPECT_TRUE(call.named.empty());
}

// The main window, loaded and shown, with Web_V1 bound to the fake.
class BrowserCommandsTest : public testing::Test {
 protected:
  void SetUp() override {
    form = toolkit::CreateForm<FrmMain>();
    form->Show();
    Pump(50);
    form->BindWebV1(browser.Object());
    ASSERT_EQ(1, browser.AdviseCount());
    ASSERT_NE(nullptr, browser.Sink());
  }
  void TearDown() override {
    if (form->IsLoaded()) form->Unload();
    form.reset();
    Pump(50);
    EXPECT_TRUE(browser.VtableCalls().empty()) << browser.VtableCalls().front();
    EXPECT_EQ(1u, browser.RefCount());
  }
  void Choose(const wchar_t* caption) { ASSERT_TRUE(ChooseMenuItem(form->Hwnd(), caption)); }

  FakeBrowser browser;  // outlives the form
  std::unique_ptr<FrmMain> form;
};

TEST_F(BrowserCommandsTest, NavigateSetsSilentEveryTimeThenPassesTheAddressUnchanged) {
  const std::wstring first = L"http://127.0.0.1/page", second = L" http://例子.测试/a b?q=1#top ";
  form->Navigate(first);
  form->Navigate(second);

  const auto& calls = browser.Calls();
  ASSERT_EQ((std::vector<DISPID>{kSilent, kNavigate, kSilent, kNavigate}), Ids(calls));
  ExpectSilentTrue(calls[0]);
  ExpectNavigateTo(calls[1], first);
  ExpectSilentTrue(calls[2]);
  ExpectNavigateTo(calls[3], second);
}

TEST_F(BrowserCommandsTest, HomeSetsSilentAgainAndOpensTheHomePage) {
  form->Navigate(L"http://127.0.0.1/elsewhere");
  browser.ClearCalls();
  Choose(L"主页(&H)");

  const auto& calls = browser.Calls();
  ASSERT_EQ((std::vector<DISPID>{kSilent, kNavigate}), Ids(calls));
  ExpectSilentTrue(calls[0]);
  ExpectNavigateTo(calls[1], kHome);
}

TEST_F(BrowserCommandsTest, BackAndRefreshCallTheControlWithoutArgumentsOrSilent) {
  Choose(L"返回(&B)");
  ASSERT_EQ(std::vector<DISPID>{kGoBack}, Ids(browser.Calls()));
  ExpectPlainMethod(browser.Calls()[0], kGoBack);

  browser.ClearCalls();
  Choose(L"刷新(&R)");
  ASSERT_EQ(std::vector<DISPID>{kRefresh}, Ids(browser.Calls()));
  ExpectPlainMethod(browser.Calls()[0], kRefresh);
}

TEST_F(BrowserCommandsTest, FailedSilentMeansTheNavigationIsNotRequested) {
  browser.Fail(kSilent, E_FAIL);
  form->Navigate(L"http://127.0.0.1/page");
  EXPECT_EQ(std::vector<DISPID>{kSilent}, Ids(browser.Calls()));

  browser.ClearCalls();
  Choose(L"主页(&H)");
  EXPECT_EQ(std::vector<DISPID>{kSilent}, Ids(browser.Calls()));
}

TEST_F(BrowserCommandsTest, FailingBrowserOperationsAreIgnoredWithoutAMessage) {
  MessageBoxAnswerer answerer(IDOK);
  browser.Fail(kGoBack, E_FAIL);  // Back on the first page
  browser.Fail(kRefresh, E_FAIL);
  browser.Fail(kNavigate, E_FAIL);
  Choose(L"返回(&B)");
  Choose(L"刷新(&R)");
  Choose(L"主页(&H)");
  Pump(100);

  EXPECT_TRUE(answerer.Seen().empty()) << Utf8(answerer.Seen().front().text);
  EXPECT_TRUE(form->IsLoaded());
  EXPECT_TRUE(IsWindowVisible(form->Hwnd()));
  // The program goes on: the next command still reaches the control.
  browser.ClearCalls();
  Choose(L"刷新(&R)");
  EXPECT_EQ(std::vector<DISPID>{kRefresh}, Ids(browser.Calls()));
}

TEST_F(BrowserCommandsTest, NewWindowIsMarkedHandledFirstThenOpenedHereWithTheUrlOnly) {
  const std::wstring url = L"http://127.0.0.1/popup?id=7#frag";
  NewWindowEvent event(url);  // a link: no post data, no headers
  std::vector<VARIANT_BOOL> processedAtCall;
  browser.OnInvoke([&](const RecordedInvoke&) { processedAtCall.push_back(event.processed); });

  event.SendTo(browser.Sink(), kNewWindow);

  EXPECT_EQ(VARIANT_TRUE, event.processed);
  ASSERT_EQ(std::vector<DISPID>{kNavigate}, Ids(browser.Calls()));  // no Silent
  ExpectNavigateTo(browser.Calls()[0], url);  // no flags, frame, post data or headers
  EXPECT_EQ(std::vector<VARIANT_BOOL>{VARIANT_TRUE}, processedAtCall);
}

void ExpectLeftOut(const fakes::RecordedArgument& arg) {
  EXPECT_EQ(VT_ERROR, arg.vt);
  EXPECT_EQ(DISP_E_PARAMNOTFOUND, arg.scode);
}

// A form posted into a new window: the navigation here makes the same
// request, with the form's bytes and the page's headers, but no target frame.
TEST_F(BrowserCommandsTest, NewWindowForAPostedFormCarriesItsDataAndHeaders) {
  const std::wstring url = L"http://127.0.0.1/form?x=1", headers = L"Content-Type: text/plain\r\n";
  const std::string body("a=1\0\xFF&b=\xE4\xB8\xAD", 11);  // a NUL and high bytes as they are
  NewWindowEvent form(url, body, headers);
  std::vector<VARIANT_BOOL> processedAtCall;
  browser.OnInvoke([&](const RecordedInvoke&) { processedAtCall.push_back(form.processed); });

  form.SendTo(browser.Sink(), kNewWindow);

  EXPECT_EQ(VARIANT_TRUE, form.processed);
  EXPECT_EQ(std::vector<VARIANT_BOOL>{VARIANT_TRUE}, processedAtCall);
  ASSERT_EQ(std::vector<DISPID>{kNavigate}, Ids(browser.Calls()));  // no Silent
  const RecordedInvoke& call = browser.Calls()[0];
  EXPECT_EQ(DISPATCH_METHOD, call.flags);
  EXPECT_TRUE(call.named.empty());
  // URL, Flags, TargetFrameName, PostData, Headers, last first.
  ASSERT_EQ(5u, call.args.size());
  EXPECT_EQ(VT_BSTR | VT_BYREF, call.args[4].vt);
  EXPECT_EQ(url, call.args[4].text);
  ExpectLeftOut(call.args[3]);
  ExpectLeftOut(call.args[2]);
  EXPECT_EQ(VT_ARRAY | VT_UI1, call.args[1].vt);
  EXPECT_EQ(body, call.args[1].bytes);
  EXPECT_EQ(VT_BSTR, call.args[0].vt);
  EXPECT_EQ(headers, call.args[0].text);

  // Headers without post data: the headers alone are carried.
  browser.ClearCalls();
  NewWindowEvent headersOnly(url, "", L"Referer: http://127.0.0.1/\r\n");
  headersOnly.SendTo(browser.Sink(), kNewWindow);
  ASSERT_EQ(std::vector<DISPID>{kNavigate}, Ids(browser.Calls()));
  ASSERT_EQ(5u, browser.Calls()[0].args.size());
  ExpectLeftOut(browser.Calls()[0].args[1]);
  EXPECT_EQ(L"Referer: http://127.0.0.1/\r\n", browser.Calls()[0].args[0].text);
}

TEST_F(BrowserCommandsTest, NewWindowStaysHandledWhenTheNavigationFails) {
  browser.Fail(kNavigate, E_FAIL);
  NewWindowEvent event(L"http://127.0.0.1/popup", "q=1", L"Content-Type: text/plain\r\n");
  event.SendTo(browser.Sink(), kNewWindow);
  EXPECT_EQ(VARIANT_TRUE, event.processed);
  EXPECT_EQ(std::vector<DISPID>{kNavigate}, Ids(browser.Calls()));
}

TEST_F(BrowserCommandsTest, EveryOtherEventPassesWithoutEffect) {
  NewWindowEvent event(L"http://127.0.0.1/other");
  // BeforeNavigate has the same six arguments, its last being Cancel.
  event.SendTo(browser.Sink(), kBeforeNavigate);
  event.SendTo(browser.Sink(), kBeforeNavigate2);
  event.SendTo(browser.Sink(), kTitleChange, 1);
  // A NewWindow without its arguments is not something to act on either.
  event.SendTo(browser.Sink(), kNewWindow, 0);

  EXPECT_EQ(VARIANT_FALSE, event.processed);
  EXPECT_TRUE(browser.Calls().empty());
}

// Web_V1 and its sink live exactly as long as the window, and every
// reference taken on the control or the sink is returned once.
TEST(WebV1Lifetime, ReferencesAreHeldWhileTheWindowIsLoadedAndReturnedOnceAtUnload) {
  FakeBrowser browser;
  auto form = toolkit::CreateForm<FrmMain>();
  form->Show();
  form->BindWebV1(browser.Object());
  ASSERT_NE(nullptr, browser.Sink());
  EXPECT_GT(browser.RefCount(), 1u);
  IDispatch* sink = browser.Sink();
  sink->AddRef();  // our own hold, to see who else keeps it

  Pump(100);
  EXPECT_TRUE(browser.UnadvisedCookies().empty());
  EXPECT_EQ(form->Web_V1(), static_cast<IWebBrowser*>(&browser));

  form->Unload();
  EXPECT_EQ(1u, browser.RefCount());
  EXPECT_EQ(std::vector<DWORD>{browser.Cookie()}, browser.UnadvisedCookies());
  EXPECT_EQ(nullptr, browser.Sink());
  EXPECT_EQ(0u, sink->Release());  // nobody else held the sink

  form.reset();
  Pump(50);
  EXPECT_EQ(1u, browser.RefCount());  // and the object's end releases nothing twice
  EXPECT_EQ(1u, browser.UnadvisedCookies().size());
}

TEST(WebV1Lifetime, BindingAgainLetsGoOfTheEarlierObject) {
  FakeBrowser first, second;
  {
    FrmMain form;  // no window: the binding alone
    form.BindWebV1(first.Object());
    form.BindWebV1(second.Object());
    EXPECT_EQ(1u, first.RefCount());
    EXPECT_EQ(std::vector<DWORD>{first.Cookie()}, first.UnadvisedCookies());
    EXPECT_EQ(1, second.AdviseCount());
    EXPECT_GT(second.RefCount(), 1u);
  }
  EXPECT_EQ(1u, second.RefCount());
  EXPECT_EQ(std::vector<DWORD>{second.Cookie()}, second.UnadvisedCookies());
}

}  // namespace
