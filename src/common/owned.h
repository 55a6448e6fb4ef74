// Owners of Win32 resources, shared by tarnby.exe, restart.exe and
// tarnby.com: how each kind of handle is given back to the system, and the
// few owners that hold more than one handle.
#pragma once

#include <windows.h>
#include <objbase.h>  // CoTaskMemFree

#include "common/owner.h"

namespace tarnby {

namespace owned {

template <class T>
struct GdiObject {
  using Type = T;
  static constexpr T Empty() { return nullptr; }
  static void Free(T object) { ::DeleteObject(object); }
};

struct Icon {
  using Type = HICON;
  static constexpr HICON Empty() { return nullptr; }
  static void Free(HICON icon) { ::DestroyIcon(icon); }
};

struct KernelHandle {
  using Type = HANDLE;
  static constexpr HANDLE Empty() { return nullptr; }
  static void Free(HANDLE handle) { ::CloseHandle(handle); }
};

// A file opened with CreateFile, which answers INVALID_HANDLE_VALUE, not null.
struct FileHandle {
  using Type = HANDLE;
  static HANDLE Empty() { return INVALID_HANDLE_VALUE; }
  static void Free(HANDLE file) { ::CloseHandle(file); }
};

struct MappedView {
  using Type = void*;
  static constexpr void* Empty() { return nullptr; }
  static void Free(void* view) { ::UnmapViewOfFile(view); }
};

struct LocalMemory {
  using Type = void*;
  static constexpr void* Empty() { return nullptr; }
  static void Free(void* memory) { ::LocalFree(memory); }
};

struct FindHandle {
  using Type = HANDLE;
  static HANDLE Empty() { return INVALID_HANDLE_VALUE; }
  static void Free(HANDLE search) { ::FindClose(search); }
};

struct RegistryKey {
  using Type = HKEY;
  static constexpr HKEY Empty() { return nullptr; }
  static void Free(HKEY key) { ::RegCloseKey(key); }
};

struct ShellMemory {
  using Type = void*;
  static constexpr void* Empty() { return nullptr; }
  static void Free(void* memory) { ::CoTaskMemFree(memory); }
};

struct PopupMenu {
  using Type = HMENU;
  static constexpr HMENU Empty() { return nullptr; }
  static void Free(HMENU menu) { ::DestroyMenu(menu); }
};

struct Window {
  using Type = HWND;
  static constexpr HWND Empty() { return nullptr; }
  static void Free(HWND window) { ::DestroyWindow(window); }
};

}  // namespace owned

using OwnedFont = Owned<owned::GdiObject<HFONT>>;
using OwnedBrush = Owned<owned::GdiObject<HBRUSH>>;
using OwnedRegion = Owned<owned::GdiObject<HRGN>>;
using OwnedBitmap = Owned<owned::GdiObject<HBITMAP>>;
using OwnedIcon = Owned<owned::Icon>;
using OwnedHandle = Owned<owned::KernelHandle>;
using OwnedFile = Owned<owned::FileHandle>;
using OwnedView = Owned<owned::MappedView>;
using OwnedLocalMemory = Owned<owned::LocalMemory>;
using OwnedFind = Owned<owned::FindHandle>;
using OwnedKey = Owned<owned::RegistryKey>;
using OwnedShellMemory = Owned<owned::ShellMemory>;
using OwnedMenu = Owned<owned::PopupMenu>;
using OwnedWindow = Owned<owned::Window>;

// A device context got with GetDC, released to the window it came from.
class WindowDc {
 public:
  explicit WindowDc(HWND window) : window_(window), dc_(::GetDC(window)) {}
  ~WindowDc() {
    if (dc_) ::ReleaseDC(window_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;

  HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  HWND window_;
  HDC dc_;
};

// The device context of one WM_PAINT, between BeginPaint and EndPaint.
class Painting {
 public:
  explicit Painting(HWND window) : window_(window), dc_(::BeginPaint(window, &paint_)) {}
  ~Painting() { ::EndPaint(window_, &paint_); }
  Painting(const Painting&) = delete;
  Painting& operator=(const Painting&) = delete;

  HDC get() const { return dc_; }

 private:
  HWND window_;
  PAINTSTRUCT paint_{};
  HDC dc_;
};

// An object selected into a device context, the previous one put back at the end.
class Selected {
 public:
  Selected(HDC dc, HGDIOBJ object) : dc_(dc), previous_(::SelectObject(dc, object)) {}
  ~Selected() {
    if (previous_ && previous_ != HGDI_ERROR) ::SelectObject(dc_, previous_);
  }
  Selected(const Selected&) = delete;
  Selected& operator=(const Selected&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// The two bitmaps GetIconInfo makes for its caller.
struct IconBitmaps {
  explicit IconBitmaps(HICON icon) {
    ICONINFO info{};
    if (!::GetIconInfo(icon, &info)) return;
    color.reset(info.hbmColor);
    mask.reset(info.hbmMask);
  }
  OwnedBitmap color;
  OwnedBitmap mask;
};

}  // namespace tarnby
