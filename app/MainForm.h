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
inline constexpr char16_t ErrorPrefix[] = u"Ошибка: ";
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
  void SetStatus(const std::u16string& text);
  static TDate DefaultWeekStart(const TDate& today);
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
  // The frame of the astro and jokes commands after the weekday question.
  void RunGenerateCommand(TControl button, const std::u16string& runningStatus, const std::u16string& note,
                          const std::function<std::u16string()>& generate);
  void LoadFileView(const std::u16string& path);
  bool ConfirmNonMonday(const TDate& week);
  void RecordUpdateAttempt();
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
};

}  // namespace velmora
