// Running the selected programs: the two paths come from the program
// selection window's boxes, so a path browsed but not yet saved runs too.
#include "core/actions/actions.h"
#include "core/actions/frmprogram.h"
#include "core/system/folders.h"
#include "core/system/scoped.h"

namespace tarnby {

namespace {
constexpr char kNoPrograms[] = "There are no programs selected!";
constexpr char kNoProgramsTitle[] = "Error";
}  // namespace

void Actions::RunPrograms() {
  // The message box below lets other events in (a countdown tick, a second
  // trigger); they must not start the same programs a second time.
  const ReentryGuard guard(runningPrograms_);
  if (!guard.Entered()) return;
  Platform& platform = platform_;

  Frmprogram& dialog = frmprogram_();
  for (Control* slot : {&dialog.Text1, &dialog.Text2})
    if (slot->Text().empty()) slot->SetText(kNothing);
  // What runs is decided now: a box changed while the message is open does
  // not start anything afterwards.
  const std::string programs[] = {dialog.Text1.Text(), dialog.Text2.Text()};

  if (programs[0] == kNothing && programs[1] == kNothing)
    platform.MessageBox(kNoPrograms, kNoProgramsTitle, w::kMbIconInformation);

  for (const std::string& program : programs)
    if (program != kNothing && FitsMaxPath(program))
      platform.ShellExecute(frmstart_.hwnd, "Open", program, "", platform.ProgramFolder(), w::kSwShowNormal);

  frmprogram_.Unload();
}

}  // namespace tarnby
