// The controls a form places on itself: frame, list box, text box, label,
// check box and command button. Each wraps a child window made once by
// Create, at a place given in twips relative to its parent; the parent
// window owns it and destroys it with itself. All start with the platform's
// default GUI font; a form may give them one of its own.
#pragma once

#include <windows.h>

#include <string>

#include "toolkit/twips.h"

namespace toolkit {

class Control {
 public:
  Control() = default;
  virtual ~Control() = default;
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  HWND Hwnd() const { return hwnd_; }
  std::wstring Text() const;
  void SetText(const std::wstring& text);

  // The font must outlive the control.
  void SetFont(HFONT font);
  // The width in pixels the caption may take on one line: the client width
  // less what the control draws beside its text.
  virtual int CaptionRoom() const;

 protected:
  void CreateWindowOf(const wchar_t* windowClass, HWND parent, int id, const std::wstring& caption,
                      DWORD style, DWORD exStyle, const Place& place);

 private:
  HWND hwnd_ = nullptr;
};

// A group box. Controls may be its children; Tab reaches them in place.
class Frame : public Control {
 public:
  void Create(HWND parent, int id, const std::wstring& caption, const Place& place);
  int CaptionRoom() const override;
};

// A single-selection list box, not sorted, that notifies its parent when
// the user changes the selection (LBN_SELCHANGE).
class ListBox : public Control {
 public:
  void Create(HWND parent, int id, const Place& place);
  void Clear();
  void AddItem(const std::wstring& item);
  int ListCount() const;
  // The selected item, -1 when none.
  int ListIndex() const;
  std::wstring List(int index) const;
  // The selected item's text; empty when nothing is selected.
  std::wstring Text() const;
};

// A single-line edit box.
class TextBox : public Control {
 public:
  void Create(HWND parent, int id, const Place& place);
};

class Label : public Control {
 public:
  void Create(HWND parent, int id, const std::wstring& caption, const Place& place);
};

// A check box that toggles itself when clicked (BN_CLICKED to the parent).
class CheckBox : public Control {
 public:
  void Create(HWND parent, int id, const std::wstring& caption, const Place& place);
  // 0 cleared, 1 ticked, 2 grayed.
  int Value() const;
  int CaptionRoom() const override;
};

class CommandButton : public Control {
 public:
  void Create(HWND parent, int id, const std::wstring& caption, const Place& place);
  int CaptionRoom() const override;
};

}  // namespace toolkit
