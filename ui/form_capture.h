#pragma once
// Writes an accepted form into the record, in the fixed order: box address,
// mask, gateway, DNS server, then the licence.
#include <array>
#include <cstdint>
#include <string>

#include "settings/box_settings.h"

using AddressFields = std::array<std::uint8_t, 4>;  // first field first; empty as 0

struct FormCapture {
  AddressFields boxIp, mask, gateway, dns;
  std::string licence1252;  // the edit box's text in Windows-1252
};

void captureForm(const FormCapture& form, BoxSettingsRecord& settings);

std::uint32_t addressValue(const AddressFields& fields);
