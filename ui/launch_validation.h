#pragma once
// The seven checks of a Launch, in their order.
#include <cstdint>
#include <optional>
#include <string>

#include "settings/box_settings.h"

struct AddressInputState {
  bool blank = true;          // all four fields empty
  std::uint32_t value = 0;    // empty fields as 0
};

struct LaunchForm {
  std::string licence;        // as saved from the edit box
  AddressInputState boxIp, mask, gateway, dns;
};

struct ValidationFailure {
  int rule;                   // 1 to 7
  const char* message;        // UTF-8, shown under "Erreur"
  int focusControl;           // control id that gets the focus
};

inline constexpr const char* VALIDATION_CAPTION = "Erreur";

std::optional<ValidationFailure> validateLaunchForm(const LaunchForm& form, const BoxSettingsRecord& settings);
