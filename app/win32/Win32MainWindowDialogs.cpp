// The boxes and dialogs of the main window: message boxes, the folder dialog and the
// update task dialog, each owned by the window and modal to it.
// windows.h (through Win32MainWindow.h) must come before commctrl.h.
#include "app/win32/Win32MainWindow.h"

#include <commctrl.h>
#include <shobjidl.h>

namespace velmora {

TMessageResult TWin32MainWindow::ShowMessage(TMessageKind kind, const std::u16string& text) {
  // The standard caption of each kind, in the interface's language; owned by the
  // window, so the box is modal to it.
  UINT flags = MB_OK;
  const wchar_t* caption = L"";
  switch (kind) {
    case TMessageKind::Warning: flags = MB_OK | MB_ICONWARNING, caption = L"Предупреждение"; break;
    case TMessageKind::Information: flags = MB_OK | MB_ICONINFORMATION, caption = L"Информация"; break;
    case TMessageKind::Error: flags = MB_OK | MB_ICONERROR, caption = L"Ошибка"; break;
    case TMessageKind::Question: flags = MB_YESNO | MB_ICONQUESTION, caption = L"Подтверждение"; break;
  }
  const int r = ::MessageBoxW(FWindow, Wide(text), caption, flags | MB_APPLMODAL);
  return r == IDYES ? TMessageResult::Yes : r == IDNO ? TMessageResult::No : TMessageResult::Ok;
}

std::optional<std::u16string> TWin32MainWindow::PickFolder(const std::u16string& initialFolder) {
  TComPtr<IFileOpenDialog> dialog;
  if (FAILED(::CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER, IID_IFileOpenDialog,
                                reinterpret_cast<void**>(dialog.Out()))))
    return std::nullopt;
  FILEOPENDIALOGOPTIONS options = 0;
  dialog->GetOptions(&options);
  dialog->SetOptions(options | FOS_PICKFOLDERS | FOS_PATHMUSTEXIST);
  TComPtr<IShellItem> start;
  if (!initialFolder.empty() && SUCCEEDED(::SHCreateItemFromParsingName(Wide(initialFolder), nullptr, IID_IShellItem,
                                                                        reinterpret_cast<void**>(start.Out()))))
    dialog->SetFolder(start.Get());
  if (FAILED(dialog->Show(FWindow))) return std::nullopt;
  TComPtr<IShellItem> result;
  if (FAILED(dialog->GetResult(result.Out()))) return std::nullopt;
  TCoTaskString path;
  if (FAILED(result->GetDisplayName(SIGDN_FILESYSPATH, path.Out())) || !path.Get()) return std::nullopt;
  return std::u16string(reinterpret_cast<const char16_t*>(path.Get()));
}

int TWin32MainWindow::ShowUpdateDialog(const std::u16string& caption, const std::u16string& instruction,
                                       const std::u16string& content) {
  const TASKDIALOG_BUTTON buttons[] = {{6, L"Скачать"}, {2, L"Позже"}};
  TASKDIALOGCONFIG config{};
  config.cbSize = sizeof config;
  config.hwndParent = FWindow;
  config.hInstance = FInstance;
  config.dwFlags = TDF_ALLOW_DIALOG_CANCELLATION;
  config.pszWindowTitle = Wide(caption);
  config.pszMainIcon = TD_INFORMATION_ICON;
  config.pszMainInstruction = Wide(instruction);
  config.pszContent = Wide(content);
  config.cButtons = 2;
  config.pButtons = buttons;
  config.nDefaultButton = 2;
  int result = 0;
  if (FAILED(::TaskDialogIndirect(&config, &result, nullptr, nullptr))) return 0;
  return result;
}

}  // namespace velmora
