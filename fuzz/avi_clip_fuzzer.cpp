// The RIFF clip reader on any bytes: it refuses or hands out a sound clip,
// and never reads outside the bytes it was given.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "fuzz/fuzz_check.h"
#include "res/avi_clip.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string error;
  const auto clip = readAviClip(std::span<const std::uint8_t>(data, size), &error);
  if (!clip) {
    FUZZ_CHECK(!error.empty());
    return 0;
  }
  FUZZ_CHECK(clip->width > 0 && clip->width <= 4096);
  FUZZ_CHECK(clip->height > 0 && clip->height <= 4096);
  FUZZ_CHECK(clip->microsecondsPerFrame > 0);
  FUZZ_CHECK(!clip->frames.empty());
  for (const auto& frame : clip->frames)
    FUZZ_CHECK(frame.size() == static_cast<std::size_t>(clip->width) * static_cast<std::size_t>(clip->height));
  return 0;
}
