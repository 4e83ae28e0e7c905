#pragma once
#include "exchange/exchange_status.h"

// Exact, case-sensitive match of the reply (up to its first zero byte)
// against the box's tokens; anything else is StatusSettingsRejected.
ExchangeStatus classifyReply(const char* reply);
