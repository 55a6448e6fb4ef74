// Wave files as bytes, for the alarm's header check.
#pragma once

#include <cstdint>
#include <string>

namespace tarnby::test {

inline void PutLittle(std::string& out, std::uint32_t value, int count) {
  for (int i = 0; i < count; ++i) out.push_back(static_cast<char>(value >> (8 * i) & 0xFF));
}

struct WaveFormat {
  std::uint16_t format = 1;  // PCM
  std::uint16_t channels = 2;
  std::uint32_t rate = 44100;
  std::uint16_t bits = 16;
  std::uint32_t fmtSize = 16;      // as the chunk claims
  std::int32_t alignDelta = 0;     // added to the right block alignment
};

// RIFF, WAVE, a "fmt " chunk as described (its body padded or cut to fit
// what is claimed, up to 64 bytes), then a short data chunk.
inline std::string WaveBytes(const WaveFormat& f) {
  const std::uint32_t align = static_cast<std::uint32_t>(f.channels * f.bits / 8 + f.alignDelta);
  std::string fmt;
  PutLittle(fmt, f.format, 2);
  PutLittle(fmt, f.channels, 2);
  PutLittle(fmt, f.rate, 4);
  PutLittle(fmt, f.rate * align, 4);
  PutLittle(fmt, align, 2);
  PutLittle(fmt, f.bits, 2);
  fmt.resize(f.fmtSize < 64 ? f.fmtSize : 64, '\0');
  std::string out = "RIFF";
  PutLittle(out, static_cast<std::uint32_t>(4 + 8 + fmt.size() + 8 + 4), 4);
  out += "WAVEfmt ";
  PutLittle(out, f.fmtSize, 4);
  out += fmt;
  out += "data";
  PutLittle(out, 4, 4);
  out += std::string(4, '\0');
  return out;
}

}  // namespace tarnby::test
