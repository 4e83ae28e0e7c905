#pragma once
// What the user is told for each status code (UTF-8 texts).
#include <optional>

struct StatusMessage {
  const char* text;
  const char* caption;  // nullptr: the application's name
};

inline constexpr const char* STATUS_ERROR_CAPTION = "Erreur";

// Failure statuses only; StatusConfigured opens the success dialog and an
// unknown code shows nothing.
std::optional<StatusMessage> statusMessage(unsigned code);
