#pragma once
// Reads a silent, uncompressed 16-bit AVI clip (the busy animation) into what
// an animation control needs: frame size, rate and the frames themselves.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

struct AviClip {
  int width = 0;
  int height = 0;
  std::uint32_t microsecondsPerFrame = 0;  // the time each frame is shown
  // Each frame is width * height pixels 0xAARRGGBB (alpha 0xFF), top row first.
  std::vector<std::vector<std::uint32_t>> frames;

  double framesPerSecond() const { return 1e6 / microsecondsPerFrame; }
};

// The clip in `bytes`, or nothing with the reason in *error (when given) if
// the bytes are not a well-formed clip of that kind. Never reads outside
// `bytes`; bytes after the end of the RIFF form are ignored.
std::optional<AviClip> readAviClip(std::span<const std::uint8_t> bytes,
                                   std::string* error = nullptr);

// One 16-bit frame pixel (5 bits each of red, green, blue) as 0xFFRRGGBB.
std::uint32_t rgb555ToArgb(std::uint16_t pixel);
