#pragma once
// The picture files, compiled into the program by embed_files.cmake.
#include <cstdint>
#include <span>

namespace embedded_art {
std::span<const std::uint8_t> icon128();
std::span<const std::uint8_t> clip129();
std::span<const std::uint8_t> bitmap135();
}  // namespace embedded_art
