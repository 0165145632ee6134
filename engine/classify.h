// Which kind of window the engine sees, decided in one place from the
// window's class and styles, once, when the engine first meets it.
#pragma once

#include <windows.h>

namespace dulib {

enum class Kind {
  None,        // nothing the engine draws (another library's control, ...)
  Framed,      // a top-level window with a caption: frame, menu bar, surface
  Surface,     // a dialog or the program's own window: background, colours its controls
  MenuPopup,   // the window of a drop-down menu (class "#32768")
  PushButton,  // push buttons and push-like check boxes and radio buttons
  CheckBox,
  RadioButton,
  GroupBox,
  List,          // a list box whose items the engine can draw
  ScrolledEdit,  // a multi-line edit box with a vertical scroll bar
  Edit,          // a one-line edit box
  Label,         // a static control showing text
};

struct WindowClass {
  Kind kind = Kind::None;
  bool classic = false;    // check box, radio button or frame: drawn without a visual style
  bool flat_edge = false;  // edit or list box with a client edge: a flat border instead
};

// `in_skinned` says whether the window's parent is one the engine follows:
// only then are the system's controls in it the engine's to draw.
WindowClass Classify(HWND hwnd, LONG style, LONG ex_style, bool in_skinned);

bool IsClass(HWND hwnd, const wchar_t* name);

// The kind the engine gives a button of this style, or None for those it
// leaves to the program (owner-drawn, pictures, split buttons, links).
Kind ButtonKind(LONG style);

}  // namespace dulib
