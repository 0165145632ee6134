#include "classify.h"

namespace dulib {

namespace {

// A class whose window procedure lies in the program file. The class's
// instance handle cannot tell: Windows lets a program create the system's
// classes with its own instance. An ANSI class's procedure reads back as
// a thunk, which counts as not the program's; those are left alone.
bool IsProgramClass(HWND hwnd) {
  auto proc = reinterpret_cast<LPCWSTR>(GetClassLongPtrW(hwnd, GCLP_WNDPROC));
  HMODULE module = nullptr;
  if (!GetModuleHandleExW(
          GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
          proc, &module)) {
    return false;
  }
  return module == GetModuleHandleW(nullptr);
}

bool IsClassicButtonStyle(LONG style) {
  switch (style & BS_TYPEMASK) {
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE:
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
    case BS_GROUPBOX:
      return true;
  }
  return false;
}

bool IsTextLabel(LONG style) {
  switch (style & SS_TYPEMASK) {
    case SS_LEFT:
    case SS_CENTER:
    case SS_RIGHT:
    case SS_LEFTNOWORDWRAP:
    case SS_SIMPLE:
      return true;
  }
  return false;
}

// A list the program draws itself, or one without strings to draw, is
// left to the program.
bool CanDrawItems(LONG style) {
  return !(style & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE | LBS_NODATA));
}

Kind ControlKind(HWND hwnd, LONG style) {
  if (IsClass(hwnd, L"Button")) return ButtonKind(style);
  if (IsClass(hwnd, L"ListBox")) return CanDrawItems(style) ? Kind::List : Kind::None;
  if (IsClass(hwnd, L"Edit")) {
    if (!(style & ES_MULTILINE)) return Kind::Edit;
    return (style & WS_VSCROLL) ? Kind::ScrolledEdit : Kind::None;
  }
  if (IsClass(hwnd, L"Static") && IsTextLabel(style)) return Kind::Label;
  return Kind::None;
}

}  // namespace

bool IsClass(HWND hwnd, const wchar_t* name) {
  wchar_t cls[64];
  if (!GetClassNameW(hwnd, cls, 64)) return false;
  return lstrcmpiW(cls, name) == 0;
}

Kind ButtonKind(LONG style) {
  if (style & (BS_BITMAP | BS_ICON)) return Kind::None;
  switch (style & BS_TYPEMASK) {
    case BS_PUSHBUTTON:
    case BS_DEFPUSHBUTTON:
      return Kind::PushButton;
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE:
      return (style & BS_PUSHLIKE) ? Kind::PushButton : Kind::CheckBox;
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
      return (style & BS_PUSHLIKE) ? Kind::PushButton : Kind::RadioButton;
    case BS_GROUPBOX:
      return Kind::GroupBox;
  }
  return Kind::None;
}

// Only windows whose drawing the program or the dialog manager owns
// become surfaces: controls of other libraries (the browser control among
// them) paint themselves and are left alone.
WindowClass Classify(HWND hwnd, LONG style, LONG ex_style, bool in_skinned) {
  WindowClass c;
  bool dialog = IsClass(hwnd, L"#32770");
  if (!(style & WS_CHILD)) {
    if (IsClass(hwnd, L"#32768")) {
      c.kind = Kind::MenuPopup;
    } else if ((style & WS_CAPTION) == WS_CAPTION) {
      c.kind = Kind::Framed;
    } else if (dialog) {
      c.kind = Kind::Surface;
    }
    return c;
  }
  if (dialog || IsProgramClass(hwnd)) {
    c.kind = Kind::Surface;
    return c;
  }
  c.classic = IsClass(hwnd, L"Button") && IsClassicButtonStyle(style);
  c.flat_edge =
      (ex_style & WS_EX_CLIENTEDGE) && (IsClass(hwnd, L"Edit") || IsClass(hwnd, L"ListBox"));
  if (in_skinned) c.kind = ControlKind(hwnd, style);
  return c;
}

}  // namespace dulib
