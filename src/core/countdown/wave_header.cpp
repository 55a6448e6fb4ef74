#include "core/countdown/wave_header.h"

namespace tarnby {

namespace {
constexpr std::uint16_t kFormatPcm = 1, kFormatFloat = 3, kFormatExtensible = 0xFFFE;
constexpr std::uint32_t kLeastFmtSize = 16, kMostFmtSize = 1024;

std::uint32_t Little(const std::string& bytes, std::size_t at, int count) {
  std::uint32_t value = 0;
  for (int i = count - 1; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
  return value;
}

bool SaneFormat(const std::string& bytes, std::size_t at, std::uint32_t size) {
  const std::uint32_t format = Little(bytes, at, 2), channels = Little(bytes, at + 2, 2),
                      rate = Little(bytes, at + 4, 4), align = Little(bytes, at + 12, 2),
                      bits = Little(bytes, at + 14, 2);
  if (channels < 1 || channels > 32 || rate < 1000 || rate > 768000 || align == 0) return false;
  const bool samples = format == kFormatPcm || format == kFormatFloat || format == kFormatExtensible;
  if (!samples) return bits <= 32;  // compressed: the codec reads the rest
  if (format == kFormatExtensible && size < 40) return false;
  const bool wholeBytes = bits == 8 || bits == 16 || bits == 24 || bits == 32 || bits == 64;
  return wholeBytes && align == channels * bits / 8;
}
}  // namespace

bool IsPlayableWave(const std::string& start) {
  if (start.size() < 12 || start.compare(0, 4, "RIFF") != 0 || start.compare(8, 4, "WAVE") != 0) return false;
  std::size_t at = 12;
  while (at + 8 <= start.size()) {
    const bool format = start.compare(at, 4, "fmt ") == 0;
    const std::uint32_t size = Little(start, at + 4, 4);
    at += 8;
    if (size > start.size() - at) return false;  // runs past what was read
    if (format) return size >= kLeastFmtSize && size <= kMostFmtSize && SaneFormat(start, at, size);
    at += size + (size & 1u);  // chunks are padded to an even size
  }
  return false;
}

}  // namespace tarnby
