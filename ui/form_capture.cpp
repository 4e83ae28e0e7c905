#include "ui/form_capture.h"

#include "settings/dotted_quad.h"

std::uint32_t addressValue(const AddressFields& f) {
  return (std::uint32_t{f[0]} << 24) | (std::uint32_t{f[1]} << 16) | (std::uint32_t{f[2]} << 8) | f[3];
}

void captureForm(const FormCapture& form, BoxSettingsRecord& settings) {
  formatDottedQuad(addressValue(form.boxIp), settings.boxIp);
  formatDottedQuad(addressValue(form.mask), settings.mask);
  formatDottedQuad(addressValue(form.gateway), settings.gateway);
  formatDottedQuad(addressValue(form.dns), settings.dns);
  // A count of 50: 49 characters and the terminator. A NUL typed or pasted
  // ends the text there, as it would in the C string it becomes.
  const std::string licence = form.licence1252.substr(0, form.licence1252.find('\0'));
  std::size_t n = licence.size() < LICENCE_CAPTURE_MAX ? licence.size() : LICENCE_CAPTURE_MAX;
  for (std::size_t i = 0; i < n; ++i) settings.licence[i] = licence[i];
  settings.licence[n] = '\0';
}
