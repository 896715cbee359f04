// TFormMain: the logic of the main window (presets, the three generate commands, the
// folder choice, the joke-count filter, the site link and the update check), written
// against IMainView so that every command is tested without a real window.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "app/MainView.h"
#include "platform/Platform.h"
#include "update/UpdateWorker.h"

namespace velmora {

// The generator entries the commands call; the defaults are the real generators.
struct TGenerators {
  std::function<std::u16string(const std::u16string& folder, const TDate& week)> Folk;
  std::function<std::u16string(const std::u16string& folder, const TDate& week)> Astro;
  std::function<std::u16string(const std::u16string& folder, int count, const TDate& week)> Jokes;
};
TGenerators RealGenerators(Platform& platform);

inline constexpr char16_t SuccessPrefix[] = u"Готово.\r\nФайл создан:\r\n";
inline constexpr char16_t StartPrompt[] = u"Выберите дату понедельника и нужное действие.";

class TFormMain {
 public:
  using TWorkerFactory = std::function<std::unique_ptr<TUpdateWorker>()>;

  TFormMain(IMainView& view, Platform& platform, TGenerators generators, TWorkerFactory makeWorker);
  ~TFormMain();

  // Window events.
  void FormCreate();
  void FormShow();
  void FormDestroy();
  // The keyboard focus: the focused control is remembered when the window is
  // deactivated and given back when it is activated (at the first activation: the
  // date picker), since the system would leave it on the window itself.
  void FormActivate();
  void FormDeactivate();
  void SetStatus(const std::u16string& text);
  std::u16string DefaultOutputFolder();
  void LinkClick(TControl sender);

  // Commands.
  void ButtonGenerateFolkClick();
  void ButtonBrowseClick();
  void ButtonGenerateClick();
  void ButtonGenerateJokesClick();
  void EditJokeCountChange();

  // Update check.
  void ButtonCheckUpdatesClick();
  void CheckAutoUpdatesClick();
  void StartUpdateCheck(bool manual);
  void UpdateTimerTick();

  bool CheckOutstanding() const { return FUpdateWorker != nullptr; }

 private:
  // The busy state of a command from construction to destruction: its button
  // disabled and the hourglass on. Whatever ends the command (a return, any
  // exception, a box that fails), the destructor restores the cursor, enables the
  // button and gives the focus back to where it was when the command began.
  class TBusyFrame {
   public:
    TBusyFrame(TFormMain& form, TControl button);
    ~TBusyFrame();
    TBusyFrame(const TBusyFrame&) = delete;
    TBusyFrame& operator=(const TBusyFrame&) = delete;

   private:
    TFormMain& FForm;
    TControl FButton;
  };

  // Boxes and dialogs take the keyboard focus while they are open; these give it
  // back to the control that had it before (unless it is disabled by then).
  TMessageResult ShowBox(TMessageKind kind, const std::u16string& text);
  void RememberFocus();
  void RestoreFocus();
  void MoveFocus(TControl control);

  // The frame of the astro and jokes commands after the weekday question.
  void RunGenerateCommand(TControl button, const std::u16string& runningStatus, const std::u16string& note,
                          const std::function<std::u16string()>& generate);
  void LoadFileView(const std::u16string& path);
  bool ConfirmNonMonday(const TDate& week);
  void RecordUpdateAttempt();
  void SetCheckButtonIdle();
  void PresentUpdateResult(TUpdateWorker& worker);

  IMainView& FView;
  Platform& FPlatform;
  TGenerators FGenerators;
  TWorkerFactory FMakeWorker;

  std::unique_ptr<TUpdateWorker> FUpdateWorker;
  bool FUpdateTimer = false;  // created at the first showing
  std::u16string FSettingsFile;
  bool FManualCheck = false;
  bool FShown = false;
  TControl FFocusedControl = TControl::DatePicker;
};

}  // namespace velmora
