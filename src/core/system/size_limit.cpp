#include "core/system/size_limit.h"

#include <cmath>
#include <cstring>
#include <vector>

#include "core/forms/forms.h"

namespace tarnby {

namespace {

struct SizeLimitEntry {
  Platform* platform = nullptr;
  Handle hWnd = 0;
  // In twips: the window's pixels follow the DPI of the monitor it is on.
  int minWidth = 0, minHeight = 0, maxWidth = 0, maxHeight = 0;
  std::intptr_t previous = 0;
};

// Index 0 exists but is never used; entries start at 1.
std::vector<SizeLimitEntry>& Entries() {
  static std::vector<SizeLimitEntry> entries;
  return entries;
}

}  // namespace

int TwipsToPixels(int twips, int twipsPerPixel) {
  if (twipsPerPixel <= 0) return 0;
  return static_cast<int>(std::nearbyint(static_cast<double>(twips) / twipsPerPixel));
}

void LimitWindowSize(Form& window, int minWidth, int minHeight, int maxWidth, int maxHeight) {
  Platform& platform = window.platform;
  SizeLimitEntry entry;
  entry.platform = &platform;
  entry.hWnd = window.hwnd;
  entry.minWidth = minWidth;
  entry.minHeight = minHeight;
  entry.maxWidth = maxWidth;
  entry.maxHeight = maxHeight;
  auto& entries = Entries();
  if (entries.empty()) entries.emplace_back();
  // Store the entry before the procedure goes in: the system may call it at once.
  entries.push_back(entry);
  const std::size_t index = entries.size() - 1;
  const std::intptr_t previous =
      platform.SetWindowLongPtr(window.hwnd, w::kGwlWndProc, reinterpret_cast<std::intptr_t>(&SizeLimitProc));
  Entries()[index].previous = previous;
}

std::intptr_t TARNBY_CALLBACK SizeLimitProc(Handle hwnd, std::uint32_t msg, std::uintptr_t wParam,
                                            std::intptr_t lParam) {
  const auto& entries = Entries();
  const SizeLimitEntry* current = nullptr;
  for (std::size_t i = 1; i < entries.size(); ++i)
    if (entries[i].hWnd == hwnd) current = &entries[i];  // the last match wins
  if (current == nullptr) return 0;
  if (msg == w::kWmGetMinMaxInfo) {
    if (lParam == 0) return 0;
    // MINMAXINFO: ptReserved, ptMaxSize, ptMaxPosition, ptMinTrackSize, ptMaxTrackSize.
    std::int32_t info[10];
    std::memcpy(info, reinterpret_cast<const void*>(lParam), sizeof info);
    const PixelScale scale = current->platform->ScaleOf(hwnd);
    info[6] = TwipsToPixels(current->minWidth, scale.twipsPerPixelX);
    info[7] = TwipsToPixels(current->minHeight, scale.twipsPerPixelY);
    info[8] = TwipsToPixels(current->maxWidth, scale.twipsPerPixelX);
    info[9] = TwipsToPixels(current->maxHeight, scale.twipsPerPixelY);
    std::memcpy(reinterpret_cast<void*>(lParam), info, sizeof info);
    return 0;
  }
  // Copy what we need: the call may re-enter and change the list.
  Platform* platform = current->platform;
  const std::intptr_t previous = current->previous;
  if (previous == 0) return 0;
  return platform->CallWindowProc(previous, hwnd, msg, wParam, lParam);
}

void RestoreWindowProcs() {
  auto& entries = Entries();
  if (entries.size() < 2) return;
  const std::vector<SizeLimitEntry> restoring(entries.begin() + 1, entries.end());
  entries.resize(1);
  for (const SizeLimitEntry& entry : restoring)
    if (entry.hWnd >= 1 && entry.previous != 0)
      entry.platform->SetWindowLongPtr(entry.hWnd, w::kGwlWndProc, entry.previous);
}

int LimitedWindowCount() {
  const auto& entries = Entries();
  return entries.empty() ? 0 : static_cast<int>(entries.size()) - 1;
}

}  // namespace tarnby
