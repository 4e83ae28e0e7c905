#pragma once
// Outcome codes of an exchange, and the constants of the protocol.
#include <cstdint>

enum ExchangeStatus : unsigned {
  StatusConfigured = 10,
  StatusSocketsUnavailable = 20,
  StatusSettingsRejected = 30,
  StatusBadDns = 31,
  StatusBadGateway = 32,
  StatusBadLicence = 33,
  StatusFirewallBlocked = 34,
  StatusTimedOut = 35,
  StatusAuthFailed = 36,
};

inline constexpr std::uint16_t CONFIG_PORT = 9999;
inline constexpr unsigned WM_APP_BASE = 0x8000;  // WM_APP
inline constexpr unsigned WM_EXCHANGE_STATUS = WM_APP_BASE + 100;
static_assert(WM_EXCHANGE_STATUS == 0x8064);

inline constexpr int REPLY_BUFFER_SIZE = 1024;
inline constexpr int ANSWER_WAIT_SECONDS = 10;
inline constexpr unsigned EXCHANGE_TIMER_ID = 1;
inline constexpr unsigned EXCHANGE_TIMEOUT_MS = 120000;
inline constexpr unsigned IDM_ABOUTBOX = 0x0010;
