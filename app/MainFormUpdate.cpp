// The window's side of the update check: the first showing, starting a check,
// collecting the finished worker and presenting its result, and closing during a check.
#include "app/MainForm.h"
#include "support/Error.h"
#include "support/Utf.h"
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
  try {
    FSettingsFile = GetUpdateSettingsPath(FPlatform);
    const TUpdateSettings settings = LoadUpdateSettings(FPlatform, FSettingsFile);
    FView.SetChecked(TControl::CheckAutoUpdates, settings.Automatic);
    const std::int64_t now = FPlatform.NowUnixUtc();
    if (FView.Checked(TControl::CheckAutoUpdates) && IsAutomaticCheckDue(settings.LastAttempt, now))
      StartUpdateCheck(false);
  } catch (const std::exception&) {
    // Settings unavailable: automatic checks are off for this run; manual ones still work.
    FSettingsFile.clear();
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
    const auto* error = dynamic_cast<const TError*>(&e);
    ShowBox(TMessageKind::Warning,
            u"Не удалось сохранить настройку: " + (error ? error->Message() : Utf8ToUtf16(e.what())));
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
  FUpdateWorker = FMakeWorker();
  RememberFocus();
  FView.SetEnabled(TControl::ButtonCheckUpdates, false);
  FView.SetText(TControl::ButtonCheckUpdates, kCheckRunning);
  FUpdateWorker->Start();
  FView.SetUpdateTimerEnabled(true);
}

void TFormMain::UpdateTimerTick() {
  if (!FUpdateWorker || !FUpdateWorker->Finished()) return;
  FView.SetUpdateTimerEnabled(false);
  std::unique_ptr<TUpdateWorker> worker = std::move(FUpdateWorker);
  FView.SetEnabled(TControl::ButtonCheckUpdates, true);
  FView.SetText(TControl::ButtonCheckUpdates, kCheckIdle);
  // Disabling the button took the focus from it if it had it; it comes back now.
  if (!FView.FocusedControl()) RestoreFocus();
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
    if (result == kDownloadResult && !FPlatform.OpenUrl(worker.DownloadURL))
      ShowBox(TMessageKind::Warning, BrowserFailedPrefix + std::u16string(ProductPageUrl));
    return;
  }
  if (FManualCheck) ShowBox(TMessageKind::Information, UpToDateMessage());
}

void TFormMain::FormDestroy() {
  if (FUpdateTimer) FView.SetUpdateTimerEnabled(false);
  if (FUpdateWorker) {
    FUpdateWorker->Terminate();
    FUpdateWorker->Wait();
    std::unique_ptr<TUpdateWorker> worker = std::move(FUpdateWorker);
  }
}

}  // namespace velmora
