#include "toolkit/controls.h"

namespace toolkit {
namespace {

// A margin given in twips, in pixels of the display.
int MarginPx(float twips) { return PixelsX(twips); }

}  // namespace

void Control::CreateWindowOf(const wchar_t* windowClass, HWND parent, int id,
                             const std::wstring& caption, DWORD style, DWORD exStyle,
                             const Place& place) {
  const RECT r = PixelRect(place);
  hwnd_ = CreateWindowExW(exStyle, windowClass, caption.c_str(), WS_CHILD | WS_VISIBLE | style,
                          r.left, r.top, r.right - r.left, r.bottom - r.top, parent,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                          GetModuleHandleW(nullptr), nullptr);
  // A stock object: shared by every control and never deleted.
  if (hwnd_)
    SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)),
                 FALSE);
}

std::wstring Control::Text() const {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd_)) + 1, L'\0');
  text.resize(
      static_cast<size_t>(GetWindowTextW(hwnd_, text.data(), static_cast<int>(text.size()))));
  return text;
}

void Control::SetText(const std::wstring& text) { SetWindowTextW(hwnd_, text.c_str()); }

void Control::SetFont(HFONT font) {
  SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

int Control::CaptionRoom() const {
  RECT r = {};
  GetClientRect(hwnd_, &r);
  return r.right;
}

void Frame::Create(HWND parent, int id, const std::wstring& caption, const Place& place) {
  // The group box paints only its edge and caption, and lets the mouse
  // through, so controls lying over it stay visible and usable.
  CreateWindowOf(L"BUTTON", parent, id, caption, BS_GROUPBOX, WS_EX_CONTROLPARENT, place);
}

// The caption sits on the top edge, indented and padded on both sides.
int Frame::CaptionRoom() const { return Control::CaptionRoom() - 2 * MarginPx(150); }

void ListBox::Create(HWND parent, int id, const Place& place) {
  CreateWindowOf(L"LISTBOX", parent, id, L"",
                 LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE,
                 place);
}

void ListBox::Clear() { SendMessageW(Hwnd(), LB_RESETCONTENT, 0, 0); }

void ListBox::AddItem(const std::wstring& item) {
  SendMessageW(Hwnd(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
}

int ListBox::ListCount() const {
  const LRESULT n = SendMessageW(Hwnd(), LB_GETCOUNT, 0, 0);
  return n == LB_ERR ? 0 : static_cast<int>(n);
}

int ListBox::ListIndex() const {
  const LRESULT i = SendMessageW(Hwnd(), LB_GETCURSEL, 0, 0);
  return i == LB_ERR ? -1 : static_cast<int>(i);
}

std::wstring ListBox::List(int index) const {
  const LRESULT n = SendMessageW(Hwnd(), LB_GETTEXTLEN, index, 0);
  if (n == LB_ERR) return {};
  std::wstring item(static_cast<size_t>(n) + 1, L'\0');
  const LRESULT got =
      SendMessageW(Hwnd(), LB_GETTEXT, index, reinterpret_cast<LPARAM>(item.data()));
  item.resize(got == LB_ERR ? 0 : static_cast<size_t>(got));
  return item;
}

std::wstring ListBox::Text() const {
  const int index = ListIndex();
  return index < 0 ? std::wstring() : List(index);
}

void TextBox::Create(HWND parent, int id, const Place& place) {
  CreateWindowOf(L"EDIT", parent, id, L"", ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE, place);
}

void Label::Create(HWND parent, int id, const std::wstring& caption, const Place& place) {
  // One line high: the caption is clipped at the right rather than wrapped
  // onto a line that would not show.
  CreateWindowOf(L"STATIC", parent, id, caption, SS_LEFTNOWORDWRAP, 0, place);
}

void CheckBox::Create(HWND parent, int id, const std::wstring& caption, const Place& place) {
  CreateWindowOf(L"BUTTON", parent, id, caption, BS_AUTOCHECKBOX | BS_MULTILINE | WS_TABSTOP, 0,
                 place);
}

// The box and the gap after it come first: the box as wide as the system's
// check mark, the gap half a character wide under Wine and a few pixels on
// Windows, given some slack here.
int CheckBox::CaptionRoom() const {
  return Control::CaptionRoom() - GetSystemMetrics(SM_CXMENUCHECK) - MarginPx(90);
}

int CheckBox::Value() const {
  switch (SendMessageW(Hwnd(), BM_GETCHECK, 0, 0)) {
    case BST_CHECKED:
      return 1;
    case BST_INDETERMINATE:
      return 2;
    default:
      return 0;
  }
}

void CommandButton::Create(HWND parent, int id, const std::wstring& caption, const Place& place) {
  CreateWindowOf(L"BUTTON", parent, id, caption, BS_PUSHBUTTON | WS_TABSTOP, 0, place);
}

// The raised edge and the focus rectangle inside it on either side.
int CommandButton::CaptionRoom() const { return Control::CaptionRoom() - 2 * MarginPx(60); }

}  // namespace toolkit
