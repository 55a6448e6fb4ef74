// The screen-saver file Tarnby runs on Windows 98: the dialog that chooses
// it, the menu command that replaces it, and the steps that run it.
#include "core/actions/actions.h"
#include "core/actions/file_request.h"
#include "core/system/folders.h"
#include "core/system/scoped.h"
#include "core/system/settings_store.h"

namespace tarnby {

namespace {
constexpr char kFilter[] = "Screensaver Files (*.scr)\0*scr\0";
constexpr char kDialogTitle[] = "Select screensaver file to run";
constexpr char kReadName[] = "Strscreen";
constexpr char kWriteName[] = "strscreen";
constexpr char kChanged[] = "Screensaver changed!";
constexpr char kChangedTitle[] = "Done!";
}  // namespace

std::optional<std::string> Actions::ChooseScreenSaverFile() {
  // A hot key held down, or a second icon callback, asks again while the
  // dialog is up; one dialog is enough.
  const ReentryGuard guard(screenDialogOpen_);
  if (!guard.Entered()) return std::nullopt;
  Platform& platform = platform_;
  OpenFileName request = OpenFileRequest(platform, frmstart_.hwnd, std::string(kFilter, sizeof kFilter - 1),
                                         GetSystemPath(platform), kDialogTitle);
  return AskForFile(platform, request);
}

void Actions::StartStoredScreenSaver() {
  Platform& platform = platform_;
  auto run = [&](const std::string& path) {
    if (!FitsMaxPath(path)) return;  // fails like a file that is not there
    platform.ShellExecute(frmstart_.hwnd, "Open", path, "", platform.ProgramFolder(), w::kSwShowNormal);
  };
  const std::string stored = ReadRegString(platform, w::kHkeyCurrentUser, kPathKey, kReadName);
  if (!stored.empty()) {
    run(stored);
    return;
  }
  const std::optional<std::string> chosen = ChooseScreenSaverFile();
  if (!chosen) return;
  run(*chosen);
  WriteRegString(platform, w::kHkeyCurrentUser, kPathKey, kWriteName, *chosen);
}

void Actions::mnuscreenchange_Click() {
  if (!IsWin98()) return;
  const std::optional<std::string> chosen = ChooseScreenSaverFile();
  if (!chosen) return;
  Platform& platform = platform_;
  WriteRegString(platform, w::kHkeyCurrentUser, kPathKey, kWriteName, *chosen);
  platform.MessageBox(kChanged, kChangedTitle, w::kMbIconInformation);
}

}  // namespace tarnby
