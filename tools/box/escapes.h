#pragma once
// The byte notation of nestiq-box: C escapes in option values, and the
// printable form of the bytes it receives.
#include <optional>
#include <string>

// Turns \n \r \t \0 \\ and \xNN (two hex digits) into their bytes. nullopt,
// with error set, for an unknown or unfinished escape.
std::optional<std::string> decodeEscapes(const std::string& text, std::string& error);

// Printable ASCII as it is, the backslash as \\, every other byte as \xNN.
std::string printableBytes(const std::string& bytes);
