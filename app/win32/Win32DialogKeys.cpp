#include "app/win32/Win32DialogKeys.h"

namespace velmora {

namespace {

bool KeyDown(int key) { return (::GetKeyState(key) & 0x8000) != 0; }

bool IsPushButton(HWND hwnd) {
  const LRESULT code = ::SendMessageW(hwnd, WM_GETDLGCODE, 0, 0);
  return (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0;
}

}  // namespace

bool TDialogKeys::IsOwnWindow(HWND hwnd) const { return hwnd == FWindow || ::IsChild(FWindow, hwnd); }

bool TDialogKeys::PreTranslate(const MSG& msg) {
  if (!IsOwnWindow(msg.hwnd)) return false;  // a box, a dialog or the date picker's calendar
  if (msg.message == WM_KEYDOWN && msg.wParam == VK_TAB && !KeyDown(VK_CONTROL) && !KeyDown(VK_MENU)) {
    NextTabStop(KeyDown(VK_SHIFT));
    return true;
  }
  return (msg.message == WM_KEYDOWN || msg.message == WM_CHAR) && msg.wParam == VK_ESCAPE;
}

void TDialogKeys::NextTabStop(bool previous) {
  HWND focus = ::GetFocus();
  // A part of a control (a child of a child) counts as that control.
  while (focus && focus != FWindow && ::GetParent(focus) != FWindow) focus = ::GetParent(focus);
  if (focus == FWindow) focus = nullptr;
  HWND next = ::GetNextDlgTabItem(FWindow, focus, previous);
  if (!next) return;
  const bool multiLine = (::GetWindowLongW(next, GWL_STYLE) & ES_MULTILINE) != 0;
  // As dialogs do, but not in the multi-line boxes, where the next key would replace it all.
  if ((::SendMessageW(next, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) && !multiLine)
    ::SendMessageW(next, EM_SETSEL, 0, -1);
  ::SetFocus(next);
  FollowFocus();
}

void TDialogKeys::FollowFocus() {
  HWND focus = ::GetFocus();
  if (FFollowed && focus == FLastFocus) return;
  FFollowed = true;
  FLastFocus = focus;
  const HWND framed = focus && ::GetParent(focus) == FWindow && IsPushButton(focus) ? focus : FDefaultButton;
  for (HWND child = ::GetWindow(FWindow, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    if (!IsPushButton(child)) continue;
    const LRESULT code = ::SendMessageW(child, WM_GETDLGCODE, 0, 0);
    const bool isDefault = (code & DLGC_DEFPUSHBUTTON) != 0;
    if (isDefault != (child == framed))
      ::SendMessageW(child, BM_SETSTYLE, child == framed ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
  }
}

}  // namespace velmora
