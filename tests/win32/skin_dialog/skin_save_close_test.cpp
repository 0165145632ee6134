// Save, Close and the check box: what reaches the skin engine and config.ini.
#include "skin_dialog_support.h"

using namespace wine_test;

namespace skin_dialog_test {
namespace {

using Trace = std::vector<std::string>;

const char kAero[] = "|120|10|8|0|0|0|0|0";

// The default button and the icon of the first message box opened on this
// thread, read from its controls: Wine's boxes answer DM_GETDEFID with IDOK
// whatever the default, and number their icon control differently. The
// default button is the one that takes the focus when the box opens.
struct BoxLook {
  int defaultButton = 0;
  HICON icon = nullptr;
};
BoxLook gLook;

std::wstring ClassOf(HWND h) {
  wchar_t cls[16] = {};
  GetClassNameW(h, cls, 16);
  return cls;
}

BOOL CALLBACK ReadBoxIcon(HWND control, LPARAM) {
  if (!lstrcmpiW(ClassOf(control).c_str(), L"Static") &&
      (GetWindowLongW(control, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
    gLook.icon = reinterpret_cast<HICON>(SendMessageW(control, STM_GETICON, 0, 0));
  return TRUE;
}

LRESULT CALLBACK WatchBoxes(int code, WPARAM wp, LPARAM lp) {
  HWND focus = reinterpret_cast<HWND>(wp);
  if (code == HCBT_SETFOCUS && !gLook.defaultButton && focus &&
      ClassOf(GetParent(focus)) == L"#32770") {
    gLook.defaultButton = GetDlgCtrlID(focus);
    EnumChildWindows(GetParent(focus), ReadBoxIcon, 0);
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}

struct SaveCase {
  const wchar_t* hue;    // Text1
  const wchar_t* alpha;  // Text2
  Trace calls;           // after the preview of Blue
  const wchar_t* storedHue;
  const wchar_t* storedAlpha;
};

TEST_F(SkinDialogTest, SaveAppliesAndStoresEachBoxWithinItsOwnBounds) {
  const std::string aero200 = std::string("SkinH_AdjustAero|200") + kAero;
  const std::string aero120 = std::string("SkinH_AdjustAero|120") + kAero;
  const SaveCase cases[] = {
      {L"", L"", {"SkinH_AdjustHSV|0|0|0"}, L"<absent>", L"<absent>"},
      {L"", L"0", {"SkinH_AdjustHSV|0|0|0"}, L"<absent>", L"0"},
      // What Save applies is also stored, for the next start.
      {L"", L"200", {"SkinH_AdjustHSV|0|0|0", aero200}, L"<absent>", L"200"},
      {L"", L"250", {"SkinH_AdjustHSV|0|0|0"}, L"<absent>", L"<absent>"},
      {L"", L"-5", {"SkinH_AdjustHSV|0|0|0"}, L"<absent>", L"-5"},
      {L"179.5", L"", {}, L"179.5", L"<absent>"},
      {L"-179.5", L"", {}, L"-179.5", L"<absent>"},
      {L"30", L"120", {"SkinH_AdjustHSV|30|0|0", aero120}, L"30", L"120"},
      {L"abc",
       L" 12.5kg",
       {"SkinH_AdjustHSV|0|0|0", std::string("SkinH_AdjustAero|12") + kAero},
       L"0",
       L"12.5"},
      // Beyond 32 bits: nothing applied for either box, nothing stored.
      {L"3000000000", L"-1e300", {}, L"<absent>", L"<absent>"},
  };
  for (const SaveCase& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << "hue '" << Utf8(c.hue) << "' alpha '" << Utf8(c.alpha) << "'");
    CleanUp();
    AddSkins({L"Blue.she"});
    FrmSkin& d = Open();
    Select(d, 0);
    Type(d.Text1, c.hue);
    Type(d.Text2, c.alpha);
    Click(d.Command2);

    EXPECT_TRUE(frmSkin.IsEmpty());
    Trace expected = {AttachLine(L"Blue")};
    expected.insert(expected.end(), c.calls.begin(), c.calls.end());
    EXPECT_EQ(expected, EngineTrace());
    EXPECT_EQ(L"Blue", Stored(L"SkinName"));
    EXPECT_EQ(c.storedHue, Stored(L"SkinHue"));
    EXPECT_EQ(c.storedAlpha, Stored(L"SkinAlpha"));
  }
}

TEST_F(SkinDialogTest, ATransparencyOfZeroIsStoredAndAppliedAtTheNextStart) {
  AddSkins({L"Blue.she"});
  FrmSkin& d = Open();
  Select(d, 0);
  Type(d.Text2, L"0");
  Type(d.Text1, L"179.5");
  Click(d.Command2);
  ASSERT_TRUE(frmSkin.IsEmpty());

  ClearEngineTrace();
  frmSkin->SetText(0);
  EXPECT_EQ(Trace({AttachLine(L"Blue"), std::string("SkinH_AdjustAero|0") + kAero,
                   "SkinH_AdjustHSV|180|0|0"}),
            EngineTrace());
  EXPECT_FALSE(frmSkin->IsLoaded());
}

TEST_F(SkinDialogTest, CheckBoxSwitchesAeroOnAndOff) {
  FrmSkin& d = Open();
  Click(d.Check1);
  EXPECT_EQ(1, d.Check1.Value());
  Click(d.Check1);
  EXPECT_EQ(0, d.Check1.Value());
  EXPECT_EQ(Trace({"SkinH_SetAero|1", "SkinH_SetAero|0"}), EngineTrace());
  EXPECT_EQ(L"<absent>", Stored(L"SkinName"));
}

TEST_F(SkinDialogTest, CloseWithATickedBoxAsksAndNoKeepsTheDialogAsItWas) {
  AddSkins({L"Blue.she"});
  FrmSkin& d = Open();
  Select(d, 0);
  Click(d.Check1);
  ClearEngineTrace();
  {
    gLook = {};
    HHOOK hook = SetWindowsHookExW(WH_CBT, WatchBoxes, nullptr, GetCurrentThreadId());
    MessageBoxAnswerer answerer(IDNO);
    Click(d.Command1);
    UnhookWindowsHookEx(hook);
    const auto seen = answerer.Seen();
    ASSERT_EQ(1u, seen.size());
    EXPECT_EQ(L"提示", seen[0].title);
    EXPECT_EQ(L"设置未保存，现在离去？", seen[0].text);
    EXPECT_TRUE(seen[0].hasYes && seen[0].hasNo);
    EXPECT_FALSE(seen[0].hasOk || seen[0].hasCancel);
    EXPECT_EQ(IDYES, gLook.defaultButton);
    EXPECT_EQ(LoadIconW(nullptr, IDI_QUESTION), gLook.icon);
  }
  ASSERT_FALSE(frmSkin.IsEmpty());
  EXPECT_TRUE(d.IsLoaded());
  EXPECT_TRUE(IsWindowVisible(d.Hwnd()));
  EXPECT_EQ(1, d.Check1.Value());
  EXPECT_EQ(L"Blue", d.List1.Text());
  EXPECT_TRUE(EngineTrace().empty());
}

TEST_F(SkinDialogTest, CloseWithTextAnsweredYesLeavesAndStoresNothing) {
  for (bool inHueBox : {true, false}) {
    CleanUp();
    AddSkins({L"Blue.she"});
    FrmSkin& d = Open();
    Select(d, 0);
    Type(inHueBox ? d.Text1 : d.Text2, L"30");
    MessageBoxAnswerer answerer(IDYES);
    Click(d.Command1);
    EXPECT_EQ(1u, answerer.Seen().size());
    EXPECT_TRUE(frmSkin.IsEmpty());
    // The preview stays in effect; nothing else is applied or stored.
    EXPECT_EQ(Trace({AttachLine(L"Blue")}), EngineTrace());
    EXPECT_EQ(L"<absent>", Stored(L"SkinName"));
  }
}

TEST_F(SkinDialogTest, CloseWithNothingEnteredClosesAtOnce) {
  AddSkins({L"Blue.she"});
  FrmSkin& d = Open();
  Select(d, 0);
  MessageBoxAnswerer answerer(IDNO);
  Click(d.Command1);
  Pump(100);
  EXPECT_TRUE(answerer.Seen().empty());
  EXPECT_TRUE(frmSkin.IsEmpty());
}

TEST_F(SkinDialogTest, TitleBarCloseAsksNothingAndStoresNothing) {
  FrmSkin& d = Open();
  Type(d.Text1, L"30");
  Click(d.Check1);
  MessageBoxAnswerer answerer(IDNO);
  SendMessageW(d.Hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
  Pump(100);
  EXPECT_TRUE(answerer.Seen().empty());
  EXPECT_TRUE(frmSkin.IsEmpty());
  EXPECT_EQ(Trace({"SkinH_SetAero|1"}), EngineTrace());
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(InApp(L"config.ini").c_str()));
}

TEST_F(SkinDialogTest, ReopeningAfterSaveStartsAfresh) {
  AddSkins({L"Blue.she"});
  FrmSkin& first = Open();
  Select(first, 0);
  Type(first.Text1, L"30");
  Type(first.Text2, L"100");
  Click(first.Check1);
  Click(first.Command2);
  ASSERT_TRUE(frmSkin.IsEmpty());

  AddSkins({L"Green.she"});
  FrmSkin& again = Open();
  EXPECT_TRUE(IsWindowVisible(again.Hwnd()));
  EXPECT_EQ(2, again.List1.ListCount());
  EXPECT_EQ(-1, again.List1.ListIndex());
  EXPECT_EQ(L"", again.Text1.Text());
  EXPECT_EQ(L"", again.Text2.Text());
  EXPECT_EQ(0, again.Check1.Value());
  EXPECT_EQ(again.List1.Hwnd(), GetFocus());
}

}  // namespace
}  // namespace skin_dialog_test
