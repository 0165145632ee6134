// A form: one top-level window with the life cycle the program is written
// against. The object can exist without its window; the first use of the
// window loads the form (EnsureLoaded): it creates the window and its
// controls and runs Form_Load to completion before returning. Measures are
// twips held as 32-bit floats.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <memory>
#include <string>

#include "toolkit/font.h"

namespace toolkit {

// The window class of every form; tools outside the program (the benchmark,
// tests) find its windows by it.
inline constexpr wchar_t kFormClass[] = L"MorvantaForm";

class Control;

struct FormLook {
  std::wstring caption;
  DWORD style = WS_OVERLAPPEDWINDOW;
  DWORD exStyle = 0;
  float clientWidth = 4680;  // twips, when the window is created
  float clientHeight = 3195;
  int iconId = 0;             // icon resource of the program, 0 for none
  bool centerOnShow = false;  // placed in the centre of the screen when shown
  bool noTaskbarButton = false;
  bool dialogKeys = false;  // Tab and arrow keys move between controls
};

class Form {
 public:
  virtual ~Form();
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  // Runs once, right after the object is created (see CreateForm).
  virtual void Form_Initialize() {}

  // Loads the form unless its window exists: creates the window and its
  // controls, then runs Form_Load. Every accessor below calls it first, so
  // whichever is used first loads the form.
  void EnsureLoaded();
  bool IsLoaded() const { return hwnd_ != nullptr; }

  // The window.
  HWND Hwnd();

  // 0 normal, 1 minimised, 2 maximised.
  int WindowState();
  // Outer size and position of the whole window.
  float Width();
  float Height();
  void SetWidth(float twips);
  void SetHeight(float twips);
  float Left();
  float Top();
  void Move(float left, float top);
  // Place and outer size in one window call.
  void Move(float left, float top, float width, float height);
  // The client area.
  float ScaleWidth();
  float ScaleHeight();

  // Shows the window modeless and without an owner form.
  void Show();
  // Keeps the window above every window that is not kept on top, or lets
  // it back among those; either way it goes to the top of its side,
  // without being activated.
  void SetTopMost(bool on);
  // Runs Form_Unload and destroys the window; the object stays.
  void Unload();

 protected:
  explicit Form(FormLook look);

  // The menu bar, if the form has one; called before the window exists.
  virtual HMENU CreateMenuBar() { return nullptr; }
  // The window exists; its controls are made here, before Form_Load.
  virtual void CreateControls() {}
  virtual void Form_Load() {}
  virtual void Form_Resize() {}
  virtual void Form_Unload() {}
  // WM_COMMAND from a menu item or a control; true when handled.
  virtual bool OnCommand(WORD /*id*/, WORD /*code*/, HWND /*control*/) { return false; }
  // Any other message; true when handled, with *result set.
  virtual bool OnMessage(UINT /*msg*/, WPARAM, LPARAM, LRESULT* /*result*/) { return false; }
  // A key message for this form or one of its controls, before it is
  // dispatched; true when the form has handled it.
  virtual bool TranslateKey(MSG* /*msg*/) { return false; }

  // The window handle without loading the form.
  HWND RawHwnd() const { return hwnd_; }

  // Gives the controls a font that the form keeps until its window and
  // theirs are gone.
  void UseFont(Font font, std::initializer_list<Control*> controls);

 private:
  friend bool TranslateFormKeys(MSG* msg);
  static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
  void Load();
  RECT WindowRect();
  RECT ClientRect();
  void MoveFocusOnActivate(WPARAM wp);

  FormLook look_;
  HWND hwnd_ = nullptr;
  bool loaded_ = false;   // Form_Load has run to completion
  HWND focus_ = nullptr;  // the control that had the focus when the form was left
  Font font_;             // the controls' font, if not the default one
};

// Creates a form object and runs its Form_Initialize.
template <typename T>
std::unique_ptr<T> CreateForm() {
  std::unique_ptr<T> form(new T());
  form->Form_Initialize();
  return form;
}

// Deletes a form once the event that asked for it has finished: a form may
// discard itself from its own handlers.
void DeleteLater(std::unique_ptr<Form> form);
void DeleteDiscardedForms();

// The global reference to a form of which the program has at most one:
// using it while it is empty creates a new object (without its window);
// Reset empties it.
template <typename T>
class AutoForm {
 public:
  T* operator->() { return &Get(); }
  T& Get() {
    if (!form_) form_ = CreateForm<T>();
    return *form_;
  }
  bool IsEmpty() const { return !form_; }
  void Reset() {
    if (form_) DeleteLater(std::move(form_));
  }

 private:
  std::unique_ptr<T> form_;
};

// Gives the form that a key message is for the first look at it: its own
// TranslateKey, then Tab and arrow keys between its controls when it has
// dialogKeys. True when the message needs no dispatching.
bool TranslateFormKeys(MSG* msg);

// Number of forms whose window exists; the event loop ends at zero.
int LoadedFormCount();

}  // namespace toolkit
