// The form layer's own promises: the first use of a form loads it, a form
// sees key messages for its controls before they are dispatched, and a
// form may discard itself from its own handler.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "support/wine_test.h"
#include "toolkit/app.h"
#include "toolkit/form.h"

using namespace wine_test;

namespace {

std::vector<UINT> gEditSaw;
WNDPROC gEditProc = nullptr;

LRESULT CALLBACK RecordingEdit(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_KEYDOWN) gEditSaw.push_back(static_cast<UINT>(wp));
  return CallWindowProcW(gEditProc, hwnd, msg, wp, lp);
}

class KeyForm : public toolkit::Form {
 public:
  KeyForm() : Form(toolkit::FormLook{}) {}
  HWND edit = nullptr;
  std::vector<UINT> translated;
  bool loadedBeforeFirstUseReturned = false;

 protected:
  void CreateControls() override {
    edit = CreateWindowExW(0, L"Edit", L"", WS_CHILD | WS_VISIBLE, 0, 0, 100, 20, RawHwnd(),
                           nullptr, GetModuleHandleW(nullptr), nullptr);
    gEditProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordingEdit)));
  }
  void Form_Load() override { loadedBeforeFirstUseReturned = true; }
  // F5 is taken here; every other key goes on to the control.
  bool TranslateKey(MSG* msg) override {
    if (msg->message != WM_KEYDOWN) return false;
    translated.push_back(static_cast<UINT>(msg->wParam));
    return msg->wParam == VK_F5;
  }
};

TEST(Form, FirstUseLoadsAndKeysReachTheFormBeforeTheControl) {
  auto form = toolkit::CreateForm<KeyForm>();
  EXPECT_FALSE(form->IsLoaded());
  EXPECT_EQ(0, form->WindowState());                // any first use loads the form...
  EXPECT_TRUE(form->loadedBeforeFirstUseReturned);  // ...and runs Form_Load first
  form->Show();

  gEditSaw.clear();
  PostMessageW(form->edit, WM_KEYDOWN, VK_F5, 0);
  PostMessageW(form->edit, WM_KEYDOWN, 'A', 0);
  Pump(100);
  EXPECT_EQ(std::vector<UINT>({VK_F5, 'A'}), form->translated);
  EXPECT_EQ(std::vector<UINT>({'A'}), gEditSaw);  // the taken key never reached it
  form->Unload();
  EXPECT_EQ(0, toolkit::LoadedFormCount());
}

class CountingForm : public toolkit::Form {
 public:
  CountingForm() : Form(toolkit::FormLook{}) {}
  int loads = 0;

 protected:
  void Form_Load() override { ++loads; }
};

TEST(Form, WhicheverAccessorComesFirstLoadsTheFormOnce) {
  using Use = std::function<void(toolkit::Form&)>;
  const std::pair<const char*, Use> firstUses[] = {
      {"Hwnd", [](toolkit::Form& f) { f.Hwnd(); }},
      {"WindowState", [](toolkit::Form& f) { f.WindowState(); }},
      {"Width", [](toolkit::Form& f) { f.Width(); }},
      {"Height", [](toolkit::Form& f) { f.Height(); }},
      {"Left", [](toolkit::Form& f) { f.Left(); }},
      {"Top", [](toolkit::Form& f) { f.Top(); }},
      {"SetWidth", [](toolkit::Form& f) { f.SetWidth(3000); }},
      {"SetHeight", [](toolkit::Form& f) { f.SetHeight(1500); }},
      {"Move", [](toolkit::Form& f) { f.Move(150, 300); }},
      {"ScaleWidth", [](toolkit::Form& f) { f.ScaleWidth(); }},
      {"ScaleHeight", [](toolkit::Form& f) { f.ScaleHeight(); }},
      {"Show", [](toolkit::Form& f) { f.Show(); }},
  };
  for (const auto& [name, use] : firstUses) {
    SCOPED_TRACE(name);
    auto form = toolkit::CreateForm<CountingForm>();
    use(*form);
    ASSERT_TRUE(form->IsLoaded());
    EXPECT_EQ(1, form->loads);
    form->Width();
    EXPECT_EQ(1, form->loads);  // later uses load nothing more
  }
  EXPECT_EQ(0, toolkit::LoadedFormCount());

  // The first use also does its own work on the window it made: 3000 and
  // 1500 twips are 200 and 100 pixels at 96 DPI, 150, 300 twips 10, 20.
  auto form = toolkit::CreateForm<CountingForm>();
  form->SetWidth(3000);
  RECT r = {};
  GetWindowRect(form->Hwnd(), &r);
  EXPECT_EQ(200, r.right - r.left);
  form = toolkit::CreateForm<CountingForm>();
  form->SetHeight(1500);
  GetWindowRect(form->Hwnd(), &r);
  EXPECT_EQ(100, r.bottom - r.top);
  form = toolkit::CreateForm<CountingForm>();
  form->Move(150, 300);
  GetWindowRect(form->Hwnd(), &r);
  EXPECT_EQ(10, r.left);
  EXPECT_EQ(20, r.top);
}

class SelfDiscarding : public toolkit::Form {
 public:
  SelfDiscarding() : Form(toolkit::FormLook{}) {}
  static inline toolkit::AutoForm<SelfDiscarding> reference;
  static inline int destroyed = 0;
  ~SelfDiscarding() override { ++destroyed; }

 protected:
  void Form_Unload() override { reference.Reset(); }
};

TEST(Form, AFormDiscardedFromItsOwnUnloadGoesOnceTheEventIsOver) {
  SelfDiscarding::reference->Show();
  HWND h = SelfDiscarding::reference->Hwnd();
  SendMessageW(h, WM_CLOSE, 0, 0);
  EXPECT_TRUE(SelfDiscarding::reference.IsEmpty());
  EXPECT_FALSE(IsWindow(h));
  toolkit::DoEvents();
  EXPECT_EQ(1, SelfDiscarding::destroyed);
  // Using the reference again makes a fresh object.
  EXPECT_FALSE(SelfDiscarding::reference->IsLoaded());
  EXPECT_EQ(1, SelfDiscarding::destroyed);
}

}  // namespace
