#include "core/main_window/frmstart.h"

#include "core/resource_ids.h"

namespace tarnby {

namespace {
constexpr std::uint32_t kRed = Rgb(255, 0, 0);
constexpr std::uint32_t kBlue = Rgb(0, 0, 192);
constexpr int kButton = 372;  // the square picture buttons

// A selection ring 612 twips across, centred on a button at (left, top).
Twips Ring(int left, int top, int height = 612) {
  return {left + kButton / 2 - 306, top + kButton / 2 - height / 2, 612, height};
}
}  // namespace

Frmstart::Frmstart(Platform& platform)
    : Form(platform, "frmstart"),
      Label1(*this, "Label1", ControlKind::Label, {120, 90, 3192, 240}),
      Label8(*this, "Label8", ControlKind::Label, {420, 420, 2892, 420},
             "If you click here, Tarnby will load when Windows loads."),
      Option1(*this, "Option1", ControlKind::OptionButton, {120, 480, 240, 240}),
      Label9(*this, "Label9", ControlKind::Label, {420, 960, 2892, 420},
             "If you click here, Tarnby will not load when Windows loads."),
      Option2(*this, "Option2", ControlKind::OptionButton, {120, 1020, 240, 240}),
      Label10(*this, "Label10", ControlKind::Label, {120, 1740, 3192, 420},
              "What do you want to happen when the timer reaches zero?"),
      Frame3(*this, "Frame3", ControlKind::Frame, {210, 2520, 3012, 2412}, "Pre-Selects"),
      Label11(*this, "Label11", ControlKind::Label, {120, 300, 2772, 240}, "Click on check boxes to set forcefully",
              &Frame3),
      sharestart(*this, "sharestart", ControlKind::Shape, Ring(960, 1440), {}, &Frame3),
      shalog(*this, "shalog", ControlKind::Shape, Ring(1680, 1440), {}, &Frame3),
      shashut(*this, "shashut", ControlKind::Shape, Ring(2400, 1440), {}, &Frame3),
      shaprogram(*this, "shaprogram", ControlKind::Shape, Ring(960, 720), {}, &Frame3),
      shacd(*this, "shacd", ControlKind::Shape, Ring(240, 1440, 732), {}, &Frame3),
      shados(*this, "shados", ControlKind::Shape, Ring(240, 720), {}, &Frame3),
      shascreen(*this, "shascreen", ControlKind::Shape, Ring(1680, 720), {}, &Frame3),
      shasleep(*this, "shasleep", ControlKind::Shape, Ring(2400, 720), {}, &Frame3),
      cmddos(*this, "cmddos", ControlKind::PictureButton, {240, 720, kButton, kButton}, {}, &Frame3),
      cmdprogram(*this, "cmdprogram", ControlKind::PictureButton, {960, 720, kButton, kButton}, {}, &Frame3),
      cmdscreen(*this, "cmdscreen", ControlKind::PictureButton, {1680, 720, kButton, kButton}, {}, &Frame3),
      cmdsleep(*this, "cmdsleep", ControlKind::PictureButton, {2400, 720, kButton, kButton}, {}, &Frame3),
      cmdcd(*this, "cmdcd", ControlKind::PictureButton, {240, 1440, kButton, kButton}, {}, &Frame3),
      cmdrestart(*this, "cmdrestart", ControlKind::PictureButton, {960, 1440, kButton, kButton}, {}, &Frame3),
      cmdlog(*this, "cmdlog", ControlKind::PictureButton, {1680, 1440, kButton, kButton}, {}, &Frame3),
      cmdshut(*this, "cmdshut", ControlKind::PictureButton, {2400, 1440, kButton, kButton}, {}, &Frame3),
      chkrestart(*this, "chkrestart", ControlKind::CheckBox, {1080, 2040, 372, 192}, {}, &Frame3),
      chklog(*this, "chklog", ControlKind::CheckBox, {1800, 2040, 372, 192}, {}, &Frame3),
      chkshut(*this, "chkshut", ControlKind::CheckBox, {2520, 2040, 372, 192}, {}, &Frame3),
      Label2(*this, "Label2", ControlKind::Label, {120, 5130, 2040, 240}, "# of minutes --"),
      Text2(*this, "Text2", ControlKind::TextBox, {2280, 5070, 1032, 300}),
      Label6(*this, "Label6", ControlKind::Label, {120, 5490, 2040, 240}, "# of seconds --"),
      Text1(*this, "Text1", ControlKind::TextBox, {2280, 5430, 1032, 300}),
      Label12(*this, "Label12", ControlKind::Label, {120, 5820, 2520, 420}, "# of seconds 'til alarm goes off --"),
      Text3(*this, "Text3", ControlKind::TextBox, {2760, 5850, 552, 300}, "5"),
      lblhrs(*this, "lblhrs", ControlKind::Label, {1680, 6330, 480, 240}),
      Check1(*this, "Check1", ControlKind::CheckBox, {2280, 6300, 1032, 300}, "&Hours?"),
      cmdstart(*this, "cmdstart", ControlKind::Button, {120, 6720, 1212, 372}, "&Start"),
      Image3(*this, "Image3", ControlKind::Image, {1524, 6714, 384, 384}),
      cmdstop(*this, "cmdstop", ControlKind::Button, {2100, 6720, 1212, 372}, "&Pause"),
      Label4(*this, "Label4", ControlKind::Label, {120, 7230, 1500, 240}, "Time Left:"),
      Frame1(*this, "Frame1", ControlKind::Frame, {120, 7440, 1440, 660}, "Minutes Left"),
      Label3(*this, "Label3", ControlKind::Label, {60, 240, 1320, 360}, {}, &Frame1),
      Label5(*this, "Label5", ControlKind::Label, {1608, 7620, 216, 360}, ":"),
      Frame2(*this, "Frame2", ControlKind::Frame, {1872, 7440, 1440, 660}, "Seconds Left"),
      display(*this, "display", ControlKind::Label, {60, 240, 1320, 360}, {}, &Frame2),
      Image1(*this, "Image1", ControlKind::Image, {48, 8160, 384, 384}),
      Image2(*this, "Image2", ControlKind::Image, {48, 8160, 384, 384}),
      Label7(*this, "Label7", ControlKind::Label, {480, 8184, 1020, 384}, "Turn alarm on or off"),
      cmdwav(*this, "cmdwav", ControlKind::PictureButton, {1530, 8160, kButton, kButton}),
      Command1(*this, "Command1", ControlKind::Button, {0, 0, 0, 0}, "Command1"),
      Command3(*this, "Command3", ControlKind::Button, {2100, 8166, 1212, 372}, "&Hide"),
      picdos(*this, "picdos", ControlKind::PictureBox, {0, 0, 480, 480}),
      picprogram(*this, "picprogram", ControlKind::PictureBox, {0, 0, 480, 480}),
      picscreen(*this, "picscreen", ControlKind::PictureBox, {0, 0, 480, 480}),
      picsleep(*this, "picsleep", ControlKind::PictureBox, {0, 0, 480, 480}),
      picwin(*this, "picwin", ControlKind::PictureBox, {0, 0, 480, 480}),
      picrestart(*this, "picrestart", ControlKind::PictureBox, {0, 0, 480, 480}),
      piclog(*this, "piclog", ControlKind::PictureBox, {0, 0, 480, 480}),
      picshut(*this, "picshut", ControlKind::PictureBox, {0, 0, 480, 480}),
      picNotifier(*this, "picNotifier", ControlKind::PictureBox, {0, 0, 480, 480}),
      Timer1(*this, "Timer1", 1000, false),
      Timer2(*this, "Timer2", 1000, false),
      Timer3(*this, "Timer3", 50, true),
      tmrTray(*this, "tmrTray", 1000, false),
      tmrWhen(*this, "tmrWhen", 1000, false),
      tmrCommands(*this, "tmrCommands", 1, false),
      mnupopmenu("mnupopmenu", "Menu"),
      mnucd("mnucd", "&Eject CD-Rom Drive"),
      mnucdclose("mnucdclose", "Cl&ose CD-Rom Drive"),
      mnuline11("mnuline11", "-"),
      mnumin("mnumin", "Minimi&ze all Windows"),
      mnushow("mnushow", "Restore a&ll Windows"),
      mnuline7("mnuline7", "-"),
      mnusleep("mnusleep", "Suspend &Mode(Win98)"),
      mnuscreenchange("mnuscreenchange", "Change Screensaver(&Win98)"),
      mnuscreen("mnuscreen", "S&creen Saver"),
      mnuline10("mnuline10", "-"),
      mnunet("mnunet", "Disconnect from &Internet"),
      mnudoc("mnudoc", "Clear Doc&uments Folder"),
      mnutemp("mnutemp", "&Delete files in Temp Folder"),
      mnuline9("mnuline9", "-"),
      mnuprogram("mnuprogram", "Run Program(s)..."),
      mnudos("mnudos", "&Exit to Dos"),
      mnuline4("mnuline4", "-"),
      mnushut("mnushut", "S&hut Down Computer"),
      mnushutf("mnushutf", "&Force Shut Down"),
      mnuline6("mnuline6", "-"),
      mnulog("mnulog", "&Log Off Computer"),
      mnulogf("mnulogf", "F&orce Log Off"),
      mnuline3("mnuline3", "-"),
      mnuwin("mnuwin", "Restart Windows Onl&y"),
      mnurestart("mnurestart", "&Restart Computer"),
      mnurestartf("mnurestartf", "Force Restart Co&mputer"),
      mnuline2("mnuline2", "-"),
      mnureadme("mnureadme", "V&iew ReadMe File"),
      mnuabout("mnuabout", "&About..."),
      mnuhelp("mnuhelp", "&Need Help?"),
      mnuline5("mnuline5", "-"),
      mnusave("mnusave", "Save Current Set&tings"),
      mnuhot("mnuhot", "Change, Set the Hot Ke&y(s)"),
      mnuline8("mnuline8", "-"),
      mnupopmenushow("mnupopmenushow", "&Show Timer"),
      mnutime("mnutime", "Show Current Time &Left"),
      mnuline("mnuline", "-"),
      mnupopmenuexit("mnupopmenuexit", "E&xit") {
  SetDesign("", {0, 0, 3432, 8628});
  borderStyle = BorderStyle::Sizable;
  controlBox = false;
  iconResource = IDI_TARNBY;

  for (Control* label : {&Label8, &Label9}) label->foreColor = kRed;
  Label4.foreColor = kRed;
  Label4.font = {"Courier New", 10, true};
  Label11.foreColor = kBlue;
  for (Control* shown : {&Label3, &display, &Label5}) shown->font = {"Courier New", 15, true};
  lblhrs.autoSize = true;
  Text1.maxLength = 2;
  Text3.maxLength = 2;

  // The shapes are the selection rings and the picture boxes the owners of
  // the tray icons: neither shows until it is wanted. The pictures and tips
  // of the actions come from the action catalogue, with their behaviour.
  for (Control* control : controls) {
    if (control->kind == ControlKind::Shape) {
      control->ellipse = true;
      control->borderColor = kRed;
      control->SetVisible(false);
    } else if (control->kind == ControlKind::PictureBox) {
      control->SetVisible(false);
    }
  }

  cmdstart.SetEnabled(false);
  cmdstop.SetEnabled(false);
  Image1.SetPicture(IDI_ALARM_ON);
  Image2.SetPicture(IDI_ALARM_OFF);
  Image3.SetPicture(IDI_CLOCK);
  cmdwav.SetPicture(IDI_WAV);
  cmdwav.toolTip = "Choose a *.wav file to play when alarm goes off";
  Command1.SetVisible(false);

  mnupopmenu.visible = false;
  mnupopmenu.items = {&mnucd,      &mnucdclose,  &mnuline11,   &mnumin,       &mnushow,        &mnuline7,
                      &mnusleep,   &mnuscreenchange, &mnuscreen, &mnuline10,  &mnunet,         &mnudoc,
                      &mnutemp,    &mnuline9,    &mnuprogram,  &mnudos,       &mnuline4,       &mnushut,
                      &mnushutf,   &mnuline6,    &mnulog,      &mnulogf,      &mnuline3,       &mnuwin,
                      &mnurestart, &mnurestartf, &mnuline2,    &mnureadme,    &mnuabout,       &mnuhelp,
                      &mnuline5,   &mnusave,     &mnuhot,      &mnuline8,     &mnupopmenushow, &mnutime,
                      &mnuline,    &mnupopmenuexit};
  mnutime.visible = false;
  menu = &mnupopmenu;
}

}  // namespace tarnby
