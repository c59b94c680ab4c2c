// Reads the format and the length of a RIFF WAVE clip (test helper).
#pragma once

#include <cstdint>
#include <cstring>
#include <optional>
#include <string_view>

namespace tovani::sound::test {

inline constexpr std::uint16_t kWavePcm = 1;
inline constexpr std::uint16_t kWaveMsAdpcm = 2;

struct WaveFormat {
  std::uint16_t formatTag = 0;
  std::uint16_t channels = 0;
  std::uint32_t sampleRate = 0;
  std::uint16_t bitsPerSample = 0;
  std::uint32_t frames = 0;  // samples per channel
  double seconds() const { return sampleRate == 0 ? 0 : static_cast<double>(frames) / sampleRate; }
};

inline std::uint32_t Le(std::string_view b, std::size_t at, int bytes) {
  std::uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(b[at + i]);
  return v;
}

// Nothing for bytes that are not a whole WAVE clip with "fmt " and "data".
inline std::optional<WaveFormat> ReadWaveFormat(std::string_view bytes) {
  if (bytes.size() < 12 || bytes.substr(0, 4) != "RIFF" || bytes.substr(8, 4) != "WAVE") return std::nullopt;
  if (Le(bytes, 4, 4) + 8 != bytes.size()) return std::nullopt;
  WaveFormat f;
  bool haveFormat = false, haveData = false;
  std::uint32_t dataSize = 0, factFrames = 0, blockAlign = 0, framesPerBlock = 0;
  bool haveFact = false;
  for (std::size_t at = 12; at + 8 <= bytes.size();) {
    const std::string_view id = bytes.substr(at, 4);
    const std::uint32_t size = Le(bytes, at + 4, 4);
    const std::size_t body = at + 8;
    if (size > bytes.size() - body) return std::nullopt;
    if (id == "fmt " && size >= 16) {
      f.formatTag = static_cast<std::uint16_t>(Le(bytes, body, 2));
      f.channels = static_cast<std::uint16_t>(Le(bytes, body + 2, 2));
      f.sampleRate = Le(bytes, body + 4, 4);
      blockAlign = Le(bytes, body + 12, 2);
      f.bitsPerSample = static_cast<std::uint16_t>(Le(bytes, body + 14, 2));
      if (f.formatTag == kWaveMsAdpcm && size >= 20) framesPerBlock = Le(bytes, body + 18, 2);
      haveFormat = true;
    } else if (id == "fact" && size >= 4) {
      factFrames = Le(bytes, body, 4);
      haveFact = true;
    } else if (id == "data") {
      dataSize = size;
      haveData = true;
    }
    at = body + size + (size & 1);
  }
  if (!haveFormat || !haveData || blockAlign == 0) return std::nullopt;
  if (f.formatTag == kWavePcm) {
    f.frames = dataSize / blockAlign;
  } else if (haveFact) {
    f.frames = factFrames;
  } else {
    f.frames = dataSize / blockAlign * framesPerBlock;
  }
  return f;
}

}  // namespace tovani::sound::test
