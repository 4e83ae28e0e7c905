#include "ui/dialog_logic.h"

#include "exchange/exchange_status.h"
#include "settings/dotted_quad.h"

PrefillValues prefillValues(const BoxSettingsRecord& s) {
  const std::uint32_t host = parseDottedQuad(s.hostIp);
  const std::uint32_t mask = parseDottedQuad(s.mask);
  return {host & mask, mask, parseDottedQuad(s.gateway), parseDottedQuad(s.dns)};
}

bool isAboutCommand(unsigned commandId) { return (commandId & 0xFFF0u) == IDM_ABOUTBOX; }

IconPosition minimisedIconPosition(int w, int h, int cx, int cy) {
  return {(w - cx + 1) / 2, (h - cy + 1) / 2};
}
