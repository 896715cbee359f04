// The window's side of the update check: the first showing, starting a check,
// collecting the finished worker and presenting its result, and closing during a check.
#include "app/MainForm.h"
#include "base/Error.h"
#include "update/Settings.h"
#include "update/UpdateMessages.h"
#include "update/Version.h"

namespace velmora {

namespace {
constexpr char16_t kCheckIdle[] = u"Проверить обновления";
constexpr char16_t kCheckRunning[] = u"Проверка...";
constexpr int kTimerIntervalMs = 200;
constexpr int kDownloadResult = 6;
}  // namespace

void TFormMain::FormShow() {
  if (FShown) return;
  FShown = true;
  FView.CreateUpdateTimer(kTimerIntervalMs);
  FUpdateTimer = true;
  bool settingsRead = false;
  try {
    FSettingsFile = GetUpdateSettingsPath(FPlatform);
    const TUpdateSettings settings = LoadUpdateSettings(FPlatform, FSettingsFile);
    settingsRead = true;
    FView.SetChecked(TControl::CheckAutoUpdates, settings.Automatic);
    const std::int64_t now = FPlatform.NowUnixUtc();
    if (FView.Checked(TControl::CheckAutoUpdates) && IsAutomaticCheckDue(settings.LastAttempt, now))
      StartUpdateCheck(false);
  } catch (const std::exception&) {
    // Automatic checks are off for this run; manual ones still work, and still record
    // their attempts unless it was the settings that could not be read.
    if (!settingsRead) FSettingsFile.clear();
    FView.SetChecked(TControl::CheckAutoUpdates, false);
    FView.SetEnabled(TControl::CheckAutoUpdates, false);
  }
}

void TFormMain::RecordUpdateAttempt() {
  if (!FSettingsFile.empty()) WriteLastAttempt(FPlatform, FSettingsFile, FPlatform.NowUnixUtc());
}

void TFormMain::CheckAutoUpdatesClick() {
  if (FSettingsFile.empty()) return;
  try {
    WriteAutomatic(FPlatform, FSettingsFile, FView.Checked(TControl::CheckAutoUpdates));
  } catch (const std::exception& e) {
    ShowBox(TMessageKind::Warning, u"Не удалось сохранить настройку: " + MessageOf(e));
  }
}

void TFormMain::ButtonCheckUpdatesClick() { StartUpdateCheck(true); }

void TFormMain::StartUpdateCheck(bool manual) {
  if (FUpdateWorker) return;
  try {
    RecordUpdateAttempt();
  } catch (const std::exception&) {
    if (!manual) return;
  }
  FManualCheck = manual;
  RememberFocus();
  try {
    FUpdateWorker = FMakeWorker();
    FView.SetEnabled(TControl::ButtonCheckUpdates, false);
    FView.SetText(TControl::ButtonCheckUpdates, kCheckRunning);
    FUpdateWorker->Start();
  } catch (const std::exception& e) {
    // No thread to wait for: the button is idle again, and a manual check says why.
    FUpdateWorker.reset();
    SetCheckButtonIdle();
    if (manual) ShowBox(TMessageKind::Warning, CheckFailedPrefix + MessageOf(e));
    return;
  }
  FView.SetUpdateTimerEnabled(true);
}

void TFormMain::SetCheckButtonIdle() {
  FView.SetEnabled(TControl::ButtonCheckUpdates, true);
  FView.SetText(TControl::ButtonCheckUpdates, kCheckIdle);
  // Disabling the button took the focus from it if it had it; it comes back now.
  if (!FView.FocusedControl()) RestoreFocus();
}

void TFormMain::UpdateTimerTick() {
  if (!FUpdateWorker || !FUpdateWorker->Finished()) return;
  FView.SetUpdateTimerEnabled(false);
  std::unique_ptr<TUpdateWorker> worker = std::move(FUpdateWorker);
  SetCheckButtonIdle();
  try {
    PresentUpdateResult(*worker);
  } catch (const std::exception&) {
    // A dialog that fails to open ends the presentation; the worker is freed below.
  }
}

void TFormMain::PresentUpdateResult(TUpdateWorker& worker) {
  if (!worker.ErrorText.empty()) {
    if (FManualCheck) ShowBox(TMessageKind::Warning, CheckFailedPrefix + worker.ErrorText);
    return;
  }
  if (CompareVersions(worker.Version, CurrentVersion) > 0) {
    RememberFocus();
    const int result = FView.ShowUpdateDialog(UpdateDialogCaption, UpdateOfferInstruction(worker.Version),
                                              worker.Description + UpdateDialogNotes);
    RestoreFocus();
    if (result == kDownloadResult && !FPlatform.OpenUrl(worker.DownloadURL, FView.NativeWindow()))
      ShowBox(TMessageKind::Warning, BrowserFailedPrefix + std::u16string(ProductPageUrl));
    return;
  }
  if (FManualCheck) ShowBox(TMessageKind::Information, UpToDateMessage());
}

void TFormMain::FormDestroy() {
  if (FUpdateTimer) FView.SetUpdateTimerEnabled(false);
  if (FUpdateWorker) {
    FUpdateWorker->Wait();
    std::unique_ptr<TUpdateWorker> worker = std::move(FUpdateWorker);
  }
}

}  // namespace velmora
