// The main window: every control, timer and menu item it carries, at its
// place, with its captions; the pictures and tips of the actions are the
// action catalogue's (actions/catalogue.h). Behaviour is wired in by the subsystems
// that own each control (shell, countdown, actions, hot keys); every handler
// is a named member control_Event of that subsystem, and the file that wires
// each group is named beside it below.
#pragma once

#include "core/forms/forms.h"

namespace tarnby {

class Frmstart : public Form {
 public:
  explicit Frmstart(Platform& platform);

  // Start-up: Shell::frmstart_Load, frmstart_MouseMove, frmstart_QueryUnload,
  // frmstart_ShellRestarted (shell/shell.cpp); a later copy's command line
  // arrives at CommandLine::frmstart_CopyData (commands/commands.cpp);
  // sleep and wake at Countdown::frmstart_PowerBroadcast (countdown/engine.cpp)
  // and Triggers::frmstart_PowerBroadcast (triggers/idle_watch.cpp).
  Control Label1;
  // Start with Windows: Shell::Option1_Click ... Label9_Click (shell/start_with_windows.cpp).
  Control Label8, Option1, Label9, Option2;

  // Pre-selects: every cmd... button's click is Countdown::PreSelect, which
  // also gives the buttons and force boxes their pictures and tips from the
  // action catalogue (countdown/preselect.cpp).
  Control Label10;
  Control Frame3;
  Control Label11;
  Control sharestart, shalog, shashut, shaprogram, shacd, shados, shascreen, shasleep;
  Control cmddos, cmdprogram, cmdscreen, cmdsleep, cmdcd, cmdrestart, cmdlog, cmdshut;
  Control chkrestart, chklog, chkshut;

  // Countdown entry and control: Countdown::Text1_KeyPress ... cmdstop_Click (countdown/entry.cpp).
  Control Label2, Text2;
  Control Label6, Text1;
  Control Label12, Text3;
  Control lblhrs, Check1;
  Control cmdstart, Image3, cmdstop;

  // Time left.
  Control Label4;
  Control Frame1, Label3;
  Control Label5;
  Control Frame2, display;

  // Alarm: Countdown::Image1_Click, Image2_Click, Command1_Click, cmdwav_Click (countdown/alarm.cpp).
  Control Image1, Image2, Label7, cmdwav, Command1;

  // Hides the main window: Shell::Command3_Click (shell/shell.cpp).
  Control Command3;

  // The owners of the tray icon, one per quick-action picture, and the one
  // that is only ever named when the icons are taken down. Their MouseMove is
  // the tray's callback: Shell::TrayBox_MouseMove, and their pictures come
  // from the action catalogue (shell/shell.cpp).
  Control picdos, picprogram, picscreen, picsleep, picwin, picrestart, piclog, picshut;
  Control picNotifier;

  // Timer1_Timer, Timer2_Timer: the countdown (countdown/engine.cpp);
  // Timer3_Timer: the hot keys (hotkeys/hotkeys.cpp).
  Timer Timer1, Timer2, Timer3;
  // Runs only while the shell has not taken the tray icon yet: it asks again;
  // Shell::tmrTray_Timer (shell/shell.cpp).
  Timer tmrTray;
  // Runs only while a trigger waits or watches the countdown it started:
  // Triggers::tmrWhen_Timer (triggers/triggers.cpp). A process it waits on
  // that ends arrives at Triggers::frmstart_ObjectSignalled.
  Timer tmrWhen;
  // Runs while commands handed over by other copies wait their turn:
  // CommandLine::tmrCommands_Timer (commands/commands.cpp).
  Timer tmrCommands;

  // The popup menu: the quick-action items (mnudos ... mnushutf) run
  // Shell::SelectQuickAction, and mnupopmenu_Click, mnusave_Click,
  // mnupopmenushow_Click, mnupopmenuexit_Click, mnuabout_Click, mnuhot_Click
  // are the shell's (shell/quick_action.cpp); mnutime_Click is the countdown's
  // (countdown/entry.cpp); mnucd_Click ... mnuscreenchange_Click are the
  // housekeeping commands (actions/housekeeping.cpp).

  Menu mnupopmenu;
  MenuItem mnucd, mnucdclose, mnuline11, mnumin, mnushow, mnuline7, mnusleep, mnuscreenchange, mnuscreen,
      mnuline10, mnunet, mnudoc, mnutemp, mnuline9, mnuprogram, mnudos, mnuline4, mnushut, mnushutf, mnuline6,
      mnulog, mnulogf, mnuline3, mnuwin, mnurestart, mnurestartf, mnuline2, mnureadme, mnuabout, mnuhelp,
      mnuline5, mnusave, mnuhot, mnuline8, mnupopmenushow, mnutime, mnuline, mnupopmenuexit;
};

}  // namespace tarnby
