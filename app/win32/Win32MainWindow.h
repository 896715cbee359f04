// The real main window: creates the controls of Win32Layout.h, implements IMainView
// on them and forwards their events to TFormMain. No exception leaves a window
// procedure.
#pragma once

#include <windows.h>

#include <memory>

#include "app/MainForm.h"
#include "app/MainView.h"
#include "app/win32/Win32DialogKeys.h"
#include "platform/win32/Win32Handles.h"

namespace velmora {

// A UTF-16 string as the W functions take it.
inline const wchar_t* Wide(const std::u16string& s) { return reinterpret_cast<const wchar_t*>(s.c_str()); }

class TWin32MainWindow : public IMainView {
 public:
  TWin32MainWindow(HINSTANCE instance, Platform& platform);
  ~TWin32MainWindow() override;
  TWin32MainWindow(const TWin32MainWindow&) = delete;
  TWin32MainWindow& operator=(const TWin32MainWindow&) = delete;

  // Creates the window (running FormCreate), shows it (running FormShow) and runs the
  // message loop until the window is closed. Returns the exit code.
  int Run(int showCommand);

  // IMainView
  void SetCaption(const std::u16string& text) override;
  TNativeWindow NativeWindow() override { return FWindow; }
  std::u16string Text(TControl control) override;
  void SetText(TControl control, const std::u16string& text) override;
  void SetEnabled(TControl control, bool enabled) override;
  bool Enabled(TControl control) override;
  bool Checked(TControl control) override;
  void SetChecked(TControl control, bool checked) override;
  void Focus(TControl control) override;
  std::optional<TControl> FocusedControl() override;
  int Caret(TControl control) override;
  void SetCaret(TControl control, int position) override;
  TDate PickerDate() override;
  void SetPickerDate(const TDate& date) override;
  void SetBusyCursor(bool busy) override;
  TMessageResult ShowMessage(TMessageKind kind, const std::u16string& text) override;
  std::optional<std::u16string> PickFolder(const std::u16string& initialFolder) override;
  int ShowUpdateDialog(const std::u16string& caption, const std::u16string& instruction,
                       const std::u16string& content) override;
  void CreateUpdateTimer(int intervalMs) override;
  void SetUpdateTimerEnabled(bool enabled) override;

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void CreateControls();
  void ApplyLayout();
  void OnCommand(int id, int code);
  HWND Control(TControl control) const;
  int Scale(int value) const;

  HINSTANCE FInstance;
  Platform& FPlatform;
  std::unique_ptr<TFormMain> FForm;
  HWND FWindow = nullptr;
  HWND FControls[32] = {};
  TFont FFont;
  TIcon FIconLarge;
  TIcon FIconSmall;
  std::unique_ptr<TDialogKeys> FKeys;
  HBRUSH FFaceBrush = nullptr;
  UINT FDpi = 96;
  bool FBusy = false;
  int FTimerInterval = 200;
};

}  // namespace velmora
