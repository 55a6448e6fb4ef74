// The Win32 headers the native layer uses, included once and in one order.
//
// <windows.h> and friends turn many API names into macros (MessageBox becomes
// MessageBoxW, and so on). Those names are also members of Platform, so the
// macros would quietly rename the members in one translation unit and not in
// another. Include this header before any other Win32 header and before
// core/platform.h; it drops the clashing macros, and our code calls the W
// entry points by their full names.
#pragma once

#include <windows.h>
#include <commdlg.h>
#include <mmsystem.h>
#include <shellapi.h>
#include <shlobj.h>
#include <wininet.h>

#undef CallWindowProc
#undef DeleteFile
#undef ExtractAssociatedIcon
#undef FindFirstFile
#undef FindNextFile
#undef FindWindow
#undef GetEnvironmentVariable
#undef GetFileAttributes
#undef GetOpenFileName
#undef GetSystemDirectory
#undef GetTempPath
#undef GetUserName
#undef GetVersionEx
#undef GetWindowsDirectory
#undef MessageBox
#undef PlaySound
#undef PostMessage
#undef RegCreateKey
#undef RegDeleteValue
#undef RegOpenKey
#undef RegOpenKeyEx
#undef RegQueryValueEx
#undef RegSetValueEx
#undef SendMessage
#undef SetFileAttributes
#undef SetWindowLongPtr
#undef SHGetPathFromIDList
#undef ShellExecute
#undef Shell_NotifyIcon
#undef mciSendString
