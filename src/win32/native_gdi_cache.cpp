// The fonts the controls share, kept for the host's life, and text measured in them.
#include "win32/native_host_parts.h"

#include <set>

#include "win32/utf16.h"

namespace tarnby {

using namespace native;

HFONT NativeHostImpl::FontFor(const Font& font, int dpi) {
  const FontKey key{font.name, font.points, font.bold, font.italic, font.underline, dpi};
  if (const auto it = fonts_.find(key); it != fonts_.end()) return it->second.get();
  LOGFONTW logFont{};
  logFont.lfHeight = -::MulDiv(font.points, dpi, 72);
  logFont.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
  logFont.lfItalic = font.italic;
  logFont.lfUnderline = font.underline;
  logFont.lfCharSet = DEFAULT_CHARSET;
  logFont.lfQuality = CLEARTYPE_QUALITY;
  // The forms were laid out for their fonts' metrics: ask for the face by its
  // own name (Wine carries a scalable "MS Sans Serif", Windows its own).
  std::wstring face = Wide(font.name);
  const bool fixed = font.name.find("Courier") != std::string::npos;
  logFont.lfPitchAndFamily = fixed ? static_cast<BYTE>(FIXED_PITCH | FF_MODERN) : static_cast<BYTE>(FF_SWISS);
  face.resize(std::min<std::size_t>(face.size(), LF_FACESIZE - 1));
  std::copy(face.begin(), face.end(), logFont.lfFaceName);
  OwnedFont handle(::CreateFontIndirectW(&logFont));
  // Without a font of its own the control makes do with the stock one, which
  // is not ours to keep or delete: the next control asks again.
  if (!handle) return static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
  return (fonts_[key] = std::move(handle)).get();
}

// Fonts made for a DPI other than the screen's live only while a window on a
// monitor of that DPI shows them.
void NativeHostImpl::DropUnusedFonts() {
  std::set<HFONT> used;
  for (const auto& [form, fw] : forms_)
    for (const auto& cw : fw->controls) used.insert(cw->font);
  for (auto it = fonts_.begin(); it != fonts_.end();) {
    if (std::get<5>(it->first) != screen_.dpi && !used.count(it->second.get())) {
      it = fonts_.erase(it);
    } else {
      ++it;
    }
  }
}

SIZE NativeHostImpl::TextExtent(const Font& font, int dpi, const std::wstring& text) {
  // One line (or as many as the text's own line breaks make), at least one line high.
  SIZE size{0, 0};
  const WindowDc screen(nullptr);
  if (!screen) return size;
  HDC dc = screen.get();
  RECT rect{0, 0, 0, 0};
  TEXTMETRICW metrics{};
  {
    const Selected selected(dc, FontFor(font, dpi));
    if (!text.empty())
      ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, DT_CALCRECT | DT_LEFT | DT_EXPANDTABS);
    ::GetTextMetricsW(dc, &metrics);
  }
  size.cx = rect.right - rect.left;
  size.cy = std::max<LONG>(rect.bottom - rect.top, metrics.tmHeight);
  return size;
}

TextSize NativeHostImpl::MeasureText(const Control& label) {
  const Scale& scale = ScaleOfForm(label.form);
  const SIZE size = TextExtent(label.font, scale.dpi, Wide(label.Caption()));
  return {size.cx * scale.x, size.cy * scale.y};
}

}  // namespace tarnby
