// classifyReply on whatever one receive can bring, in the worker's buffer.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include "exchange/exchange_status.h"
#include "exchange/reply_classifier.h"
#include "fuzz/fuzz_check.h"

namespace {
struct Token {
  const char* text;
  ExchangeStatus status;
};
constexpr Token kTokens[] = {{"CONFIG_OK", StatusConfigured},          {"CONFIG_BAD_DNS", StatusBadDns},
                             {"CONFIG_BAD_GATEWAY", StatusBadGateway}, {"CONFIG_BAD_LICENCE", StatusBadLicence},
                             {"CONFIG_BAD_FIREWALL", StatusFirewallBlocked}, {"CONFIG_BAD_USER", StatusAuthFailed}};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // As the worker holds it: at most 1023 bytes and a zero byte after them,
  // in a buffer of exactly 1024 bytes.
  const std::size_t received = size < REPLY_BUFFER_SIZE - 1 ? size : REPLY_BUFFER_SIZE - 1;
  auto buffer = std::make_unique<char[]>(REPLY_BUFFER_SIZE);
  std::memcpy(buffer.get(), data, received);
  buffer[received] = '\0';

  const ExchangeStatus status = classifyReply(buffer.get());
  ExchangeStatus expected = StatusSettingsRejected;
  for (const Token& t : kTokens)
    if (std::strcmp(buffer.get(), t.text) == 0) expected = t.status;
  FUZZ_CHECK(status == expected);
  return 0;
}
