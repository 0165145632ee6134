#include "toolkit/form.h"

#include <vector>

#include "toolkit/app.h"
#include "toolkit/controls.h"
#include "toolkit/twips.h"

namespace toolkit {
namespace {

int gLoadedForms = 0;
std::vector<std::unique_ptr<Form>> gDiscarded;

ATOM RegisterFormClass(WNDPROC proc) {
  static ATOM atom = [proc] {
    WNDCLASSEXW wc = {sizeof wc};
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kFormClass;
    return RegisterClassExW(&wc);
  }();
  return atom;
}

// A form's window is gone; wake the event loop so it sees whether any
// form is left.
void WindowGone() {
  if (--gLoadedForms == 0) PostThreadMessageW(GetCurrentThreadId(), WM_NULL, 0, 0);
}

// Moving or sizing a window: a hidden one has nothing on screen to redraw.
UINT GeometryFlags(HWND hwnd, UINT flags) {
  flags |= SWP_NOZORDER | SWP_NOACTIVATE;
  if (!IsWindowVisible(hwnd)) flags |= SWP_NOREDRAW | SWP_NOCOPYBITS;
  return flags;
}

// A hidden window that owns the forms without a task-bar button, so that
// they need no other form as their owner.
HWND HiddenOwner() {
  static HWND owner = CreateWindowExW(0, L"Static", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                      GetModuleHandleW(nullptr), nullptr);
  return owner;
}

void SetIcons(HWND hwnd, int iconId) {
  if (!iconId) return;
  HINSTANCE inst = GetModuleHandleW(nullptr);
  auto load = [&](int metricX, int metricY) {
    return static_cast<HICON>(LoadImageW(inst, MAKEINTRESOURCEW(iconId), IMAGE_ICON,
                                         GetSystemMetrics(metricX), GetSystemMetrics(metricY),
                                         LR_SHARED));
  };
  SendMessageW(hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(load(SM_CXICON, SM_CYICON)));
  SendMessageW(hwnd, WM_SETICON, ICON_SMALL,
               reinterpret_cast<LPARAM>(load(SM_CXSMICON, SM_CYSMICON)));
}

}  // namespace

Form::Form(FormLook look) : look_(std::move(look)) {}

Form::~Form() {
  if (hwnd_) {
    // The object goes before its window: cut the window loose first.
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
    WindowGone();
  }
}

HWND Form::Hwnd() {
  EnsureLoaded();
  return hwnd_;
}

void Form::EnsureLoaded() {
  if (!hwnd_) Load();
}

void Form::Load() {
  RegisterFormClass(&Form::WndProc);
  HMENU menu = CreateMenuBar();
  RECT r = {0, 0, PixelsX(look_.clientWidth), PixelsY(look_.clientHeight)};
  AdjustWindowRectEx(&r, look_.style, menu != nullptr, look_.exStyle);
  HWND owner = look_.noTaskbarButton ? HiddenOwner() : nullptr;
  CreateWindowExW(look_.exStyle, kFormClass, look_.caption.c_str(), look_.style & ~WS_VISIBLE,
                  CW_USEDEFAULT, CW_USEDEFAULT, r.right - r.left, r.bottom - r.top, owner, menu,
                  GetModuleHandleW(nullptr), this);
  if (!hwnd_) {
    if (menu) DestroyMenu(menu);
    return;
  }
  ++gLoadedForms;
  SetIcons(hwnd_, look_.iconId);
  CreateControls();
  Form_Load();
  loaded_ = true;
}

void Form::UseFont(Font font, std::initializer_list<Control*> controls) {
  for (Control* control : controls) control->SetFont(font.Get());
  // Controls of an earlier window of this form are gone: its font may go.
  font_ = std::move(font);
}

RECT Form::WindowRect() {
  EnsureLoaded();
  RECT r = {};
  GetWindowRect(hwnd_, &r);
  return r;
}

RECT Form::ClientRect() {
  EnsureLoaded();
  RECT r = {};
  GetClientRect(hwnd_, &r);
  return r;
}

int Form::WindowState() {
  EnsureLoaded();
  if (IsIconic(hwnd_)) return 1;
  if (IsZoomed(hwnd_)) return 2;
  return 0;
}

float Form::Width() {
  RECT r = WindowRect();
  return TwipsX(r.right - r.left);
}

float Form::Height() {
  RECT r = WindowRect();
  return TwipsY(r.bottom - r.top);
}

float Form::Left() { return TwipsX(WindowRect().left); }
float Form::Top() { return TwipsY(WindowRect().top); }

void Form::SetWidth(float twips) {
  RECT r = WindowRect();
  SetWindowPos(hwnd_, nullptr, 0, 0, PixelsX(twips), r.bottom - r.top,
               GeometryFlags(hwnd_, SWP_NOMOVE));
}

void Form::SetHeight(float twips) {
  RECT r = WindowRect();
  SetWindowPos(hwnd_, nullptr, 0, 0, r.right - r.left, PixelsY(twips),
               GeometryFlags(hwnd_, SWP_NOMOVE));
}

void Form::Move(float left, float top) {
  EnsureLoaded();
  SetWindowPos(hwnd_, nullptr, PixelsX(left), PixelsY(top), 0, 0, GeometryFlags(hwnd_, SWP_NOSIZE));
}

void Form::Move(float left, float top, float width, float height) {
  EnsureLoaded();
  SetWindowPos(hwnd_, nullptr, PixelsX(left), PixelsY(top), PixelsX(width), PixelsY(height),
               GeometryFlags(hwnd_, 0));
}

float Form::ScaleWidth() { return TwipsX(ClientRect().right); }
float Form::ScaleHeight() { return TwipsY(ClientRect().bottom); }

void Form::Show() {
  EnsureLoaded();
  HWND h = hwnd_;
  if (!h) return;
  if (IsWindowVisible(h)) {
    SetForegroundWindow(h);
    return;
  }
  if (look_.centerOnShow) Move((ScreenWidth() - Width()) / 2, (ScreenHeight() - Height()) / 2);
  // The form is laid out at the size it shows at before it shows, so that
  // its first painting finds everything in place. A window shown at the
  // size it already had gets no size event while showing; one that does
  // (shown at another size) is laid out again then.
  if (!IsIconic(h)) Form_Resize();
  if (hwnd_) ShowWindow(hwnd_, SW_SHOW);
}

void Form::SetTopMost(bool on) {
  constexpr UINT kZOrderOnly = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
  HWND h = Hwnd();
  SetWindowPos(h, on ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, kZOrderOnly);
  // A window already on the side asked for is not moved by that call.
  SetWindowPos(h, HWND_TOP, 0, 0, 0, 0, kZOrderOnly);
}

void Form::Unload() {
  if (!hwnd_) return;
  Form_Unload();
  if (hwnd_) DestroyWindow(hwnd_);
}

LRESULT CALLBACK Form::WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* form = static_cast<Form*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    form->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
  }
  auto* form = reinterpret_cast<Form*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!form) return DefWindowProcW(hwnd, msg, wp, lp);
  return form->HandleMessage(msg, wp, lp);
}

LRESULT Form::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT result = 0;
  switch (msg) {
    case WM_COMMAND:
      if (OnCommand(LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp))) return 0;
      break;
    case WM_SIZE:
      if (loaded_ && IsWindowVisible(hwnd_)) Form_Resize();
      return 0;
    case WM_CLOSE:
      Unload();
      return 0;
    case WM_ACTIVATE:
      if (!look_.dialogKeys) break;
      MoveFocusOnActivate(wp);
      return 0;
    case WM_NCDESTROY: {
      HWND h = hwnd_;
      SetWindowLongPtrW(h, GWLP_USERDATA, 0);
      hwnd_ = nullptr;
      loaded_ = false;
      WindowGone();
      return DefWindowProcW(h, msg, wp, lp);
    }
  }
  if (OnMessage(msg, wp, lp, &result)) return result;
  return DefWindowProcW(hwnd_, msg, wp, lp);
}

// A form with dialog keys works like a dialog box: when it is activated the
// focus goes back to the control that had it, or else to the first control
// in tab order, rather than to the form itself.
void Form::MoveFocusOnActivate(WPARAM wp) {
  if (LOWORD(wp) == WA_INACTIVE) {
    HWND focus = GetFocus();
    if (focus && IsChild(hwnd_, focus)) focus_ = focus;
    return;
  }
  HWND target =
      focus_ && IsChild(hwnd_, focus_) ? focus_ : GetNextDlgTabItem(hwnd_, nullptr, FALSE);
  SetFocus(target ? target : hwnd_);
}

bool TranslateFormKeys(MSG* msg) {
  if (!msg->hwnd || msg->message < WM_KEYFIRST || msg->message > WM_KEYLAST) return false;
  HWND root = GetAncestor(msg->hwnd, GA_ROOT);
  if (!root || GetClassLongPtrW(root, GCW_ATOM) != RegisterFormClass(&Form::WndProc)) return false;
  auto* form = reinterpret_cast<Form*>(GetWindowLongPtrW(root, GWLP_USERDATA));
  if (!form) return false;
  if (form->TranslateKey(msg)) return true;
  return form->look_.dialogKeys && IsDialogMessageW(root, msg);
}

void DeleteLater(std::unique_ptr<Form> form) { gDiscarded.push_back(std::move(form)); }

void DeleteDiscardedForms() {
  // Deleting may discard further forms: take the list first.
  std::vector<std::unique_ptr<Form>> doomed;
  doomed.swap(gDiscarded);
}

int LoadedFormCount() { return gLoadedForms; }

}  // namespace toolkit
