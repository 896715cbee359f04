// The program entry: common controls, COM for the folder dialog, the main window.
#include <windows.h>
// After windows.h:
#include <commctrl.h>
#include <objbase.h>

#include "app/win32/Win32MainWindow.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_DATE_CLASSES | ICC_STANDARD_CLASSES};
  ::InitCommonControlsEx(&icc);
  // Ends after the window and the platform: the folder dialog's COM objects are gone by then.
  const velmora::TComInit com(COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  int code = 1;
  try {
    auto platform = velmora::MakeSystemPlatform();
    velmora::TWin32MainWindow window(instance, *platform);
    code = window.Run(showCommand);
  } catch (...) {
    ::MessageBoxW(nullptr, L"Не удалось запустить программу.", L"Ошибка", MB_OK | MB_ICONERROR);
  }
  return code;
}
