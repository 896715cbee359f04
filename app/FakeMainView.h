// A view for tests: keeps control state in memory, answers dialogs from a script and
// records every visible step in order. The keyboard focus behaves as the system's
// does: a disabled control cannot take it and loses it, and a box or dialog takes it
// away from the window's controls while it is open.
#pragma once

#include <deque>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/MainView.h"
#include "base/Utf.h"

namespace velmora::testing {

class FakeMainView : public IMainView {
 public:
  std::map<TControl, std::u16string> Texts;
  std::map<TControl, bool> EnabledState;
  std::map<TControl, bool> CheckedState;
  std::map<TControl, int> Carets;
  std::u16string Caption;
  TDate Date{2026, 1, 5};
  bool Busy = false;
  std::optional<TControl> Focused;
  bool BoxesFail = false;                      // every message box throws instead of opening
  std::vector<std::string> Log;                // "status ...", "box Information Готово!", "busy 1", ...
  std::deque<TMessageResult> Answers;          // for question boxes; default No
  std::optional<std::u16string> PickedFolder;  // folder dialog result
  std::u16string FolderDialogStart;
  int UpdateDialogResult = 2;
  std::u16string UpdateDialogText;  // caption | instruction | content
  bool TimerEnabled = false;

  void SetCaption(const std::u16string& text) override { Caption = text; }
  TNativeWindow NativeWindow() override { return this; }
  std::u16string Text(TControl c) override { return Texts[c]; }
  void SetText(TControl c, const std::u16string& text) override {
    Texts[c] = text;
    if (c == TControl::MemoStatus) Log.push_back("status " + Utf16ToUtf8(text));
    if (c == TControl::Memo1) Log.push_back("memo " + std::to_string(text.size()));
    if (c == TControl::ButtonCheckUpdates) Log.push_back("caption " + Utf16ToUtf8(text));
  }
  void SetEnabled(TControl c, bool enabled) override {
    EnabledState[c] = enabled;
    if (!enabled && Focused == c) Focused.reset();
    Log.push_back(std::string(enabled ? "enable " : "disable ") + std::to_string(static_cast<int>(c)));
  }
  bool Enabled(TControl c) override { return EnabledState.count(c) ? EnabledState[c] : true; }
  bool IsEnabled(TControl c) { return Enabled(c); }
  bool Checked(TControl c) override { return CheckedState[c]; }
  void SetChecked(TControl c, bool checked) override { CheckedState[c] = checked; }
  void Focus(TControl c) override {
    if (!Enabled(c)) return;
    Focused = c;
    Log.push_back("focus " + std::to_string(static_cast<int>(c)));
  }
  std::optional<TControl> FocusedControl() override { return Focused; }
  int Caret(TControl c) override { return Carets[c]; }
  void SetCaret(TControl c, int position) override { Carets[c] = position; }
  TDate PickerDate() override { return Date; }
  void SetPickerDate(const TDate& date) override { Date = date; }
  void SetBusyCursor(bool busy) override {
    Busy = busy;
    Log.push_back(busy ? "busy 1" : "busy 0");
  }
  TMessageResult ShowMessage(TMessageKind kind, const std::u16string& text) override {
    static const char* kinds[] = {"Warning", "Information", "Error", "Question"};
    if (BoxesFail) throw std::runtime_error("the box could not be shown");
    Log.push_back(std::string("box ") + kinds[static_cast<int>(kind)] + (Busy ? " busy " : " ") + Utf16ToUtf8(text));
    Focused.reset();
    if (kind != TMessageKind::Question) return TMessageResult::Ok;
    if (Answers.empty()) return TMessageResult::No;
    TMessageResult r = Answers.front();
    Answers.pop_front();
    return r;
  }
  std::optional<std::u16string> PickFolder(const std::u16string& initialFolder) override {
    FolderDialogStart = initialFolder;
    Focused.reset();
    return PickedFolder;
  }
  int ShowUpdateDialog(const std::u16string& caption, const std::u16string& instruction,
                       const std::u16string& content) override {
    UpdateDialogText = caption + u"|" + instruction + u"|" + content;
    Log.push_back("dialog " + Utf16ToUtf8(instruction) + " button " +
                  (IsEnabled(TControl::ButtonCheckUpdates) ? "enabled" : "disabled"));
    Focused.reset();
    return UpdateDialogResult;
  }
  void CreateUpdateTimer(int intervalMs) override { Log.push_back("timer created " + std::to_string(intervalMs)); }
  void SetUpdateTimerEnabled(bool enabled) override { TimerEnabled = enabled; }

  // The log entries that start with prefix, in order.
  std::vector<std::string> Entries(const std::string& prefix) const {
    std::vector<std::string> out;
    for (const auto& e : Log)
      if (e.rfind(prefix, 0) == 0) out.push_back(e);
    return out;
  }
};

}  // namespace velmora::testing
