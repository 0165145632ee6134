#include "frame_layout.h"

#include <algorithm>

namespace skin::frame {

int Scale(int n, int dpi) { return (n * dpi + 48) / 96; }

namespace {

// Buttons right to left: close, then maximise, then minimise, only those
// wanted, centred in the caption.
void PlaceButtons(const Window& w, int dpi, Layout* l) {
  if (!w.sysmenu) return;
  int inset = Scale(kButtonInset, dpi);
  int height = std::min(l->caption.bottom - l->caption.top - 2 * inset, Scale(kButtonHeight, dpi));
  if (height <= 0) return;
  int width = std::min(Scale(kButtonWidth, dpi), 2 * height);
  int right = l->caption.right - inset;
  int top = (l->caption.top + l->caption.bottom - height) / 2;
  bool wanted[kButtons] = {true, !w.tool && w.max_box, !w.tool && w.min_box};
  for (int i = 0; i < kButtons; i++) {
    if (!wanted[i]) continue;
    l->buttons[i] = {right - width, top, right, top + height};
    right -= width + (i == kClose ? inset : 0);
  }
}

}  // namespace

Box Insets(const Window& w, const Sizes& s) {
  int border = (w.maximised || w.minimised) ? 0 : Scale(s.border, s.dpi);
  return {border, border + Scale(s.caption, s.dpi) + s.bar, border, border};
}

Layout Lay(const Window& w, const Sizes& s, int icon_size) {
  Layout l;
  l.border = (w.maximised || w.minimised) ? 0 : Scale(s.border, s.dpi);
  int b = l.border;
  int caption_bottom = std::min(b + Scale(s.caption, s.dpi), w.height - b);
  l.caption = {b, b, w.width - b, caption_bottom};
  int top = caption_bottom;
  if (!w.minimised && s.bar > 0) {
    l.bar = {b, top, w.width - b, std::min(top + s.bar, w.height - b)};
    top = l.bar.bottom;
  }
  l.client = {b, top, w.width - b, std::max(top, w.height - b)};
  PlaceButtons(w, s.dpi, &l);
  int icon_top = l.caption.top + (l.caption.bottom - l.caption.top - icon_size) / 2;
  int icon_left = l.caption.left + Scale(kIconInset, s.dpi);
  l.icon = {icon_left, icon_top, icon_left + icon_size, icon_top + icon_size};
  return l;
}

Edge EdgeAt(const Window& w, const Layout& l, int x, int y, int dpi) {
  if (!w.sizable || w.maximised || w.minimised || l.border <= 0) return kNoEdge;
  int b = l.border, corner = Scale(kCornerReach, dpi);
  bool left = x < b, right = x >= w.width - b;
  bool top = y < b, bottom = y >= w.height - b;
  if (!left && !right && !top && !bottom) return kNoEdge;
  if (top || bottom) {
    left = x < corner;
    right = x >= w.width - corner;
  } else {
    top = y < corner;
    bottom = y >= w.height - corner;
  }
  if (top) return left ? kTopLeft : right ? kTopRight : kTop;
  if (bottom) return left ? kBottomLeft : right ? kBottomRight : kBottom;
  return left ? kLeft : kRight;
}

Box MaximisedBox(const Box& work, const Box& monitor, const AutoHide& autohide) {
  Box r = work;
  if (autohide.left && r.left == monitor.left) r.left += kRevealStrip;
  if (autohide.top && r.top == monitor.top) r.top += kRevealStrip;
  if (autohide.right && r.right == monitor.right) r.right -= kRevealStrip;
  if (autohide.bottom && r.bottom == monitor.bottom) r.bottom -= kRevealStrip;
  return r;
}

}  // namespace skin::frame
