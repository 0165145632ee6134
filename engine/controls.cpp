#include "controls.h"

#include <windowsx.h>

#include <algorithm>
#include <string>
#include <utility>

#include "draw.h"
#include "look.h"
#include "scrollbar.h"
#include "skinner.h"
#include "subclass.h"
#include "common/win_handles.h"

namespace dulib::controls {

namespace {

// Sizes in pixels at 96 DPI, scaled with the display.
constexpr int kCheckBoxSize = 13;
constexpr int kCheckLabelGap = 6;  // room for the focus ring between box and text
constexpr int kGroupCaptionIndent = 8;
constexpr int kListTextIndent = 3;

// Per-control state, owned by the subclass and freed with the window.
struct Control {
  Kind kind;
  bool hover = false;
  HFONT font = nullptr;  // a label's font as the program set it
};

std::wstring TextOf(HWND hwnd) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(hwnd, text.data(), int(text.size()))));
  return text;
}

HFONT FontOf(HWND hwnd) { return reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0)); }

struct UiState {
  bool hide_focus;
  bool hide_accel;
};

UiState UiStateOf(HWND hwnd) {
  LRESULT ui = SendMessageW(hwnd, WM_QUERYUISTATE, 0, 0);
  return {(ui & UISF_HIDEFOCUS) != 0, (ui & UISF_HIDEACCEL) != 0};
}

// The text of a button, centred in `rc` (several lines if BS_MULTILINE).
void DrawLabel(HDC dc, HWND hwnd, RECT rc, UINT align, COLORREF color, RECT* drawn) {
  std::wstring text = TextOf(hwnd);
  UINT flags = align | (UiStateOf(hwnd).hide_accel ? DT_HIDEPREFIX : 0);
  LONG style = GetWindowLongW(hwnd, GWL_STYLE);
  if (style & BS_MULTILINE) {
    RECT calc = rc;
    DrawTextW(dc, text.c_str(), int(text.size()), &calc, flags | DT_WORDBREAK | DT_CALCRECT);
    int height = calc.bottom - calc.top;
    rc.top += (rc.bottom - rc.top - height) / 2;
    rc.bottom = rc.top + height;
    flags |= DT_WORDBREAK;
  } else {
    flags |= DT_SINGLELINE | DT_VCENTER;
  }
  SetTextColor(dc, color);
  SetBkMode(dc, TRANSPARENT);
  DrawTextW(dc, text.c_str(), int(text.size()), &rc, flags);
  if (drawn) {
    *drawn = rc;
    DrawTextW(dc, text.c_str(), int(text.size()), drawn, flags | DT_CALCRECT);
    if (align & DT_CENTER) OffsetRect(drawn, (rc.right - drawn->right) / 2, 0);
  }
}

// ---- push buttons -----------------------------------------------------------

using look::Part;

// The state of a button, worked out once from the control.
look::States ButtonStates(HWND hwnd, const Control& control, bool pushlike) {
  LRESULT state = SendMessageW(hwnd, BM_GETSTATE, 0, 0);
  LONG style = GetWindowLongW(hwnd, GWL_STYLE);
  look::States s = look::kNormal;
  if (state & BST_PUSHED) s |= look::kPressed;
  if (pushlike && (state & (BST_CHECKED | BST_INDETERMINATE))) s |= look::kPressed;
  if (state & BST_CHECKED) s |= look::kChecked;
  if (state & BST_INDETERMINATE) s |= look::kMixed;
  if (control.hover) s |= look::kHover;
  if (!IsWindowEnabled(hwnd)) s |= look::kDisabled;
  if (GetFocus() == hwnd && !UiStateOf(hwnd).hide_focus) s |= look::kFocused;
  if ((style & BS_TYPEMASK) == BS_DEFPUSHBUTTON) s |= look::kDefault;
  return s;
}

void PaintPushButton(HWND hwnd, const Control& control, HDC dc, const RECT& rc) {
  LONG type = GetWindowLongW(hwnd, GWL_STYLE) & BS_TYPEMASK;
  bool pushlike = type != BS_PUSHBUTTON && type != BS_DEFPUSHBUTTON;
  look::States s = ButtonStates(hwnd, control, pushlike);
  look::Draw(dc, Part::PushButton, s, rc);

  RECT label = rc;
  InflateRect(&label, -5, -3);
  if (s & look::kPressed) OffsetRect(&label, 1, 1);
  common::Selected f(dc, look::Solid(FontOf(hwnd)));
  RECT drawn;
  DrawLabel(dc, hwnd, label, DT_CENTER, look::TextColor(Part::PushButton, s), &drawn);
  if (s & look::kFocused) {
    // Inside the outline, and never on the text.
    RECT ring = rc;
    InflateRect(&ring, -4, -4);
    RECT around = drawn;
    InflateRect(&around, 2, 2);
    UnionRect(&ring, &ring, &around);
    RECT inside = rc;
    InflateRect(&inside, -2, -2);
    IntersectRect(&ring, &ring, &inside);
    InflateRect(&ring, -2, -2);  // DrawFocus puts the dots two pixels out
    look::DrawFocus(dc, Part::PushButton, s, ring);
  }
}

// ---- check boxes and radio buttons ----------------------------------------

void PaintCheckBox(HWND hwnd, const Control& control, HDC dc, const RECT& rc) {
  LONG style = GetWindowLongW(hwnd, GWL_STYLE);
  look::States s = ButtonStates(hwnd, control, false);
  look::Draw(dc, Part::Surface, s, rc);

  int size = draw::Scaled(kCheckBoxSize);
  bool box_right = (style & BS_LEFTTEXT) != 0;
  RECT box;
  box.left = box_right ? rc.right - size : rc.left;
  box.top = (style & BS_VCENTER) == BS_TOP      ? rc.top
            : (style & BS_VCENTER) == BS_BOTTOM ? rc.bottom - size
                                                : rc.top + (rc.bottom - rc.top - size) / 2;
  box.right = box.left + size;
  box.bottom = box.top + size;
  look::Draw(dc, control.kind == Kind::RadioButton ? Part::RadioButton : Part::CheckBox, s, box);

  int gap = draw::Scaled(kCheckLabelGap);
  RECT label = rc;
  if (box_right) {
    label.right = box.left - gap;
  } else {
    label.left = box.right + gap;
  }
  common::Selected f(dc, look::Solid(FontOf(hwnd)));
  RECT drawn;
  DrawLabel(dc, hwnd, label, DT_LEFT, look::TextColor(Part::CheckLabel, s), &drawn);
  if (s & look::kFocused) look::DrawFocus(dc, Part::CheckLabel, s, drawn);
}

// ---- frames ------------------------------------------------------------------

// Leaves out of `dc` the places of the frame's children and of the
// controls lying over it: they paint themselves, and a frame painted last
// must not cover them.
BOOL CALLBACK ExcludeWindow(HWND other, LPARAM data) {
  auto* clip = reinterpret_cast<std::pair<HWND, HDC>*>(data);
  HWND frame = clip->first;
  if (other == frame || !IsWindowVisible(other)) return TRUE;
  HWND parent = GetParent(other);
  if (parent != frame && parent != GetParent(frame)) return TRUE;
  if (IsClass(other, L"Button") && ButtonKind(GetWindowLongW(other, GWL_STYLE)) == Kind::GroupBox &&
      parent != frame) {
    return TRUE;  // another frame is not painted over this one
  }
  RECT r;
  GetWindowRect(other, &r);
  MapWindowPoints(nullptr, frame, reinterpret_cast<POINT*>(&r), 2);
  ExcludeClipRect(clip->second, r.left, r.top, r.right, r.bottom);
  return TRUE;
}

void ExcludeNeighbours(HWND frame, HDC dc) {
  std::pair<HWND, HDC> clip(frame, dc);
  EnumChildWindows(frame, ExcludeWindow, reinterpret_cast<LPARAM>(&clip));
  if (HWND parent = GetParent(frame)) {
    for (HWND s = GetWindow(parent, GW_CHILD); s; s = GetWindow(s, GW_HWNDNEXT)) {
      ExcludeWindow(s, reinterpret_cast<LPARAM>(&clip));
    }
  }
}

void PaintGroupBox(HWND hwnd, HDC dc, const RECT& rc) {
  look::States s = IsWindowEnabled(hwnd) ? look::kNormal : look::kDisabled;
  look::Draw(dc, Part::Surface, s, rc);
  common::Selected f(dc, look::Solid(FontOf(hwnd)));
  TEXTMETRICW tm = {};
  GetTextMetricsW(dc, &tm);
  RECT line = rc;
  line.top += tm.tmHeight / 2;
  look::Draw(dc, Part::GroupBox, s, line);

  std::wstring text = TextOf(hwnd);
  if (text.empty()) return;
  int indent = draw::Scaled(kGroupCaptionIndent);
  RECT caption = {rc.left + indent, rc.top, rc.right - indent, rc.top + tm.tmHeight};
  UINT flags = DT_SINGLELINE | DT_LEFT | (UiStateOf(hwnd).hide_accel ? DT_HIDEPREFIX : 0);
  RECT size = caption;
  DrawTextW(dc, text.c_str(), int(text.size()), &size, flags | DT_CALCRECT);
  // The caption interrupts the line, with a little room on either side.
  RECT gap = {size.left - 2, caption.top, std::min(size.right + 2, caption.right), caption.bottom};
  look::Draw(dc, Part::Surface, s, gap);
  SetTextColor(dc, look::TextColor(Part::GroupBox, s));
  SetBkMode(dc, TRANSPARENT);
  DrawTextW(dc, text.c_str(), int(text.size()), &caption, flags);
}

// ---- list items --------------------------------------------------------------

// What to give DrawFocus for a ring on the row's edge.
RECT ListRingText(const RECT& row) {
  RECT text = row;
  InflateRect(&text, -2, -2);
  return text;
}

void PaintListItemText(HDC dc, const DRAWITEMSTRUCT& item, look::States s) {
  LRESULT length = SendMessageW(item.hwndItem, LB_GETTEXTLEN, item.itemID, 0);
  if (length == LB_ERR) return;
  std::wstring text(size_t(length) + 1, L'\0');
  LRESULT got =
      SendMessageW(item.hwndItem, LB_GETTEXT, item.itemID, reinterpret_cast<LPARAM>(text.data()));
  text.resize(got == LB_ERR ? 0 : size_t(got));
  common::Selected f(dc, look::Solid(FontOf(item.hwndItem)));
  TEXTMETRICW tm = {};
  GetTextMetricsW(dc, &tm);
  // The text's cell in the middle of what the focus ring leaves clear,
  // placed here rather than by DT_VCENTER, whose rounding may put the
  // cell's last row against the ring's bottom line.
  RECT clear = look::FocusInside(ListRingText(item.rcItem));
  RECT t = item.rcItem;
  t.left += draw::Scaled(kListTextIndent);
  t.top = std::max(t.top, clear.top + (clear.bottom - clear.top - tm.tmHeight) / 2);
  SetTextColor(dc, look::TextColor(Part::ListItem, s));
  SetBkMode(dc, TRANSPARENT);
  DrawTextW(dc, text.c_str(), int(text.size()), &t,
            DT_SINGLELINE | DT_TOP | DT_NOPREFIX | DT_EXPANDTABS);
}

void PaintListItem(const DRAWITEMSTRUCT& item) {
  HDC dc = item.hDC;
  look::States s = look::kNormal;
  if ((item.itemState & ODS_SELECTED) && item.itemID != UINT(-1)) s |= look::kHighlighted;
  if (item.itemState & ODS_DISABLED) s |= look::kDisabled;
  look::Draw(dc, Part::ListItem, s, item.rcItem);
  if (item.itemID != UINT(-1)) PaintListItemText(dc, item, s);
  if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT)) {
    // Around the whole row, which leaves room above and below the text.
    look::DrawFocus(dc, Part::ListItem, s, ListRingText(item.rcItem));
  }
}

// The list box's item height for its font: the text with room above and
// below it for the focus ring.
void MatchItemHeight(HWND list) {
  common::ClientDc dc(list);
  if (!dc.get()) return;
  common::Selected f(dc.get(), FontOf(list));
  TEXTMETRICW tm = {};
  if (GetTextMetricsW(dc.get(), &tm) && tm.tmHeight > 0) {
    SendMessageW(list, LB_SETITEMHEIGHT, 0, MAKELPARAM(look::ListItemHeight(tm.tmHeight), 0));
    // Its bar keeps the rows whole, and rows have a new height.
    SetWindowPos(list, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

// ---- selected text in edit boxes ------------------------------------------

// An edit box draws its selected text in the system's selection colours,
// which no WM_CTLCOLOR answer reaches: the selection is drawn again over
// them in the skin's. One line only; a multi-line box keeps its own.
void PaintEditSelection(HWND edit) {
  LONG style = GetWindowLongW(edit, GWL_STYLE);
  if ((style & ES_MULTILINE) || !IsWindowVisible(edit)) return;
  if (GetFocus() != edit && !(style & ES_NOHIDESEL)) return;  // the edit hides it then
  DWORD start = 0, end = 0;
  SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  std::wstring text = TextOf(edit);
  end = std::min<DWORD>(end, DWORD(text.size()));
  if (start >= end) return;
  if (style & ES_PASSWORD) {
    auto mask = static_cast<wchar_t>(SendMessageW(edit, EM_GETPASSWORDCHAR, 0, 0));
    if (mask) text.assign(text.size(), mask);
  }
  LRESULT from = SendMessageW(edit, EM_POSFROMCHAR, start, 0);
  if (from == -1) return;
  common::ClientDc dc(edit);
  if (!dc.get()) return;
  common::Selected f(dc.get(), FontOf(edit));
  int x = static_cast<short>(LOWORD(from)), y = static_cast<short>(HIWORD(from));
  SIZE extent = {};
  GetTextExtentPoint32W(dc.get(), text.c_str() + start, int(end - start), &extent);
  RECT band = {x, y, x + extent.cx, y + extent.cy};
  // Only inside the text area: scrolled-away characters lie outside it.
  RECT area = {};
  SendMessageW(edit, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&area));
  IntersectRect(&band, &band, &area);
  if (IsRectEmpty(&band)) return;
  HideCaret(edit);  // the caret inverts what is below it: take it off first
  SetBkColor(dc.get(), look::Back(look::Part::Edit, look::kHighlighted));
  SetTextColor(dc.get(), look::TextColor(look::Part::Edit, look::kHighlighted));
  ExtTextOutW(dc.get(), x, y, ETO_OPAQUE | ETO_CLIPPED, &band, text.c_str() + start,
              UINT(end - start), nullptr);
  ShowCaret(edit);
}

// After these the edit box may have drawn its selection.
bool EditShowsSelectionAfter(HWND edit, UINT msg) {
  switch (msg) {
    case WM_MOUSEMOVE:
      return GetCapture() == edit;  // selecting by dragging
    case WM_PAINT:
    case WM_SETFOCUS:
    case WM_SETTEXT:
    case WM_KEYDOWN:
    case WM_CHAR:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP:
    case WM_SIZE:
    case EM_SETSEL:
    case EM_REPLACESEL:
    case WM_ENABLE:
      return true;
  }
  return false;
}

// ---- labels ------------------------------------------------------------------

// A label draws its text itself, in its font. Where the platform would
// thin that font's strokes, the label is given the look's solid twin of
// it, which has the same metrics, so the layout stays; asked for its
// font, it still answers with the program's.
LRESULT LabelMessage(HWND hwnd, Control& control, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_SETFONT:
      control.font = reinterpret_cast<HFONT>(wp);
      return subclass::CallNext(hwnd, msg, reinterpret_cast<WPARAM>(look::Solid(control.font)), lp);
    case WM_GETFONT:
      if (control.font) return reinterpret_cast<LRESULT>(control.font);
      break;
  }
  return subclass::CallNext(hwnd, msg, wp, lp);
}

// ---- the subclasses -----------------------------------------------------------

void Paint(HWND hwnd, const Control& control, HDC target) {
  RECT rc;
  GetClientRect(hwnd, &rc);
  if (control.kind == Kind::GroupBox) {
    // Painted in place: the clip region keeps the neighbours out, and an
    // off-screen copy would bring them back. The DC may be a caller's
    // (WM_PRINTCLIENT, a themed child drawing its parent's background):
    // its clipping and colours are given back as they were.
    int saved = SaveDC(target);
    ExcludeNeighbours(hwnd, target);
    PaintGroupBox(hwnd, target, rc);
    if (saved) RestoreDC(target, saved);
    return;
  }
  common::OffscreenDc dc(target, rc);
  switch (control.kind) {
    case Kind::PushButton:
      PaintPushButton(hwnd, control, dc.get(), rc);
      break;
    case Kind::CheckBox:
    case Kind::RadioButton:
      PaintCheckBox(hwnd, control, dc.get(), rc);
      break;
    default:
      break;
  }
}

// The button class draws at once, outside WM_PAINT, whenever its state
// changes; ours goes over it straight away.
void PaintNow(HWND hwnd, const Control& control) {
  if (!IsWindowVisible(hwnd)) return;
  common::ClientDc dc(hwnd);
  if (dc.get()) Paint(hwnd, control, dc.get());
}

bool RepaintsAfter(UINT msg) {
  switch (msg) {
    case WM_SETTEXT:
    case WM_ENABLE:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_UPDATEUISTATE:
    case WM_CAPTURECHANGED:
    case BM_SETSTATE:
    case BM_SETCHECK:
    case BM_SETSTYLE:
    case WM_LBUTTONUP:
    case WM_KEYUP:
      return true;
  }
  return false;
}

bool PointerOver(HWND hwnd, POINT client_point) {
  RECT rc;
  GetClientRect(hwnd, &rc);
  return PtInRect(&rc, client_point) != 0;
}

void SetHover(HWND hwnd, Control& control, bool hover) {
  if (hover == control.hover) return;
  POINT now;
  if (hover && !draw::TrackLeave(hwnd, TME_LEAVE, &now)) return;  // it has gone on already
  control.hover = hover;
  PaintNow(hwnd, control);
}

LRESULT ColorChild(UINT msg, HDC dc) {
  bool content = msg == WM_CTLCOLOREDIT || msg == WM_CTLCOLORLISTBOX;
  look::Part part = content ? look::Part::Edit : look::Part::Surface;
  SetTextColor(dc, look::TextColor(part, look::kNormal));
  SetBkColor(dc, look::Back(part, look::kNormal));
  return reinterpret_cast<LRESULT>(look::Brush(part, look::kNormal));
}

LRESULT CALLBACK ControlProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) {
  Control& control = *reinterpret_cast<Control*>(data);
  switch (msg) {
    case WM_NCDESTROY:
      subclass::Remove(hwnd, ControlProc, subclass::kControlId);
      delete &control;
      return subclass::CallNext(hwnd, msg, wp, lp);
    case WM_NCCREATE:
    case WM_CREATE:
      if (control.kind == Kind::List) {
        // Whichever style the list box reads, it is the owner-drawn one.
        CREATESTRUCTW cs = *reinterpret_cast<CREATESTRUCTW*>(lp);
        cs.style |= LBS_OWNERDRAWFIXED | LBS_HASSTRINGS;
        return subclass::CallNext(hwnd, msg, wp, reinterpret_cast<LPARAM>(&cs));
      }
      break;
    case WM_SETFONT:
      if (control.kind == Kind::List) {
        LRESULT result = subclass::CallNext(hwnd, msg, wp, lp);
        MatchItemHeight(hwnd);
        return result;
      }
      break;
  }
  if (control.kind == Kind::List) return subclass::CallNext(hwnd, msg, wp, lp);
  if (control.kind == Kind::Label) return LabelMessage(hwnd, control, msg, wp, lp);
  if (control.kind == Kind::Edit) {
    LRESULT result = subclass::CallNext(hwnd, msg, wp, lp);
    if (EditShowsSelectionAfter(hwnd, msg) && IsWindow(hwnd)) PaintEditSelection(hwnd);
    return result;
  }

  switch (msg) {
    case WM_ERASEBKGND:
      return 1;  // WM_PAINT covers every pixel
    case WM_PAINT: {
      common::PaintDc dc(hwnd);
      if (dc.get()) Paint(hwnd, control, dc.get());
      return 0;
    }
    case WM_PRINTCLIENT:
      Paint(hwnd, control, reinterpret_cast<HDC>(wp));
      return 0;
    case WM_MOUSEMOVE: {
      // While the button holds the mouse, moves outside it come here too.
      POINT pt = {GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
      SetHover(hwnd, control, PointerOver(hwnd, pt));
      break;
    }
    case WM_MOUSELEAVE:
      SetHover(hwnd, control, false);
      break;
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
      // Controls inside a frame ask the frame for their colours.
      if (control.kind == Kind::GroupBox) return ColorChild(msg, reinterpret_cast<HDC>(wp));
      break;
  }
  LRESULT result = subclass::CallNext(hwnd, msg, wp, lp);
  if (msg == WM_CAPTURECHANGED && IsWindow(hwnd)) {
    POINT pt;
    GetCursorPos(&pt);
    control.hover = WindowFromPoint(pt) == hwnd;
  }
  if (RepaintsAfter(msg) && IsWindow(hwnd)) PaintNow(hwnd, control);
  return result;
}

// A list box that the engine made owner-drawn: only its items are the
// engine's to draw; a list the program made owner-drawn stays its own.
bool IsOwnList(HWND hwnd) {
  DWORD_PTR data = 0;
  return subclass::Get(hwnd, ControlProc, subclass::kControlId, &data) &&
         reinterpret_cast<const Control*>(data)->kind == Kind::List;
}

// On the window that owns a list the engine made owner-drawn.
LRESULT CALLBACK ParentProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
  switch (msg) {
    case WM_DRAWITEM: {
      auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
      if (item->CtlType == ODT_LISTBOX && IsOwnList(item->hwndItem)) {
        PaintListItem(*item);
        return TRUE;
      }
      break;
    }
    case WM_NCDESTROY:
      subclass::Remove(hwnd, ParentProc, subclass::kListOwnerId);
      break;
  }
  return subclass::CallNext(hwnd, msg, wp, lp);
}

void Follow(HWND hwnd, Kind kind) {
  auto* control = new Control{kind};
  if (!subclass::Set(hwnd, ControlProc, subclass::kControlId,
                     reinterpret_cast<DWORD_PTR>(control))) {
    delete control;
  }
}

void FollowNewList(HWND hwnd, CREATESTRUCTW* cs) {
  DWORD style = cs->style | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS;
  // A multi-column list scrolls sideways; its native bar stays.
  bool own_bar = (cs->style & WS_VSCROLL) && !(cs->style & LBS_MULTICOLUMN);
  if (own_bar) style &= ~WS_VSCROLL;
  // The window already holds the creation style; the list box reads its
  // style from the window when it is created.
  cs->style = style;
  SetWindowLongW(hwnd, GWL_STYLE, LONG(style));
  subclass::Set(cs->hwndParent, ParentProc, subclass::kListOwnerId, 0);
  Follow(hwnd, Kind::List);
  if (own_bar) scrollbar::FollowList(hwnd, (style & LBS_DISABLENOSCROLL) != 0);
}

}  // namespace

void FollowCreating(HWND hwnd, CREATESTRUCTW* cs, Kind kind) {
  switch (kind) {
    case Kind::PushButton:
    case Kind::CheckBox:
    case Kind::RadioButton:
    case Kind::GroupBox:
    case Kind::Edit:
      Follow(hwnd, kind);
      break;
    case Kind::List:
      FollowNewList(hwnd, cs);
      break;
    case Kind::ScrolledEdit:
      cs->style &= ~WS_VSCROLL;
      SetWindowLongW(hwnd, GWL_STYLE, LONG(cs->style));
      scrollbar::FollowEdit(hwnd);
      break;
    case Kind::Label:
      if (draw::UnderWine()) Follow(hwnd, kind);
      break;
    default:
      break;
  }
}

// Only buttons and one-line edit boxes can be taken over after creation:
// lists and the edit boxes' bars need their creation styles changed.
void FollowExisting(HWND hwnd, Kind kind) {
  switch (kind) {
    case Kind::PushButton:
    case Kind::CheckBox:
    case Kind::RadioButton:
    case Kind::GroupBox:
      Follow(hwnd, kind);
      InvalidateRect(hwnd, nullptr, TRUE);
      break;
    case Kind::Edit:
      Follow(hwnd, kind);
      break;
    default:
      break;
  }
}

bool IsFollowed(HWND hwnd) {
  DWORD_PTR data = 0;
  // A label draws itself; the engine only gives it a solid font.
  return subclass::Get(hwnd, ControlProc, subclass::kControlId, &data) &&
         reinterpret_cast<const Control*>(data)->kind != Kind::Label;
}

}  // namespace dulib::controls
