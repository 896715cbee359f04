// The view interface of the main window. TFormMain holds all of the window's logic
// and talks only to this interface; the Win32 window implements it by creating the
// controls and forwarding their events, and the tests implement it with a fake.
#pragma once

#include <optional>
#include <string>

#include "platform/Platform.h"
#include "support/Dates.h"

namespace velmora {

// The controls TFormMain reads or changes, by their names in the window.
enum class TControl {
  LabelDate,
  DatePicker,
  LabelOutput,
  EditOutput,
  ButtonBrowse,
  ButtonGenerate,
  LabelJokeCount,
  EditJokeCount,
  ButtonGenerateJokes,
  ButtonGenerateFolk,
  MemoStatus,
  LabelCopyright,
  LabelAuthor,
  LabelSites,
  Label1,
  ButtonCheckUpdates,
  CheckAutoUpdates,
  Memo1,
};

enum class TMessageKind { Warning, Information, Error, Question };
// Warning, information and error boxes have an OK button; a question has Yes and No.
enum class TMessageResult { Ok, Yes, No };

class IMainView {
 public:
  virtual ~IMainView() = default;

  virtual void SetCaption(const std::u16string& text) = 0;
  // The window itself, as the owner of what the shell opens for it.
  virtual TNativeWindow NativeWindow() = 0;
  virtual std::u16string Text(TControl control) = 0;
  virtual void SetText(TControl control, const std::u16string& text) = 0;
  // Disabling the control that has the keyboard focus leaves the focus on none.
  virtual void SetEnabled(TControl control, bool enabled) = 0;
  virtual bool Enabled(TControl control) = 0;
  virtual bool Checked(TControl control) = 0;
  virtual void SetChecked(TControl control, bool checked) = 0;
  // Gives the control the keyboard focus while the window is active; an inactive
  // window takes it from TFormMain when it is activated again.
  virtual void Focus(TControl control) = 0;
  // The control that has the keyboard focus; nullopt when none of them has it.
  virtual std::optional<TControl> FocusedControl() = 0;
  // Caret (selection start) of an edit field, in UTF-16 units.
  virtual int Caret(TControl control) = 0;
  virtual void SetCaret(TControl control, int position) = 0;

  // The date picker's date (whole days).
  virtual TDate PickerDate() = 0;
  virtual void SetPickerDate(const TDate& date) = 0;

  // The application-wide hourglass cursor on or off.
  virtual void SetBusyCursor(bool busy) = 0;
  // A message box of the kind, modal to the window, with the standard caption and
  // icon of its kind. While it is open the keyboard focus is in the box.
  virtual TMessageResult ShowMessage(TMessageKind kind, const std::u16string& text) = 0;
  // The folder-picking dialog starting at initialFolder; nullopt when cancelled.
  virtual std::optional<std::u16string> PickFolder(const std::u16string& initialFolder) = 0;
  // The update task dialog: information icon, custom buttons "Скачать" (6) and
  // "Позже" (2, default, also Esc and the close box). Returns the result, or 0 when
  // the dialog could not be shown.
  virtual int ShowUpdateDialog(const std::u16string& caption, const std::u16string& instruction,
                               const std::u16string& content) = 0;

  // The polling timer of the update check (200 ms): created once, then switched.
  virtual void CreateUpdateTimer(int intervalMs) = 0;
  virtual void SetUpdateTimerEnabled(bool enabled) = 0;
};

}  // namespace velmora
