// The user-facing texts of the update check, shared by the window and the CLI.
#pragma once

#include <string>

#include "update/Version.h"

namespace velmora {

inline std::u16string UpdateOfferInstruction(const std::u16string& version) { return u"Доступна версия " + version; }
inline std::u16string UpToDateMessage() {
  return u"У вас актуальная версия приложения: " + std::u16string(CurrentVersion) + u".";
}
inline constexpr char16_t CheckFailedPrefix[] =
    u"Не удалось проверить обновления. Проверьте подключение к интернету.\r\n";
inline constexpr char16_t BrowserFailedPrefix[] = u"Не удалось открыть браузер. Скачайте обновление на ";
inline constexpr char16_t UpdateDialogCaption[] = u"Обновление Velmora";
inline constexpr char16_t UpdateDialogNotes[] =
    u"\r\n\r\nСкачайте новый файл, закройте приложение и замените старый EXE новым.\r\n"
    u"Остальные файлы, в том числе agent.id, оставьте на месте.\r\n"
    u"Если имя EXE изменилось, удалите старый EXE и обновите ярлык.";

}  // namespace velmora
