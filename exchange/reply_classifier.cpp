#include "exchange/reply_classifier.h"

#include <cstring>

namespace {
struct Token {
  const char* text;
  ExchangeStatus status;
};
constexpr Token kTokens[] = {
    {"CONFIG_OK", StatusConfigured},
    {"CONFIG_BAD_DNS", StatusBadDns},
    {"CONFIG_BAD_GATEWAY", StatusBadGateway},
    {"CONFIG_BAD_LICENCE", StatusBadLicence},
    {"CONFIG_BAD_FIREWALL", StatusFirewallBlocked},
    {"CONFIG_BAD_USER", StatusAuthFailed},
};
}  // namespace

ExchangeStatus classifyReply(const char* reply) {
  if (reply == nullptr) return StatusSettingsRejected;
  for (const Token& token : kTokens)
    if (std::strcmp(reply, token.text) == 0) return token.status;
  return StatusSettingsRejected;
}
