#pragma once
// Dotted-quad text <-> 32-bit address value (first number in the top byte,
// host order, the layout of the address inputs).
#include <cstdint>

// Texts longer than 15 characters are read up to their 15th character only:
// the working copy is 16 bytes and is never written past.
std::uint32_t parseDottedQuad(const char* text);

// Writes "%i.%i.%i.%i" of the four bytes, top byte first, into a 20-byte field.
void formatDottedQuad(std::uint32_t value, char (&field)[20]);
