// The alarm's wave file is checked before the system's sound call gets it:
// a RIFF/WAVE header with a "fmt " chunk whose numbers make sense.
#pragma once

#include <cstdint>
#include <string>

namespace tarnby {

// How much of the file's start is read for the check; the "fmt " chunk must
// lie within it.
inline constexpr std::uint32_t kWaveHeaderBytes = 16384;

// Whether the file's first bytes are a wave header the system can play: RIFF,
// WAVE, a "fmt " chunk of a sane size with one to 32 channels, a rate between
// 1,000 and 768,000, a block alignment that is not zero and, for PCM and float
// samples, bits per sample and block alignment that agree.
bool IsPlayableWave(const std::string& start);

}  // namespace tarnby
