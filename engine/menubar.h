// The menu bar of a window whose frame the engine lays out itself (a skin
// that sets frame sizes): the platform would look for the bar where its
// own frame metrics put it, so the engine lays the bar out, draws it and
// tracks it, with the mouse and the keyboard. The program sees the same
// messages as with the platform's bar: WM_INITMENUPOPUP, WM_MENUSELECT,
// WM_COMMAND for the items it chooses, WM_SYSCOMMAND for the window menu.
//
// A bar knows nothing of frames: the framed window that owns it tells it
// where it lies and how to have it painted again.
#pragma once

#include <windows.h>

namespace dulib::menubar {

// Watches the keyboard of the engine's thread: the keys that would start
// the platform's own tracking of a bar (Alt, F10, Alt+letter, Alt+Space)
// are taken where the window's bar is tracked by the engine.
void Attach(DWORD thread);

// What a bar needs of the frame around it.
class Host {
 public:
  // The bar, in window coordinates; empty when the window has none.
  virtual RECT BarRect() = 0;
  // In window coordinates, where the window menu opens: the caption's bottom.
  virtual int MenuTop() = 0;
  // Paints the frame, bar included, again now.
  virtual void Repaint() = 0;

 protected:
  ~Host() = default;
};

class Bar {
 public:
  Bar(HWND owner, Host& host);
  ~Bar();
  Bar(const Bar&) = delete;
  Bar& operator=(const Bar&) = delete;

  HWND owner() const { return owner_; }
  // Whether the engine lays out and tracks this bar (its frame is the
  // engine's), at the window's DPI.
  void Track(bool on, int dpi);
  bool tracked() const { return tracked_; }

  // Height on one row; 0 when the window has no menu.
  int Height() const;
  // Has the platform lay its own bar out on `bar` (window coordinates), so
  // that what it tells of the bar (GetMenuBarInfo, which screen readers,
  // magnifiers and UI automation read) is where the engine draws it; the
  // items are then drawn where the platform put them. Cheap when it
  // already lies there; else the platform draws its bar into `dc`, in
  // window coordinates, which the frame then paints over.
  void Place(HDC dc, const RECT& bar);
  // The rectangle of item `pos`, in window coordinates, for a bar at
  // `bar`; empty when there is no such item or it lies past the bar's end.
  RECT ItemRect(const RECT& bar, int pos) const;
  // Paints the bar at `bar` (window coordinates) into `dc`.
  void Paint(HDC dc, const RECT& bar) const;

  // Clicks on the bar and the icon, hover, the keyboard's menu commands.
  // True when handled, with the answer in *result.
  bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result);
  // Hover alone, for a bar the platform lays out and tracks: the item
  // under the pointer lit until the pointer leaves it.
  void FollowPointer(UINT msg, WPARAM wp);
  int hover() const { return hover_; }

  // The tracked bar of `root`, a top-level window, or null.
  static Bar* Of(HWND root);

  // What the bar shows: `lit` is the item drawn selected (-1 for none);
  // `keys` shows the access keys' underlines whatever the window's setting.
  void Show(int lit, bool keys);
  void SetHover(int item);
  int Scaled(int pixels96) const;
  Host& host() { return host_; }

 private:
  HWND owner_;
  Host& host_;
  bool tracked_ = false;
  int dpi_ = 96;
  bool placed_ = false;  // the platform's layout lies on the bar
  int lit_ = -1;         // the item drawn selected: its menu open, or chosen from the keyboard
  int hover_ = -1;       // the item under the mouse
  bool keys_ = false;    // access keys underlined for the keyboard
};

}  // namespace dulib::menubar
