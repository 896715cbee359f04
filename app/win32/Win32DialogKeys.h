// The keyboard of a dialog box for a plain top-level window, which the system's
// dialog manager only half serves: Tab and Shift+Tab move through the tab stops in
// their order (out of multi-line edits too, which would keep Tab for themselves), Esc
// closes nothing (a multi-line edit would otherwise post WM_CLOSE to its parent), and
// the default-button frame follows the focused push button, returning to the window's
// default button when the focus is anywhere else.
#pragma once

#include <windows.h>

namespace velmora {

class TDialogKeys {
 public:
  // window: the top-level window; defaultButton: the button Enter runs by default.
  TDialogKeys(HWND window, HWND defaultButton) : FWindow(window), FDefaultButton(defaultButton) {}

  // To be called for every message before IsDialogMessageW; true when the message
  // was handled here and must not be dispatched.
  bool PreTranslate(const MSG& msg);
  // Moves the focus to the next tab stop (the previous one when previous is set), as
  // WM_NEXTDLGCTL asks; a single-line edit reached this way has its text selected.
  void NextTabStop(bool previous);
  // Moves the default-button frame when the focus has changed since the last call;
  // to be called after every message the window's loop handled.
  void FollowFocus();

 private:
  bool IsOwnWindow(HWND hwnd) const;
  HWND FWindow;
  HWND FDefaultButton;
  HWND FLastFocus = nullptr;
  bool FFollowed = false;
};

}  // namespace velmora
