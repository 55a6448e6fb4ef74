// The about box: the program's name, version and links, and the button that
// starts the Windows System Information program.
#pragma once

#include <string>

#include "core/forms/forms.h"

namespace tarnby {

// "Version " and the program's major, minor and revision numbers.
std::string VersionLine();

class FrmAbout : public Form {
 public:
  explicit FrmAbout(Platform& platform);

  Control cmdOK, picIcon, cmdSysInfo, lblDescription, lblTitle, lblVersion, Label1, Label2, Label3, Label4;

  void Form_Load();
  // Finds System Information in the registry and starts it, or says that it
  // cannot be had.
  void StartSysInfo();
  // Reads one registry value as text into keyVal: a string as it is, a
  // REG_DWORD as "&h" and its bytes in hex from the last; any other type
  // leaves keyVal alone. False, with keyVal emptied, when it cannot be read.
  bool GetKeyValue(Handle keyRoot, const std::string& keyName, const std::string& subKeyRef, std::string& keyVal);
};

}  // namespace tarnby
