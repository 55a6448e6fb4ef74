// The main window: every control, timer and menu item it carries, at its
// place, with its captions and tips. Behaviour is wired in by the subsystems
// that own each control (shell, countdown, actions, hot keys).
#pragma once

#include <array>

#include "core/forms/forms.h"

namespace tarnby {

class Frmstart : public Form {
 public:
  explicit Frmstart(Platform& platform);

  // Start-up and start with Windows.
  Control Label1;
  Control Label8, Option1, Label9, Option2;

  // Pre-selects.
  Control Label10;
  Control Frame3;
  Control Label11;
  Control sharestart, shalog, shashut, shaprogram, shacd, shados, shascreen, shasleep;
  Control cmddos, cmdprogram, cmdscreen, cmdsleep, cmdcd, cmdrestart, cmdlog, cmdshut;
  Control chkrestart, chklog, chkshut;

  // Countdown entry and control.
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

  // Alarm.
  Control Image1, Image2, Label7, cmdwav, Command1;

  Control Command3;

  // The owners of the tray icon, one per quick-action picture, and the one
  // that is only ever named when the icons are taken down.
  Control picdos, picprogram, picscreen, picsleep, picwin, picrestart, piclog, picshut;
  Control picNotifier;

  Timer Timer1, Timer2, Timer3;
  // Runs only while the shell has not taken the tray icon yet: it asks again.
  Timer tmrTray;

  Menu mnupopmenu;
  MenuItem mnucd, mnucdclose, mnuline11, mnumin, mnushow, mnuline7, mnusleep, mnuscreenchange, mnuscreen,
      mnuline10, mnunet, mnudoc, mnutemp, mnuline9, mnuprogram, mnudos, mnuline4, mnushut, mnushutf, mnuline6,
      mnulog, mnulogf, mnuline3, mnuwin, mnurestart, mnurestartf, mnuline2, mnureadme, mnuabout, mnuhelp,
      mnuline5, mnusave, mnuhot, mnuline8, mnupopmenushow, mnutime, mnuline, mnupopmenuexit;

  // The eight owners of a tray icon.
  std::array<Control*, 8> TrayBoxes();
};

}  // namespace tarnby
