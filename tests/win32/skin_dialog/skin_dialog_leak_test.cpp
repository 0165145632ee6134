// Opening and closing the dialog again and again keeps nothing: not the
// dialog object, not its font, no window, and no more memory than Wine's
// own label controls keep.
#include "skin_dialog_support.h"
#include "toolkit/app.h"

using namespace wine_test;

namespace skin_dialog_test {
namespace {

// Bytes in use in every heap of the process.
size_t HeapBytesInUse() {
  HANDLE heaps[64];
  const DWORD count = GetProcessHeaps(64, heaps);
  size_t bytes = 0;
  for (DWORD i = 0; i < count && i < 64; ++i) {
    if (!HeapLock(heaps[i])) continue;
    PROCESS_HEAP_ENTRY entry = {};
    while (HeapWalk(heaps[i], &entry))
      if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) bytes += entry.cbData;
    HeapUnlock(heaps[i]);
  }
  return bytes;
}

BOOL CALLBACK CountWindow(HWND, LPARAM count) {
  ++*reinterpret_cast<int*>(count);
  return TRUE;
}

int ThreadWindows() {
  int count = 0;
  EnumThreadWindows(GetCurrentThreadId(), CountWindow, reinterpret_cast<LPARAM>(&count));
  return count;
}

// One open and close, by the close box, as a user does; returns the font
// the dialog gave its controls.
HFONT OpenAndClose() {
  frmSkin->Show();
  toolkit::DoEvents();
  const auto font = reinterpret_cast<HFONT>(SendMessageW(frmSkin->Label1.Hwnd(), WM_GETFONT, 0, 0));
  SendMessageW(frmSkin->Hwnd(), WM_CLOSE, 0, 0);
  toolkit::DoEvents();
  return font;
}

TEST_F(SkinDialogTest, OpeningAndClosingKeepsNothing) {
  AddSkins({L"Blue.she", L"Red.she"});
  // The first openings load what stays for the life of the process (the
  // controls' classes, the hidden owner window, the fonts' caches).
  for (int i = 0; i < 20; ++i) OpenAndClose();
  const int windows = ThreadWindows();
  const size_t before = HeapBytesInUse();

  constexpr int kCycles = 200;
  for (int i = 0; i < kCycles; ++i) {
    const HFONT font = OpenAndClose();
    ASSERT_TRUE(frmSkin.IsEmpty());
    ASSERT_NE(nullptr, font);
    // The dialog's own font went with it.
    ASSERT_EQ(0u, GetObjectType(font)) << "cycle " << i;
  }
  EXPECT_EQ(windows, ThreadWindows());
  // Wine's comctl32 keeps 12 bytes for each text label that was given a
  // font (it frees that record only for icon labels): 4 labels, 48 bytes a
  // cycle. Anything of ours (the dialog object is far larger, a caption or
  // a list item 20 bytes or more) goes over the bound.
  const double perCycle = (static_cast<double>(HeapBytesInUse()) - before) / kCycles;
  EXPECT_LE(perCycle, 64.0) << "bytes kept per open and close";
}

}  // namespace
}  // namespace skin_dialog_test
